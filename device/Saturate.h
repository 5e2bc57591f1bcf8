// Float-to-raw conversions that never wrap: a value beyond a raw field's
// range becomes the nearest value the field holds.
#pragma once

#include <cstdint>

namespace orvex {

// Truncates toward zero into 0..65535; zero, negative and NaN give 0.
constexpr std::uint16_t saturateU16(double v) {
  if (!(v > 0.0)) return 0;
  if (v >= 65535.0) return 65535;
  return static_cast<std::uint16_t>(v);
}

// Truncates toward zero into -32768..32767; NaN gives 0.
constexpr std::int16_t saturateS16(double v) {
  if (v != v) return 0;
  if (v >= 32767.0) return 32767;
  if (v <= -32768.0) return -32768;
  return static_cast<std::int16_t>(v);
}

}  // namespace orvex
