// The simulator's settings from environment variables, read once at load:
//   TARVISH_SLOT=N                 slot selected at load (0..255), default 0
//   TARVISH_MODULE_SLOT=N|none     slot of the module, default the selected slot
//   TARVISH_FAIL=RULE[,RULE...]    RULE = NAME[@N][=STATUS], injected failures
//   TARVISH_VERSION=WORD           the word Tarvish_Version reports
//   TARVISH_TRACE=stderr|PATH      call trace
//   TARVISH_REPLY=CODE=HEX[,...]   fixed answers for query codes
//   TARVISH_STATE=PATH             file that keeps the module's settings
// Numbers are decimal or 0x hexadecimal. An empty variable counts as unset.
// A malformed variable is reported once and ignored as a whole.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "FaultInjection.h"
#include "ModuleModel.h"

namespace tarvish::sim {

inline constexpr std::uint16_t kLibraryVersion = 0x0100;

struct Knobs {
  std::uint8_t slot = 0;
  bool noModule = false;
  std::optional<std::uint8_t> moduleSlot;  // unset: the slot selected at load
  std::vector<FailRule> failures;
  std::uint16_t version = kLibraryVersion;
  std::string trace;  // empty: no trace
  Replies replies;
  std::string statePath;  // empty: settings are not kept

  bool operator==(const Knobs&) const = default;

  // The slot the module sits in; none for an empty bus.
  std::optional<std::uint8_t> module() const {
    if (noModule) return std::nullopt;
    return moduleSlot.value_or(slot);
  }
};

// The value of an environment variable, or null when it is not set.
using Lookup = std::function<const char*(const char* name)>;

// Reads every knob through lookup. Each malformed variable adds one line to
// problems, naming the variable and what is wrong with it.
Knobs readKnobs(const Lookup& lookup, std::vector<std::string>& problems);

}  // namespace tarvish::sim
