// The display pause over a clock whose sleeps wake late by a given sequence.
#include "Pacer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace orvex::console {
namespace {

// A clock that only moves when the program sleeps; each sleep wakes late by
// the next lateness of the sequence. A sleep of nothing takes no time.
class LateClock final : public Clock {
 public:
  explicit LateClock(std::function<std::int64_t(int)> lateness) : lateness_(std::move(lateness)) {}

  std::int64_t nowUs() override { return now_; }
  void sleepUs(std::int64_t us) override {
    requested.push_back(us);
    if (us <= 0) return;
    now_ += us + lateness_(sleeps_++);
  }

  std::vector<std::int64_t> requested;

 private:
  std::function<std::int64_t(int)> lateness_;
  std::int64_t now_ = 0;
  int sleeps_ = 0;
};

// The length of each of count pauses.
std::vector<std::int64_t> pauses(Pacer& pacer, LateClock& clock, int count) {
  std::vector<std::int64_t> lengths;
  for (int i = 0; i < count; ++i) {
    const std::int64_t start = clock.nowUs();
    pacer.pause(clock);
    lengths.push_back(clock.nowUs() - start);
  }
  return lengths;
}

// Lateness as measured for a 940 us sleep on the development machines: about
// 121 us at the median, 310 to 390 us at the 90th percentile and 800 to
// 890 us at the 99th, in a fixed order that mixes them.
std::int64_t heavyTail(int i) {
  const int k = (i * 37) % 100;
  if (k < 50) return 60 + k;
  if (k < 90) return 121 + (k - 50) * 5;
  if (k < 99) return 350 + (k - 90) * 5;
  return 870;
}

struct Case {
  const char* name;
  std::int64_t nominalUs;
  std::function<std::int64_t(int)> lateness;
};

TEST(Pacer, PausesAverageTheirNominalLength) {
  const std::vector<Case> cases = {
      {"on time, 1 ms", 1000, [](int) { return 0; }},
      {"constant, 1 ms", 1000, [](int) { return 121; }},
      {"heavy tail, 1 ms", 1000, heavyTail},
      {"on time, 10 ms", 10000, [](int) { return 0; }},
      {"constant, 10 ms", 10000, [](int) { return 400; }},
      {"heavy tail, 10 ms", 10000, heavyTail},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LateClock clock(c.lateness);
    Pacer pacer(c.nominalUs);
    const std::vector<std::int64_t> lengths = pauses(pacer, clock, 1000);
    std::int64_t total = 0;
    for (std::int64_t length : lengths) {
      EXPECT_GE(length, 0);
      total += length;
    }
    EXPECT_NEAR(static_cast<double>(total) / 1000, c.nominalUs, c.nominalUs * 0.01);
    for (std::int64_t aim : clock.requested) {
      EXPECT_GE(aim, 0);
      EXPECT_LE(aim, c.nominalUs * 2);
    }
  }
}

TEST(Pacer, AStallIsPaidBackWithinOnePause) {
  // One sleep wakes 50 ms late; all others 121 us.
  LateClock clock([](int i) { return i == 10 ? 50000 : 121; });
  Pacer pacer(1000);
  const std::vector<std::int64_t> lengths = pauses(pacer, clock, 40);
  EXPECT_EQ(lengths[10], 1000 - 121 + 50000);
  // What is carried is one nominal pause at most: the next pause is skipped,
  // and from then on the pauses are nominal again.
  EXPECT_EQ(lengths[11], 0);
  for (std::size_t i = 13; i < lengths.size(); ++i) EXPECT_EQ(lengths[i], 1000) << "pause " << i;
  EXPECT_EQ(pacer.carriedUs(), 121);
}

TEST(Pacer, EachDisplayRunStartsWithNothingCarried) {
  LateClock clock([](int) { return 300; });
  Pacer first(1000);
  pauses(first, clock, 5);
  EXPECT_EQ(first.carriedUs(), 300);
  Pacer second(1000);
  second.pause(clock);
  EXPECT_EQ(clock.requested.back(), 1000);
}

}  // namespace
}  // namespace orvex::console
