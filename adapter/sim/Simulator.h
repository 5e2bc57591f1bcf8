// One simulated adapter with everything behind it, put together from the
// knobs: the module (with its fixed replies and kept settings), the bus with
// the module in its slot, and the adapter front with its trace and injected
// failures.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "Adapter.h"
#include "Knobs.h"
#include "Module.h"
#include "SimulatedBus.h"

namespace tarvish::sim {

class Clock;

class Simulator {
 public:
  // report receives each problem met on the way, naming its variable.
  using Report = std::function<void(const std::string& problem)>;

  Simulator(const Knobs& knobs, const Clock& clock, const Report& report);

  Adapter& adapter() { return adapter_; }
  Module& module() { return module_; }

 private:
  Module module_;
  SimulatedBus bus_;
  Adapter adapter_;
};

}  // namespace tarvish::sim
