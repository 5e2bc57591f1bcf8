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
  if (!(d > 0)) return 0;  // zero, negative and NaN dampings
  const double p = powerOfTwo(beta) - 1;
  // 4 d (sqrt(p + d^2) - d), written as 4 d p / (sqrt(p + d^2) + d) so that a
  // large damping does not cancel away; an infinite one gives the limit 2 p.
  const double alpha = std::isinf(d) ? 2 * p : 4 * d * p / (std::sqrt(p + d * d) + d);
  return saturateU16(alpha + 0.5);
}

float hpfFrequency(std::uint8_t tau) { return static_cast<float>(kLpfRate / powerOfTwo(tau)); }

}  // namespace orvex::filter
