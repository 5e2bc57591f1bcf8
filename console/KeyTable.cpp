#include "KeyTable.h"

#include <array>

#include "commands/Commands.h"

namespace orvex::console {

namespace {

constexpr std::array kKeys = {
    KeyBinding{'Q', Case::Either, scanBus, "scan the ZPB bus for the module"},
    KeyBinding{'o', Case::Exact, getSlot, "get the ZPB slot number"},
    KeyBinding{'O', Case::Exact, setSlot, "set the ZPB slot number"},
    KeyBinding{'D', Case::Either, getFirmwareDate, "get the firmware date"},
    KeyBinding{'V', Case::Either, getFirmwareVersion, "get the firmware version"},
    KeyBinding{'P', Case::Either, getProductId, "get the product identification"},
    KeyBinding{'N', Case::Either, getProductNumber, "get the product number"},
    KeyBinding{'u', Case::Exact, showUptime, "get the uptime once"},
    KeyBinding{'U', Case::Exact, showUptime, "show the uptime continuously until Esc"},
    KeyBinding{'K', Case::Either, getHousekeeping, "get the housekeeping data"},
    KeyBinding{'C', Case::Either, getClocks, "get the clock frequencies"},
    KeyBinding{'a', Case::Exact, readChannelSetting, "get the channel amplification"},
    KeyBinding{'A', Case::Exact, setChannelSetting, "set the channel amplification"},
    KeyBinding{'s', Case::Exact, readChannelSetting, "get the channel polarity"},
    KeyBinding{'S', Case::Exact, setChannelSetting, "set the channel polarity"},
    KeyBinding{'t', Case::Exact, readChannelSetting, "get the channel offset"},
    KeyBinding{'T', Case::Exact, setChannelSetting, "set the channel offset"},
    KeyBinding{'r', Case::Exact, readChannelSetting, "get the offset range"},
    KeyBinding{'R', Case::Exact, setChannelSetting, "set the offset range"},
    KeyBinding{'g', Case::Exact, readChannelSetting, "get the desired channel amplitude"},
    KeyBinding{'G', Case::Exact, setChannelSetting, "set the desired channel amplitude"},
    KeyBinding{'e', Case::Exact, readChannelSetting, "get the operation mode"},
    KeyBinding{'E', Case::Exact, setChannelSetting, "set the operation mode"},
    KeyBinding{'l', Case::Exact, showFilter, "get the LPF frequency"},
    KeyBinding{'L', Case::Exact, setFilter, "set the LPF Beta"},
    KeyBinding{'h', Case::Exact, showFilter, "get the HPF frequency"},
    KeyBinding{'H', Case::Exact, setFilter, "set the HPF Tau"},
    KeyBinding{'f', Case::Exact, showFilter, "get the amplitude LPF frequency"},
    KeyBinding{'F', Case::Exact, setFilter, "set the amplitude LPF Beta"},
    KeyBinding{'m', Case::Exact, showMeasuredAmplitude, "get the measured amplitude once"},
    KeyBinding{'M', Case::Exact, showMeasuredAmplitude,
               "show the measured amplitude continuously until Esc"},
};

// Upper case for letters; every other code, extended keys included, as is.
int upper(int key) { return key >= 'a' && key <= 'z' ? key - 'a' + 'A' : key; }

}  // namespace

std::span<const KeyBinding> keyTable() { return kKeys; }

const KeyBinding* findCommand(int key) {
  if (key < 0 || (key & kExtendedKey) != 0) return nullptr;
  for (const KeyBinding& binding : kKeys) {
    const int compared = binding.match == Case::Either ? upper(key) : key;
    if (compared == binding.key) return &binding;
  }
  return nullptr;
}

}  // namespace orvex::console
