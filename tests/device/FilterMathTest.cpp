// The filter conversions between raw Alpha/Beta/Tau and frequency and
// damping. They never touch the adapter.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "AdapterTest.h"
#include "Orvex.h"

namespace orvex::test {
namespace {

constexpr double kLpfRate = 15915.494309189535;  // 100 kHz / 2 pi
constexpr double kFltRate = 318.3098861837907;   // 2 kHz / 2 pi
const float kHalfSqrt3 = static_cast<float>(std::sqrt(3.0) * 0.5);

// The LPF and FLT members of each conversion pair, which differ only in K.
struct FilterKind {
  const char* name;
  double rate;
  float (*frequency)(std::uint16_t, std::uint8_t);
  float (*damping)(std::uint16_t, std::uint8_t);
  void (*parameters)(std::uint16_t, std::uint8_t, float*, float*);
  std::uint16_t (*alpha)(std::uint8_t, float);
};

const FilterKind kKinds[] = {
    {"LPF", kLpfRate, Orvex_GetLPF_Frequency, Orvex_GetLPF_Damping, Orvex_GetLPF_Parameters,
     Orvex_GetLPF_Alpha},
    {"FLT", kFltRate, Orvex_GetFLT_Frequency, Orvex_GetFLT_Damping, Orvex_GetFLT_Parameters,
     Orvex_GetFLT_Alpha},
};

using FilterMath = AdapterTest;

TEST_F(FilterMath, FrequencyAndDampingOfAPositiveRadicand) {
  // Alpha 4, Beta 2 and Alpha 0, Beta 1 both have R = 1: frequency K.
  EXPECT_EQ(Orvex_GetLPF_Frequency(4, 2), 15915.494140625f);
  EXPECT_EQ(Orvex_GetFLT_Frequency(4, 2), static_cast<float>(kFltRate));
  EXPECT_NEAR(Orvex_GetFLT_Frequency(4, 2), 318.30988, 1e-4);
  EXPECT_EQ(Orvex_GetLPF_Frequency(0, 1), 15915.494140625f);
  for (const FilterKind& k : kKinds) {
    SCOPED_TRACE(k.name);
    EXPECT_EQ(k.damping(4, 2), 1.0f);
    EXPECT_EQ(k.damping(0, 1), 0.0f);
    EXPECT_NEAR(k.damping(108, 10), 0.87, 0.005);

    float frequency = 0;
    float damping = 0;
    k.parameters(4, 2, &frequency, &damping);
    EXPECT_EQ(frequency, static_cast<float>(k.rate));
    EXPECT_EQ(damping, 1.0f);
    k.parameters(108, 10, &frequency, &damping);
    EXPECT_EQ(frequency, k.frequency(108, 10));
    EXPECT_EQ(damping, k.damping(108, 10));
  }
  EXPECT_NEAR(Orvex_GetLPF_Frequency(108, 10), 511.279, 0.0005);
  EXPECT_NEAR(Orvex_GetFLT_Frequency(108, 10), 10.226, 0.0005);
  EXPECT_TRUE(wire.calls().empty());
}

TEST_F(FilterMath, NoPositiveRadicandGivesZeroAndLeavesParameters) {
  struct Pair {
    std::uint16_t alpha;
    std::uint8_t beta;
  };
  const Pair pairs[] = {{2, 1}, {0, 0}, {65535, 15}, {65535, 0}};
  for (const FilterKind& k : kKinds) {
    for (const Pair& p : pairs) {
      SCOPED_TRACE(testing::Message() << k.name << " Alpha " << p.alpha << " Beta " << +p.beta);
      EXPECT_EQ(k.frequency(p.alpha, p.beta), 0.0f);
      EXPECT_EQ(k.damping(p.alpha, p.beta), 0.0f);
      float frequency = 123.0f;
      float damping = 456.0f;
      k.parameters(p.alpha, p.beta, &frequency, &damping);
      EXPECT_EQ(frequency, 123.0f);
      EXPECT_EQ(damping, 456.0f);
    }
  }
}

TEST_F(FilterMath, AlphaForAWantedDamping) {
  struct Case {
    std::uint8_t beta;
    float damping;
    std::uint16_t alpha;
  };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const Case cases[] = {
      {2, kHalfSqrt3, 4},
      {10, kHalfSqrt3, 108},
      {24, kHalfSqrt3, 14186},
      {1, kHalfSqrt3, 2},
      {0, kHalfSqrt3, 0},
      {0, 0.0f, 0},
      {10, 0.0f, 0},
      {2, 1.0f, 4},
      // Too large for 16 bits: saturates instead of wrapping (81820).
      {24, 5.0f, 65535},
      {255, kHalfSqrt3, 65535},
      // Negative and NaN dampings have no Alpha.
      {10, -0.5f, 0},
      {10, -100.0f, 0},
      {24, nan, 0},
  };
  for (const FilterKind& k : kKinds) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << k.name << " Beta " << +c.beta << " damping " << c.damping);
      EXPECT_EQ(k.alpha(c.beta, c.damping), c.alpha);
    }
  }
  // The Alpha found for Beta 1 has no positive radicand.
  EXPECT_EQ(Orvex_GetLPF_Frequency(2, 1), 0.0f);
}

// As the damping grows, Alpha rises toward 2 (2^Beta - 1), where the radicand
// reaches 0; it never falls back or passes that limit, and a limit beyond
// 16 bits saturates. Large dampings must not lose Alpha to rounding.
TEST_F(FilterMath, AlphaForLargeDampingsApproachesItsLimit) {
  struct Case {
    std::uint8_t beta;
    float damping;
    std::uint16_t alpha;
  };
  const Case cases[] = {
      {10, 1e3f, 2045},
      {10, 1e6f, 2046},
      {10, 1e8f, 2046},
      {10, 1e9f, 2046},
      {10, 1e12f, 2046},
      {10, 1e30f, 2046},
      {24, 1e10f, 65535},
      {24, 1e12f, 65535},
      {24, 1e30f, 65535},
      {24, std::numeric_limits<float>::max(), 65535},
      {24, std::numeric_limits<float>::infinity(), 65535},
  };
  for (const FilterKind& k : kKinds) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << k.name << " Beta " << +c.beta << " damping " << c.damping);
      EXPECT_EQ(k.alpha(c.beta, c.damping), c.alpha);
    }
  }
}

TEST_F(FilterMath, HpfFrequencyHalvesPerTau) {
  EXPECT_EQ(Orvex_GetHPF_Frequency(0), 15915.494140625f);
  EXPECT_EQ(Orvex_GetHPF_Frequency(1), 7957.7470703125f);
  EXPECT_NEAR(Orvex_GetHPF_Frequency(20), 0.0151782, 5e-8);
  EXPECT_EQ(Orvex_GetHPF_Frequency(20), std::ldexp(15915.494140625f, -20));
}

// 2^Beta and 2^Tau from 32 on no longer fit 32 bits; they are computed
// exactly in double precision instead.
TEST_F(FilterMath, LargeExponentsStayExact) {
  const double two32 = 4294967296.0;
  const double two40 = 1099511627776.0;
  EXPECT_EQ(Orvex_GetHPF_Frequency(32), static_cast<float>(kLpfRate / two32));
  EXPECT_EQ(Orvex_GetHPF_Frequency(40), static_cast<float>(kLpfRate / two40));
  for (const FilterKind& k : kKinds) {
    SCOPED_TRACE(k.name);
    EXPECT_EQ(k.frequency(0, 32), static_cast<float>(k.rate / std::sqrt(two32 - 1)));
    EXPECT_EQ(k.frequency(0, 40), static_cast<float>(k.rate / std::sqrt(two40 - 1)));
    EXPECT_EQ(k.damping(65535, 40),
              static_cast<float>(65535 / (4 * std::sqrt(two40 - 32767.5 - 1))));
    EXPECT_EQ(k.alpha(32, kHalfSqrt3), 65535);
    for (const int beta : {32, 63, 64, 200, 255}) {
      SCOPED_TRACE(beta);
      const float f = k.frequency(1000, static_cast<std::uint8_t>(beta));
      EXPECT_TRUE(std::isfinite(f));
      EXPECT_GT(f, 0.0f);
      EXPECT_LT(f, k.frequency(1000, 31));
    }
  }
  for (const int tau : {64, 128, 255}) {
    SCOPED_TRACE(tau);
    const float f = Orvex_GetHPF_Frequency(static_cast<std::uint8_t>(tau));
    EXPECT_TRUE(std::isfinite(f));
    EXPECT_GE(f, 0.0f);
  }
}

}  // namespace
}  // namespace orvex::test
