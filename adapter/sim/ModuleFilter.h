// The module's own filter arithmetic: the Alpha it derives when a Beta is
// set, and the time constant of the amplitude filter (FLT).
#pragma once

#include <cstdint>

namespace tarvish::sim {

// Alpha for damping sqrt(3)/2 at this Beta, rounded, within 0..65535.
std::uint16_t alphaForBeta(std::uint8_t beta);

// Time constant in seconds of the FLT filter with this Alpha and Beta:
// 1 / (2 pi f) with f = 2000 / (2 pi) / sqrt(2^Beta - Alpha/2 - 1). A pair
// without a positive radicand follows at once (0 s); at most kMaxTimeConstant.
double fltTimeConstant(std::uint16_t alpha, std::uint8_t beta);

inline constexpr double kMaxTimeConstant = 60.0;

}  // namespace tarvish::sim
