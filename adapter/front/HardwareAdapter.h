// The adapter of a process whose TARVISH_I2C_BUS is set: the front over the
// hardware backend of this build, or, in a build without one, over a backend
// whose open fails and says why. Built once and kept for the life of the
// process. The build files choose the definition.
#pragma once

#include <string>

#include "Adapter.h"
#include "FrontKnobs.h"
#include "Trace.h"

namespace tarvish {

// The variables that choose and address the bus.
inline constexpr const char* kBusVariable = "TARVISH_I2C_BUS";
inline constexpr const char* kAddressVariable = "TARVISH_I2C_ADDRESS";

// Receives each problem met on the way, for one line on standard error.
using ProblemReport = void (*)(const std::string& problem);

Adapter& hardwareAdapter(const FrontKnobs& front, Trace trace, ProblemReport report);

}  // namespace tarvish
