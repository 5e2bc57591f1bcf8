// The device library running over the simulated adapter, as a user's
// program does: every setting read back, the module found only in its slot.
// The same program runs over the i2c-dev backend with the fake device.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "Orvex.h"
#include "Tarvish.h"

namespace {

class DeviceOverSim : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Tarvish_Open(), 0);
    ASSERT_EQ(Tarvish_SetSlot(0, TARVISH_SLOT_MODULE, TARVISH_SLOT_KEEP), 0);
    ASSERT_EQ(Tarvish_Flush_LPT(), 0);
  }
};

// The text of a transfer to an empty slot: the simulator names the slot; a
// real bus (TARVISH_I2C_BUS set) names its address and the bus as well.
std::string noAcknowledge(int slot) {
  const std::string text = "No acknowledge from slot " + std::to_string(slot);
  const char* bus = std::getenv("TARVISH_I2C_BUS");
  if (bus == nullptr) return text;
  const int address = 0x40 + slot;
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02X", address);
  if (address > 0x77) {
    return text + " (address " + hex + " is past 0x77, no module answers there; bus " + bus + ")";
  }
  return text + " (address " + hex + " on " + bus + ")";
}

struct FloatSetting {
  const char* name;
  std::function<int32_t(uint8_t, float)> set;
  std::function<int32_t(uint8_t, float*)> get;
  double count;  // one raw count in physical units
  std::vector<float> values;
};

TEST_F(DeviceOverSim, EveryFloatSettingReadsBackWithinOneCount) {
  const std::vector<FloatSetting> settings = {
      {"amplification",
       Orvex_SetAmplification,
       Orvex_GetAmplification,
       1.0 / 256,
       {1.5f, 0.3f, 200.0f, 0.0f}},
      {"offset", Orvex_SetOffset, Orvex_GetOffset, 10.0 / 32768, {-3.3f, 1.0f, 9.99f, 0.0f}},
      {"amplitude", Orvex_SetAmplitude, Orvex_GetAmplitude, 0.001, {2.5f, 0.1234f, 60.0f, 1.0f}},
  };
  for (const FloatSetting& s : settings) {
    for (float value : s.values) {
      // Different values per channel, so that a mixed-up channel shows.
      ASSERT_EQ(s.set(0, value), 0) << s.name;
      ASSERT_EQ(s.set(1, value / 2), 0) << s.name;
      float x = -99, y = -99, y2 = -99;
      ASSERT_EQ(s.get(0, &x), 0) << s.name;
      ASSERT_EQ(s.get(1, &y), 0) << s.name;
      ASSERT_EQ(s.get(2, &y2), 0) << s.name;  // every selector but 0 is Y
      EXPECT_NEAR(x, value, s.count) << s.name;
      EXPECT_NEAR(y, value / 2, s.count) << s.name;
      EXPECT_EQ(y2, y) << s.name;
    }
  }
  for (float range : {2.5f, 327.0f, 10.0f}) {
    ASSERT_EQ(Orvex_SetOffsetRange(range), 0);
    float read = -99;
    ASSERT_EQ(Orvex_GetOffsetRange(&read), 0);
    EXPECT_NEAR(read, range, 0.01);
  }
}

struct ByteSetting {
  const char* name;
  std::function<int32_t(uint8_t, uint8_t)> set;
  std::function<int32_t(uint8_t, uint8_t*)> get;
  std::vector<uint8_t> values;
};

TEST_F(DeviceOverSim, EveryByteSettingReadsBack) {
  const std::vector<ByteSetting> settings = {
      {"polarity", Orvex_SetPolarity, Orvex_GetPolarity, {1, 0}},
      {"operation mode", Orvex_SetOperMode, Orvex_GetOperMode, {2, 1, 0}},
      {"HPF Tau", Orvex_SetHPF_Tau, Orvex_GetHPF_Tau, {0, 20, 5}},
  };
  for (const ByteSetting& s : settings) {
    for (uint8_t value : s.values) {
      const auto other = static_cast<uint8_t>(value == 0 ? 1 : 0);
      ASSERT_EQ(s.set(0, value), 0) << s.name;
      ASSERT_EQ(s.set(1, other), 0) << s.name;
      uint8_t x = 99, y = 99;
      ASSERT_EQ(s.get(0, &x), 0) << s.name;
      ASSERT_EQ(s.get(1, &y), 0) << s.name;
      EXPECT_EQ(x, value) << s.name;
      EXPECT_EQ(y, other) << s.name;
    }
  }
}

TEST_F(DeviceOverSim, FilterBetaSetsGiveAlphaForTheWantedDamping) {
  struct Filter {
    int32_t (*set)(uint8_t, uint8_t);
    int32_t (*get)(uint8_t, uint16_t*, uint8_t*);
    uint16_t (*alpha)(uint8_t, float);
  };
  for (const Filter& f : {Filter{Orvex_SetLPF, Orvex_GetLPF, Orvex_GetLPF_Alpha},
                          Filter{Orvex_SetFLT, Orvex_GetFLT, Orvex_GetFLT_Alpha}}) {
    for (uint8_t beta : {2, 10, 24, 10}) {
      for (uint8_t channel : {0, 1}) {
        ASSERT_EQ(f.set(channel, beta), 0);
        uint16_t alpha = 0;
        uint8_t readBeta = 0;
        ASSERT_EQ(f.get(channel, &alpha, &readBeta), 0);
        EXPECT_EQ(readBeta, beta);
        EXPECT_EQ(alpha, f.alpha(beta, 0.8660254f)) << int(beta);
      }
    }
  }
}

TEST_F(DeviceOverSim, IdentificationAndHousekeeping) {
  uint16_t version = 0;
  uint32_t number = 0;
  char date[16], id[81];
  float volts = 0, kelvin = 0, hertz = 0;
  ASSERT_EQ(Orvex_FW_Ver(&version), 0);
  EXPECT_EQ(version >> 8, 1);
  ASSERT_EQ(Orvex_Prod_No(&number), 0);
  EXPECT_EQ(number, 4711u);
  ASSERT_EQ(Orvex_FW_Date(date), 0);
  EXPECT_LT(std::strlen(date), 16u);
  ASSERT_EQ(Orvex_Prod_ID(id), 0);
  EXPECT_NE(std::string(id).find("Orvex"), std::string::npos);
  ASSERT_EQ(Orvex_Get5V(&volts), 0);
  EXPECT_NEAR(volts, 5.0, 0.05);
  ASSERT_EQ(Orvex_Get3V(&volts), 0);
  EXPECT_NEAR(volts, 3.3, 0.05);
  ASSERT_EQ(Orvex_GetTemp(&kelvin), 0);
  EXPECT_NEAR(kelvin, 300, 3);
  ASSERT_EQ(Orvex_GetClkCPU(&hertz), 0);
  EXPECT_EQ(hertz, 48e6f);
  ASSERT_EQ(Orvex_GetClkFilt(&hertz), 0);
  EXPECT_EQ(hertz, 100e3f);
}

TEST_F(DeviceOverSim, CheckFindsTheModuleOnlyInItsSlot) {
  for (int slot : {0, 1, 5, 128, 255, 0}) {
    ASSERT_EQ(Tarvish_SetSlot(static_cast<uint8_t>(slot), TARVISH_SLOT_MODULE, TARVISH_SLOT_KEEP),
              0);
    uint8_t present = 9;
    ASSERT_EQ(Orvex_Check(&present), 0);
    EXPECT_EQ(present, slot == 0 ? 1 : 0) << slot;
    float value = -7;
    EXPECT_EQ(Orvex_GetAmplification(0, &value), slot == 0 ? 0 : -1);
    if (slot != 0) {
      EXPECT_EQ(value, -7);
      EXPECT_EQ(std::string(Tarvish_ErrorMessage()), noAcknowledge(slot));
    }
  }
}

// Runs with TARVISH_FAIL=Receive@1=-42,Send@2=17 in the environment.
TEST(DeviceOverSimFailure, InjectedStatusReachesTheCallerUnchanged) {
  ASSERT_EQ(Tarvish_Open(), 0);
  float amplification = -5;
  EXPECT_EQ(Orvex_GetAmplification(0, &amplification), -42);  // Send 1, Receive 1 fails
  EXPECT_EQ(amplification, -5);
  EXPECT_STREQ(Tarvish_ErrorMessage(), "Injected failure of Tarvish_Receive (call 1)");
  EXPECT_EQ(Orvex_SetPolarity(0, 1), 17);  // Send 2 fails
  uint8_t polarity = 9;
  EXPECT_EQ(Orvex_GetPolarity(0, &polarity), 0);
  EXPECT_EQ(polarity, 0);  // the failed setting never reached the module
}

}  // namespace
