#include "Simulator.h"

#include "StateFile.h"

namespace tarvish::sim {

namespace {

// Seed of the measurement noise: every run measures the same sequence.
constexpr std::uint32_t kNoiseSeed = 0x4F52;

Trace traceFor(const Knobs& knobs, const Simulator::Report& report) {
  if (knobs.trace.empty()) return Trace();
  std::string problem;
  Trace trace = openTrace(knobs.trace, problem);
  if (!problem.empty()) report("TARVISH_TRACE: " + problem + "; not tracing");
  return trace;
}

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

Simulator::Simulator(const Knobs& knobs, const Clock& clock, const Report& report)
    : module_(clock, knobs.replies, kNoiseSeed),
      bus_(knobs.module() ? &module_ : nullptr, knobs.module().value_or(0)),
      adapter_(bus_, knobs.slot, knobs.version, FaultInjection(knobs.failures),
               traceFor(knobs, report)) {
  keepSettings(module_, knobs.statePath, report);
}

}  // namespace tarvish::sim
