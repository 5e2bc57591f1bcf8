// The pause of a continuous display. The system wakes a sleeper late, and
// by a varying amount; each pause therefore aims at its nominal length less
// the lateness carried over from the pauses before, so that the pauses last
// their nominal length on average. The carried lateness is bounded by one
// nominal pause: a single long stall is not paid back for seconds.
#pragma once

#include <cstdint>

#include "terminal/Clock.h"

namespace orvex::console {

class Pacer {
 public:
  explicit Pacer(std::int64_t nominalUs) : nominalUs_(nominalUs) {}

  // One pause on clock.
  void pause(Clock& clock);

  // How much the pauses so far lasted longer than nominal, within the bound.
  std::int64_t carriedUs() const { return carriedUs_; }

 private:
  std::int64_t nominalUs_;
  std::int64_t carriedUs_ = 0;
};

}  // namespace orvex::console
