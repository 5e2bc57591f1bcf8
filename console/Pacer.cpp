#include "Pacer.h"

#include <algorithm>

namespace orvex::console {

void Pacer::pause(Clock& clock) {
  const std::int64_t aim = std::max<std::int64_t>(0, nominalUs_ - carriedUs_);
  const std::int64_t start = clock.nowUs();
  clock.sleepUs(aim);
  const std::int64_t took = clock.nowUs() - start;
  carriedUs_ = std::clamp(carriedUs_ + took - nominalUs_, -nominalUs_, nominalUs_);
}

}  // namespace orvex::console
