// The one adapter of the process, put together from the environment the
// first time it is asked for, which is when the library loads: the front
// with its knobs, and behind it the backend TARVISH_I2C_BUS chooses (the
// simulated module when it is not set, the i2c-dev bus when it is).
#pragma once

#include "Adapter.h"

namespace tarvish {

Adapter& processAdapter();

}  // namespace tarvish
