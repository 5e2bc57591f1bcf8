// Measurement noise: a seeded pseudo-random sequence, the same on every run.
#pragma once

#include <cstdint>
#include <random>

namespace tarvish::sim {

class Noise {
 public:
  explicit Noise(std::uint32_t seed) : engine_(seed) {}

  // A whole number in -spread..spread.
  int next(int spread) {
    const auto width = static_cast<std::uint32_t>(2 * spread + 1);
    return static_cast<int>(engine_() % width) - spread;
  }

 private:
  std::mt19937 engine_;
};

}  // namespace tarvish::sim
