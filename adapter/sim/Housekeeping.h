// The module's view of itself: supply voltages and temperature with a slow
// drift, and the uptime, all as the raw values it answers.
#pragma once

#include <array>
#include <cstdint>

namespace tarvish::sim {

class Noise;

// Millivolts near 5000 and 3300.
std::uint16_t supply5V(double seconds, Noise& noise);
std::uint16_t supply3V(double seconds, Noise& noise);

// Hundredths of a kelvin: 299.00 K at power-on, warming towards 300.50 K.
std::uint16_t temperature(double seconds, Noise& noise);

// Whole seconds (32 bits, wrapping), then the fraction in 1/1024 s.
std::array<std::uint8_t, 6> uptimeBytes(double seconds);

}  // namespace tarvish::sim
