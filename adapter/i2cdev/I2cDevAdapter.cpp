#include "I2cDevAdapter.h"

#include <string>
#include <vector>

#include "I2cDevBus.h"
#include "Selection.h"
#include "UnavailableBackend.h"

namespace tarvish::i2cdev {

namespace {

std::unique_ptr<Backend> busFor(const Lookup& lookup, DeviceSystem& system, const Trace& trace,
                                const Report& report) {
  std::vector<std::string> problems;
  if (std::optional<Selection> selection = readSelection(lookup, problems)) {
    return std::make_unique<I2cDevBus>(system, std::move(*selection), trace);
  }
  std::string why;
  for (const std::string& problem : problems) {
    report(problem + "; Tarvish_Open will fail");
    why += (why.empty() ? "" : "; ") + problem;
  }
  return std::make_unique<UnavailableBackend>(
      failure(kBadSelection, why, "No input/output attempted"));
}

}  // namespace

I2cDevAdapter::I2cDevAdapter(const FrontKnobs& front, Trace trace, const Lookup& lookup,
                             DeviceSystem& system, const Report& report)
    : bus_(busFor(lookup, system, trace, report)),
      adapter_(std::make_unique<Adapter>(*bus_, front.slot, front.version,
                                         FaultInjection(front.failures), std::move(trace))) {}

}  // namespace tarvish::i2cdev
