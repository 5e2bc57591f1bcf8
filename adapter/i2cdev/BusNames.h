// Finding a bus by its adapter's name, as /sys/class/i2c-dev/*/name lists
// it, and the device path of a bus number.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "DeviceSystem.h"

namespace tarvish::i2cdev {

// "/dev/i2c-N".
std::string busPath(unsigned number);

// The path of the one bus whose adapter is named exactly name; "" with
// problem saying that none or several are.
std::string busNamed(std::span<const BusEntry> buses, std::string_view name, std::string& problem);

}  // namespace tarvish::i2cdev
