#include "Simulator.h"

#include "StateFile.h"

namespace tarvish::sim {

namespace {

// Restores the kept settings and keeps every later setting in the file.
void keepSettings(Module& module, const std::string& path, const Simulator::Report& report) {
  if (path.empty()) return;
  std::string problem;
  if (std::optional<Settings> stored = loadState(path, problem)) module.restore(*stored);
  if (!problem.empty()) report("TARVISH_STATE: " + problem + "; starting from power-on settings");
  auto reported = std::make_shared<bool>(false);
  module.onSettingsChanged([path, report, reported](const Settings& settings) {
    const std::string failed = saveState(path, settings);
    if (!failed.empty() && !*reported) {
      *reported = true;
      report("TARVISH_STATE: " + failed + "; settings are not kept");
    }
  });
}

}  // namespace

Simulator::Simulator(const Knobs& knobs, const Clock& clock, const Report& report,
                     const FrontKnobs& front, Trace trace)
    : module_(clock, knobs.replies, kNoiseSeed),
      bus_(knobs.module(front.slot) ? &module_ : nullptr, knobs.module(front.slot).value_or(0)),
      adapter_(bus_, front.slot, front.version, FaultInjection(front.failures), std::move(trace)) {
  keepSettings(module_, knobs.statePath, report);
}

}  // namespace tarvish::sim
