#include "Clock.h"

namespace tarvish::sim {

SteadyClock::SteadyClock() : start_(std::chrono::steady_clock::now()) {}

double SteadyClock::seconds() const {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

}  // namespace tarvish::sim
