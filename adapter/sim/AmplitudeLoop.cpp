#include "AmplitudeLoop.h"

#include <cmath>

namespace tarvish::sim {

void AmplitudeLoop::advance(double now, const LoopSettings& settings) {
  const double elapsed = now > time_ ? now - time_ : 0;
  time_ = now;
  double target = 0;
  if (settings.mode == kAmplitudeControl) {
    target = settings.desiredMillivolts;
  } else if (settings.mode != kMaximumDamping) {
    level_ = 0;
    return;
  }
  const double keep = settings.timeConstant > 0 ? std::exp(-elapsed / settings.timeConstant) : 0;
  level_ = target + (level_ - target) * keep;
}

}  // namespace tarvish::sim
