// The knobs of the adapter front, whatever backend carries the transfers,
// read once at load from environment variables:
//   TARVISH_SLOT=N                 slot selected at load (0..255), default 0
//   TARVISH_FAIL=RULE[,RULE...]    RULE = NAME[@N][=STATUS], injected failures
//   TARVISH_VERSION=WORD           the word Tarvish_Version reports
//   TARVISH_TRACE=stderr|PATH      call trace
// Numbers are decimal or 0x hexadecimal. An empty variable counts as unset.
// A malformed variable is reported once and ignored as a whole.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "FaultInjection.h"
#include "KnobSyntax.h"
#include "Trace.h"

namespace tarvish {

inline constexpr std::uint16_t kLibraryVersion = 0x0100;

struct FrontKnobs {
  std::uint8_t slot = 0;
  std::vector<FailRule> failures;
  std::uint16_t version = kLibraryVersion;
  std::string trace;  // empty: no trace

  bool operator==(const FrontKnobs&) const = default;
};

// Reads the front's knobs through lookup; each malformed variable adds one
// line to problems, naming the variable and what is wrong with it.
FrontKnobs readFrontKnobs(const Lookup& lookup, std::vector<std::string>& problems);

// The trace the knobs ask for; a trace file that cannot be opened is
// reported and leaves the trace off.
using Report = std::function<void(const std::string& problem)>;
Trace traceFor(const FrontKnobs& knobs, const Report& report);

}  // namespace tarvish
