#include "KeyTable.h"

#include <array>

#include "commands/Commands.h"

namespace orvex::console {

namespace {

constexpr std::array kKeys = {
    KeyBinding{'Q', Case::Either, scanBus},
    KeyBinding{'o', Case::Exact, getSlot},
    KeyBinding{'O', Case::Exact, setSlot},
    KeyBinding{'D', Case::Either, getFirmwareDate},
    KeyBinding{'V', Case::Either, getFirmwareVersion},
    KeyBinding{'P', Case::Either, getProductId},
    KeyBinding{'N', Case::Either, getProductNumber},
    KeyBinding{'u', Case::Exact, showUptime},
    KeyBinding{'U', Case::Exact, showUptime},
    KeyBinding{'K', Case::Either, getHousekeeping},
    KeyBinding{'C', Case::Either, getClocks},
    KeyBinding{'a', Case::Exact, readChannelSetting},
    KeyBinding{'A', Case::Exact, setChannelSetting},
    KeyBinding{'s', Case::Exact, readChannelSetting},
    KeyBinding{'S', Case::Exact, setChannelSetting},
    KeyBinding{'t', Case::Exact, readChannelSetting},
    KeyBinding{'T', Case::Exact, setChannelSetting},
    KeyBinding{'r', Case::Exact, readChannelSetting},
    KeyBinding{'R', Case::Exact, setChannelSetting},
    KeyBinding{'g', Case::Exact, readChannelSetting},
    KeyBinding{'G', Case::Exact, setChannelSetting},
    KeyBinding{'e', Case::Exact, readChannelSetting},
    KeyBinding{'E', Case::Exact, setChannelSetting},
    KeyBinding{'l', Case::Exact, showFilter},
    KeyBinding{'L', Case::Exact, setFilter},
    KeyBinding{'h', Case::Exact, showFilter},
    KeyBinding{'H', Case::Exact, setFilter},
    KeyBinding{'f', Case::Exact, showFilter},
    KeyBinding{'F', Case::Exact, setFilter},
    KeyBinding{'m', Case::Exact, showMeasuredAmplitude},
    KeyBinding{'M', Case::Exact, showMeasuredAmplitude},
};

// Upper case for letters; every other code, extended keys included, as is.
int upper(int key) { return key >= 'a' && key <= 'z' ? key - 'a' + 'A' : key; }

}  // namespace

const KeyBinding* findCommand(int key) {
  if (key < 0 || (key & kExtendedKey) != 0) return nullptr;
  for (const KeyBinding& binding : kKeys) {
    const int compared = binding.match == Case::Either ? upper(key) : key;
    if (compared == binding.key) return &binding;
  }
  return nullptr;
}

}  // namespace orvex::console
