#include "ProcessAdapter.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Clock.h"
#include "FrontKnobs.h"
#include "HardwareAdapter.h"
#include "Simulator.h"

namespace tarvish {

namespace {

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

Adapter& compose() {
  std::vector<std::string> problems;
  const FrontKnobs front = readFrontKnobs(environment, problems);
  for (const std::string& problem : problems) report(problem);
  Trace trace = traceFor(front, report);
  // Choosing the bus: unset, the simulated module; set, real hardware.
  if (environment(kBusVariable) != nullptr) return hardwareAdapter(front, std::move(trace), report);
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
