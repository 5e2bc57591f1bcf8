// The output amplitude of one channel, as the module's amplitude control
// loop moves it: with output off it is 0 at once; in amplitude control it
// approaches the desired amplitude, and at maximum damping it decays to 0,
// both with the time constant of the channel's FLT filter.
#pragma once

#include <cstdint>

namespace tarvish::sim {

// Operation modes.
inline constexpr std::uint8_t kOutputOff = 0;
inline constexpr std::uint8_t kMaximumDamping = 1;
inline constexpr std::uint8_t kAmplitudeControl = 2;

struct LoopSettings {
  std::uint8_t mode;         // any other value than 1 or 2 keeps the output off
  double desiredMillivolts;  // target in amplitude control
  double timeConstant;       // seconds; 0 follows at once
};

class AmplitudeLoop {
 public:
  // Moves the amplitude from the last call's time to now under the settings
  // that held in between.
  void advance(double now, const LoopSettings& settings);
  double millivolts() const { return level_; }

 private:
  double level_ = 0;
  double time_ = 0;
};

}  // namespace tarvish::sim
