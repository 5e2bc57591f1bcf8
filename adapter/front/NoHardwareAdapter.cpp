// A build without a hardware backend: a selected bus cannot be reached, and
// the simulated module is not used in its place.
#include "HardwareAdapter.h"
#include "UnavailableBackend.h"

namespace tarvish {

Adapter& hardwareAdapter(const FrontKnobs& front, Trace trace, ProblemReport report) {
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

}  // namespace tarvish
