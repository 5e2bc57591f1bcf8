// The hardware backend of this build: the i2c-dev bus TARVISH_I2C_BUS names.
#include "HardwareAdapter.h"

#include <cstdlib>

#include "I2cDevAdapter.h"
#include "SystemDevices.h"

namespace tarvish {

Adapter& hardwareAdapter(const FrontKnobs& front, Trace trace, ProblemReport report) {
  static i2cdev::I2cDevAdapter* const composed = new i2cdev::I2cDevAdapter(
      front, std::move(trace), [](const char* name) { return std::getenv(name); },
      i2cdev::systemDevices(), report);
  return composed->adapter();
}

}  // namespace tarvish
