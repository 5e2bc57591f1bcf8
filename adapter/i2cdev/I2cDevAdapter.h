// One adapter on a real I2C bus, put together from the knobs: the i2c-dev
// bus the selection names, and the adapter front with the front's knobs and
// trace. A malformed selection is reported, and the bus is then one whose
// opening fails with that problem: never the simulated module instead.
#pragma once

#include <memory>

#include "Adapter.h"
#include "DeviceSystem.h"
#include "FrontKnobs.h"

namespace tarvish::i2cdev {

class I2cDevAdapter {
 public:
  I2cDevAdapter(const FrontKnobs& front, Trace trace, const Lookup& lookup, DeviceSystem& system,
                const Report& report);

  Adapter& adapter() { return *adapter_; }

 private:
  std::unique_ptr<Backend> bus_;
  std::unique_ptr<Adapter> adapter_;
};

}  // namespace tarvish::i2cdev
