// Time since the module powered on, from a monotonic clock.
#pragma once

#include <chrono>

namespace tarvish::sim {

class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds since power-on; never decreases.
  virtual double seconds() const = 0;
};

// The steady clock of the computer; power-on is the moment of construction.
class SteadyClock final : public Clock {
 public:
  SteadyClock();
  double seconds() const override;

 private:
  std::chrono::steady_clock::time_point start_;
};

}  // namespace tarvish::sim
