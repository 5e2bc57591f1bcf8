#include "OperMode.h"

#include <cstdio>

namespace orvex::console {

namespace {

struct ModeName {
  const char* plain;
  const char* padded;
};

constexpr ModeName kModes[kOperModeCount] = {
    {"output off", "output off       "},
    {"maximum damping", "maximum damping  "},
    {"amplitude control", "amplitude control"},
};
constexpr ModeName kInvalid = {"invalid mode", "invalid mode     "};

}  // namespace

void PrintOperMode(int mode, bool padded) {
  const ModeName& name = static_cast<unsigned>(mode) < kOperModeCount ? kModes[mode] : kInvalid;
  std::printf("%s", padded ? name.padded : name.plain);
}

}  // namespace orvex::console
