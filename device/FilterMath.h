// Filter physics: raw Alpha/Beta/Tau to frequency and damping and back.
#pragma once

#include <cstdint>

namespace orvex::filter {

// Rate constants: 100 kHz for LPF and HPF, 2 kHz for FLT, each over 2 pi.
inline constexpr double kLpfRate = 15915.494309189535;
inline constexpr double kFltRate = 318.3098861837907;

// 2^exponent, exact in double precision for every exponent 0..255.
double powerOfTwo(std::uint8_t exponent);

// R = 2^Beta - Alpha/2 - 1, exact in double precision.
double radicand(std::uint16_t alpha, std::uint8_t beta);

float frequency(double rate, std::uint16_t alpha, std::uint8_t beta);
float damping(std::uint16_t alpha, std::uint8_t beta);
// Writes both outputs, or neither when the radicand is not positive.
void parameters(double rate, std::uint16_t alpha, std::uint8_t beta, float* frequency,
                float* damping);
// The nearest Alpha for the wanted damping; 0 for negative or NaN, at most 65535.
std::uint16_t alphaFor(std::uint8_t beta, float damping);
float hpfFrequency(std::uint8_t tau);

}  // namespace orvex::filter
