#include "CommandLine.h"

#include <cstdio>

namespace orvex::console {

namespace {

// The maker's notice line of the banner.
constexpr const char* kNotice = " Orvex module test tool, (c) 2026 the Orvex developers";

bool applySwitch(std::string_view arg, OutputModes& modes) {
  if (arg.size() != 2 || (arg[0] != '-' && arg[0] != '/')) return false;
  switch (arg[1]) {
    case 'D':
    case 'd':
      modes.debug = true;
      return true;
    case 'Q':
    case 'q':
      modes.quiet = true;
      return true;
    default:
      return false;
  }
}

}  // namespace

std::optional<OutputModes> parseCommandLine(int argc, const char* const* argv) {
  if (argc < 1) return std::nullopt;
  OutputModes modes;
  for (int i = 1; i < argc; ++i) {
    if (!applySwitch(argv[i], modes)) return std::nullopt;
  }
  if (modes.debug) modes.quiet = false;
  return modes;
}

std::string programName(std::string_view path) {
  const auto separator = path.find_last_of("\\/");
  const auto start = separator == std::string_view::npos ? 0 : separator + 1;
  const auto dot = path.find('.', start);
  return std::string(path.substr(start, dot == std::string_view::npos ? dot : dot - start));
}

void printUsage(std::string_view name) {
  const int width = static_cast<int>(name.size());
  std::printf("%.*s ver. 1.20, compilation date: %s\n", width, name.data(), __DATE__);
  std::printf("%s\n\nUsage: ", kNotice);
  std::printf(
      "%.*s LPT-Number [Switches]\n  Switch: { -option, /option }\n"
      "    options: Q, q: quiet mode          D, d: debug mode\n",
      width, name.data());
}

}  // namespace orvex::console
