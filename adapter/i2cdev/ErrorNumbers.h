// What the kernel's error numbers mean to the adapter: the status and the
// words of each, as a table the backend looks up. Transfers and opening the
// bus have tables of their own, as the same number means different things
// there (ENXIO: no acknowledge on the bus, no such device at open).
#pragma once

#include <cstdint>
#include <string>

namespace tarvish::i2cdev {

struct ErrorMeaning {
  int number;           // positive errno value
  std::int32_t status;  // the adapter's status for it
  const char* what;     // the start of the error text
};

// A failed I2C_RDWR. Numbers not listed are other input/output errors.
const ErrorMeaning& transferError(int number);

// A failed open of the device. Numbers not listed are other input/output
// errors.
const ErrorMeaning& openError(int number);

// A failed I2C_FUNCS on an open device.
const ErrorMeaning& functionsError(int number);

// "ENXIO (No such device or address)", the symbol when known and the
// system's own text.
std::string describeErrno(int number);

}  // namespace tarvish::i2cdev
