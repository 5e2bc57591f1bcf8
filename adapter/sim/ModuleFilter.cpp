#include "ModuleFilter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tarvish::sim {

std::uint16_t alphaForBeta(std::uint8_t beta) {
  const double d = static_cast<float>(std::sqrt(3.0) * 0.5);
  const double c = std::ldexp(1.0, beta) + d * d - 1;
  if (!(c > 0)) return 0;
  const double alpha = std::trunc(4 * d * (std::sqrt(c) - d) + 0.5);
  return static_cast<std::uint16_t>(std::clamp(alpha, 0.0, 65535.0));
}

double fltTimeConstant(std::uint16_t alpha, std::uint8_t beta) {
  const double radicand = std::ldexp(1.0, beta) - alpha / 2.0 - 1;
  if (!(radicand > 0)) return 0;
  const double frequency = 2000 / (2 * std::numbers::pi) / std::sqrt(radicand);
  return std::min(1 / (2 * std::numbers::pi * frequency), kMaxTimeConstant);
}

}  // namespace tarvish::sim
