// The system's i2c-dev devices that the adapter library reaches. The library
// is linked with exactly one definition: the real one in the shipped
// library, a fake device in the test build.
#pragma once

#include "DeviceSystem.h"

namespace tarvish::i2cdev {

DeviceSystem& systemDevices();

}  // namespace tarvish::i2cdev
