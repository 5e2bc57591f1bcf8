// The simulated module's own settings from environment variables, read once
// at load (the front's knobs, TARVISH_SLOT among them, are read by the front):
//   TARVISH_MODULE_SLOT=N|none     slot of the module, default the selected slot
//   TARVISH_REPLY=CODE=HEX[,...]   fixed answers for query codes
//   TARVISH_STATE=PATH             file that keeps the module's settings
// Numbers are decimal or 0x hexadecimal. An empty variable counts as unset.
// A malformed variable is reported once and ignored as a whole.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "KnobSyntax.h"
#include "ModuleModel.h"

namespace tarvish::sim {

struct Knobs {
  bool noModule = false;
  std::optional<std::uint8_t> moduleSlot;  // unset: the slot selected at load
  Replies replies;
  std::string statePath;  // empty: settings are not kept

  bool operator==(const Knobs&) const = default;

  // The slot the module sits in, given the slot selected at load; none for
  // an empty bus.
  std::optional<std::uint8_t> module(std::uint8_t selectedSlot) const {
    if (noModule) return std::nullopt;
    return moduleSlot.value_or(selectedSlot);
  }
};

// Reads the simulator's knobs through lookup. Each malformed variable adds
// one line to problems, naming the variable and what is wrong with it.
Knobs readKnobs(const Lookup& lookup, std::vector<std::string>& problems);

}  // namespace tarvish::sim
