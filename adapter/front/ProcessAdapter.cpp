#include "ProcessAdapter.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Clock.h"
#include "FrontKnobs.h"
#include "Simulator.h"
#include "UnavailableBackend.h"
#if TARVISH_WITH_I2CDEV
#include "I2cDevAdapter.h"
#include "SystemDevices.h"
#endif

namespace tarvish {

namespace {

// Choosing the bus: unset, the simulated module; set, real hardware.
constexpr const char* kBusVariable = "TARVISH_I2C_BUS";
constexpr const char* kAddressVariable = "TARVISH_I2C_ADDRESS";

void report(const std::string& problem) {
  const std::string line = "Tarvish: " + problem + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
}

const char* environment(const char* name) { return std::getenv(name); }

// Everything below is built once and kept for the life of the process, so
// that no call made while the program exits finds it gone.

Adapter& simulated(const FrontKnobs& front, Trace trace) {
  static const sim::SteadyClock clock;  // the module powers on now
  std::vector<std::string> problems;
  const sim::Knobs knobs = sim::readKnobs(environment, problems);
  for (const std::string& problem : problems) report(problem);
  return (new sim::Simulator(knobs, clock, report, front, std::move(trace)))->adapter();
}

#if TARVISH_WITH_I2CDEV
Adapter& hardware(const FrontKnobs& front, Trace trace) {
  static i2cdev::I2cDevAdapter* const composed = new i2cdev::I2cDevAdapter(
      front, std::move(trace), environment, i2cdev::systemDevices(), report);
  return composed->adapter();
}
#else
Adapter& hardware(const FrontKnobs& front, Trace trace) {
  const std::string why = std::string(kBusVariable) +
                          " is set, but this build of the adapter library has no i2c-dev "
                          "backend; the simulated module is not used in its place";
  report(why + "; Tarvish_Open will fail");
  static UnavailableBackend* const backend =
      new UnavailableBackend(failure(kBadSelection, why, "No input/output attempted"));
  static Adapter* const adapter = new Adapter(*backend, front.slot, front.version,
                                              FaultInjection(front.failures), std::move(trace));
  return *adapter;
}
#endif

Adapter& compose() {
  std::vector<std::string> problems;
  const FrontKnobs front = readFrontKnobs(environment, problems);
  for (const std::string& problem : problems) report(problem);
  Trace trace = traceFor(front, report);
  if (environment(kBusVariable) != nullptr) return hardware(front, std::move(trace));
  if (const char* address = environment(kAddressVariable); address != nullptr && *address != 0) {
    report(std::string(kAddressVariable) + ": ignored, " + kBusVariable +
           " is not set and the simulated module is used");
  }
  return simulated(front, std::move(trace));
}

}  // namespace

Adapter& processAdapter() {
  static Adapter& adapter = compose();
  return adapter;
}

}  // namespace tarvish
