// Time as the console needs it: a monotonic microsecond count and a sleep.
// The terminal of each platform is one; tests put a clock of their own.
#pragma once

#include <cstdint>

namespace orvex::console {

class Clock {
 public:
  virtual ~Clock() = default;

  // Microseconds from a fixed origin; never goes back.
  virtual std::int64_t nowUs() = 0;
  // Suspends the program for about us microseconds (nothing for 0 or less).
  // The system may wake the program late, never early.
  virtual void sleepUs(std::int64_t us) = 0;
};

}  // namespace orvex::console
