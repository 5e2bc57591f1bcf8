// Conversions between the channel output settings in physical units and the
// module's raw values. Products and sums are formed in double precision;
// readings are rounded to float at the end.
#pragma once

#include <cstdint>

#include "Saturate.h"

namespace orvex::channel {

// Amplification, 1/256 per count; halves round up.
constexpr std::uint16_t amplificationToRaw(float a) {
  return a > 0 ? saturateU16(static_cast<double>(a) * 256 + 0.5) : 0;
}
constexpr float amplificationFromRaw(std::uint16_t raw) {
  return static_cast<float>(raw * 0.00390625);
}

// Offset, 32768 counts = 10 V; halves round away from zero.
constexpr std::int16_t offsetToRaw(float x) {
  const double v = static_cast<double>(x) * 3276.8;
  return saturateS16(x >= 0 ? v + 0.5 : v - 0.5);
}
constexpr float offsetFromRaw(std::int16_t raw) {
  return static_cast<float>(raw * 0.00030517578125);
}

// Offset range, 0.01 V per count, multiplied by 0.1 and then by 1000.
constexpr std::uint16_t offsetRangeToRaw(float r) {
  return r > 0 ? saturateU16(static_cast<double>(r) * 0.1 * 1000 + 0.5) : 0;
}
constexpr float offsetRangeFromRaw(std::int16_t raw) {
  return static_cast<float>(raw * 0.001 * 10);
}

// Desired and measured amplitude, 1 mV per count.
constexpr std::uint16_t amplitudeToRaw(float v) {
  return v > 0 ? saturateU16(static_cast<double>(v) * 1000 + 0.5) : 0;
}
constexpr float amplitudeFromRaw(std::uint16_t raw) { return static_cast<float>(raw * 0.001); }

}  // namespace orvex::channel
