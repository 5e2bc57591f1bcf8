#include "Housekeeping.h"

#include <cmath>
#include <numbers>

#include "../../device/Codec.h"
#include "Noise.h"

namespace tarvish::sim {

namespace {

// A slow sine drift of the given amplitude and period around a nominal value.
std::uint16_t drifting(double nominal, double amplitude, double period, double seconds, int noise) {
  const double drift = amplitude * std::sin(2 * std::numbers::pi * seconds / period);
  return static_cast<std::uint16_t>(std::lround(nominal + drift) + noise);
}

}  // namespace

std::uint16_t supply5V(double seconds, Noise& noise) {
  return drifting(5000, 6, 900, seconds, noise.next(2));
}

std::uint16_t supply3V(double seconds, Noise& noise) {
  return drifting(3300, 4, 700, seconds, noise.next(2));
}

std::uint16_t temperature(double seconds, Noise& noise) {
  const double warming = 150 * (1 - std::exp(-seconds / 600));
  return static_cast<std::uint16_t>(std::lround(29900 + warming) + noise.next(2));
}

std::array<std::uint8_t, 6> uptimeBytes(double seconds) {
  const double whole = std::floor(seconds);
  std::array<std::uint8_t, 6> bytes{};
  orvex::wire::writeU32(bytes.data(), static_cast<std::uint32_t>(std::fmod(whole, 4294967296.0)));
  orvex::wire::writeU16(bytes.data() + 4, static_cast<std::uint16_t>((seconds - whole) * 1024));
  return bytes;
}

}  // namespace tarvish::sim
