#include "FilterMath.h"

#include <cmath>

#include "Saturate.h"

namespace orvex::filter {

double powerOfTwo(std::uint8_t exponent) { return std::ldexp(1.0, exponent); }

double radicand(std::uint16_t alpha, std::uint8_t beta) {
  return powerOfTwo(beta) - alpha / 2.0 - 1.0;
}

float frequency(double rate, std::uint16_t alpha, std::uint8_t beta) {
  const double r = radicand(alpha, beta);
  return r > 0 ? static_cast<float>(rate / std::sqrt(r)) : 0.0f;
}

float damping(std::uint16_t alpha, std::uint8_t beta) {
  const double r = radicand(alpha, beta);
  return r > 0 ? static_cast<float>(alpha / (4 * std::sqrt(r))) : 0.0f;
}

void parameters(double rate, std::uint16_t alpha, std::uint8_t beta, float* frequency,
                float* damping) {
  const double r = radicand(alpha, beta);
  if (!(r > 0)) return;
  const double s = std::sqrt(r);
  *frequency = static_cast<float>(rate / s);
  *damping = static_cast<float>(alpha * 0.25 / s);
}

std::uint16_t alphaFor(std::uint8_t beta, float damping) {
  const double d = damping;
  const double c = powerOfTwo(beta) + d * d - 1;
  if (!(c > 0)) return 0;
  return saturateU16(4 * d * (std::sqrt(c) - d) + 0.5);
}

float hpfFrequency(std::uint8_t tau) { return static_cast<float>(kLpfRate / powerOfTwo(tau)); }

}  // namespace orvex::filter
