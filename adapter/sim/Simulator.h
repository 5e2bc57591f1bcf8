// One simulated adapter with everything behind it, put together from the
// knobs: the module (with its fixed replies and kept settings), the bus with
// the module in its slot, and the adapter front with the front's knobs and
// trace.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "Adapter.h"
#include "FrontKnobs.h"
#include "Knobs.h"
#include "Module.h"
#include "SimulatedBus.h"

namespace tarvish::sim {

class Clock;

// Seed of the measurement noise: every run measures the same sequence.
inline constexpr std::uint32_t kNoiseSeed = 0x4F52;

class Simulator {
 public:
  // report receives each problem met on the way, naming its variable.
  using Report = tarvish::Report;

  Simulator(const Knobs& knobs, const Clock& clock, const Report& report,
            const FrontKnobs& front = {}, Trace trace = {});

  Adapter& adapter() { return adapter_; }
  Module& module() { return module_; }

 private:
  Module module_;
  SimulatedBus bus_;
  Adapter adapter_;
};

}  // namespace tarvish::sim
