// What the simulated module answers: power-on settings, settings read back,
// derived filter Alpha, identification, housekeeping, uptime and the
// measured amplitude of the amplitude control loop.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <tuple>
#include <vector>

#include "../../device/Codec.h"
#include "Outcome.h"
#include "SimRig.h"

namespace tarvish::sim::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Answer {
  std::uint8_t code;
  Bytes bytes;
};

TEST(ModuleBehaviour, PowerOnAnswers) {
  const std::vector<Answer> answers = {
      {0x00, {0x47, 0x96}},              // identification 0x9647
      {0x02, {0x67, 0x12, 0x00, 0x00}},  // product number 4711
      {0x03, {0x05, 0x01}},              // firmware 1-05
      {0x09, {0x00, 0x6C, 0xDC, 0x02}},  // CPU 48 MHz
      {0x0A, {0x00, 0x36, 0x6E, 0x01}},  // peripheral 24 MHz
      {0x0B, {0x00, 0x1B, 0xB7, 0x00}},  // ADC 12 MHz
      {0x0C, {0x00, 0x77, 0x01, 0x00}},  // DAC 96 kHz
      {0x0D, {0xA0, 0x86, 0x01, 0x00}},  // filter 100 kHz
      {0x0E, {0xE8, 0x03}},              // offset range 10 V
      {0x0F, {0x00, 0x00}},
      {0x10, {0x00, 0x00}},  // offset 0
      {0x11, {0x6C, 0x00, 0x0A}},
      {0x12, {0x6C, 0x00, 0x0A}},  // LPF Alpha 108, Beta 10
      {0x13, {0x05}},
      {0x14, {0x05}},  // HPF Tau 5
      {0x15, {0x00, 0x01}},
      {0x16, {0x00, 0x01}},  // amplification 1.0
      {0x17, {0x00}},
      {0x18, {0x00}},  // polarity positive
      {0x19, {0xE8, 0x03}},
      {0x1A, {0xE8, 0x03}},  // desired 1 V
      {0x1B, {0x6C, 0x00, 0x0A}},
      {0x1C, {0x6C, 0x00, 0x0A}},  // FLT Alpha 108, Beta 10
      {0x1F, {0x00, 0x00}},
      {0x20, {0x00, 0x00}},  // output off: 0 V
      {0x21, {0x00}},
      {0x22, {0x00}},  // output off
  };
  Rig rig;
  ASSERT_EQ(rig.adapter.open(), 0);
  for (const Answer& a : answers) {
    SCOPED_TRACE(static_cast<int>(a.code));
    Bytes reply;
    ASSERT_EQ(rig.query(a.code, reply, static_cast<std::int32_t>(a.bytes.size())), 0)
        << rig.adapter.errorMessage();
    EXPECT_EQ(reply, a.bytes);
  }
}

TEST(ModuleBehaviour, SettingsAreReadBackPerChannel) {
  Rig rig;
  ASSERT_EQ(rig.adapter.open(), 0);
  // X and Y of each setting get different values, so a mixed-up channel shows.
  const std::vector<Bytes> settings = {
      {0x0E, 0xFF, 0xFF}, {0x0F, 0x33, 0xF3}, {0x10, 0xCD, 0x0C}, {0x13, 0x00}, {0x14, 0x14},
      {0x15, 0x80, 0x01}, {0x16, 0x01, 0x00}, {0x17, 0x01},       {0x18, 0x07}, {0x19, 0xC4, 0x09},
      {0x1A, 0x00, 0x00}, {0x21, 0x02},       {0x22, 0x01},
  };
  for (const Bytes& s : settings) ASSERT_EQ(rig.set(s), 0) << rig.adapter.errorMessage();
  for (const Bytes& s : settings) {
    SCOPED_TRACE(static_cast<int>(s[0]));
    Bytes reply;
    ASSERT_EQ(rig.query(s[0], reply, static_cast<std::int32_t>(s.size() - 1)), 0);
    EXPECT_EQ(reply, Bytes(s.begin() + 1, s.end()));
  }
}

TEST(ModuleBehaviour, BetaSettingDerivesAlphaForDampingOfHalfRootThree) {
  const std::vector<std::pair<std::uint8_t, std::uint16_t>> alphaOfBeta = {
      {0, 0}, {1, 2}, {2, 4}, {10, 108}, {24, 14186}};
  for (std::uint8_t code : {0x11, 0x12, 0x1B, 0x1C}) {
    for (const auto& [beta, alpha] : alphaOfBeta) {
      SCOPED_TRACE(std::to_string(code) + " beta " + std::to_string(beta));
      Rig rig;
      ASSERT_EQ(rig.adapter.open(), 0);
      ASSERT_EQ(rig.set({code, beta}), 0);
      Bytes reply;
      ASSERT_EQ(rig.query(code, reply, 3), 0);
      EXPECT_EQ(orvex::wire::readU16(reply.data()), alpha);
      EXPECT_EQ(reply[2], beta);
    }
  }
}

TEST(ModuleBehaviour, TextsFitTheirLimits) {
  Rig rig;
  ASSERT_EQ(rig.adapter.open(), 0);
  char text[81];
  for (auto [code, max, expected] :
       {std::tuple{0x01, 81, "Orvex two-channel signal module, simulated"},
        std::tuple{0x04, 16, "Nov 27 2026"}}) {
    const auto c = static_cast<std::uint8_t>(code);
    ASSERT_EQ(rig.adapter.send(1, &c, 1, 0), 0);
    ASSERT_EQ(rig.adapter.receiveString(1, text, max, 1), 0);
    EXPECT_STREQ(text, expected);
  }
}

TEST(ModuleBehaviour, UptimeCountsSecondsAndFractionsSincePowerOn) {
  Rig rig;
  ASSERT_EQ(rig.adapter.open(), 0);
  Bytes reply;
  rig.clock.now = 3600.5;
  ASSERT_EQ(rig.query(0x05, reply, 6), 0);
  EXPECT_EQ(reply, (Bytes{0x10, 0x0E, 0x00, 0x00, 0x00, 0x02}));
  rig.clock.now = 4294967296.0 + 1.25;  // the seconds wrap at 32 bits
  ASSERT_EQ(rig.query(0x05, reply, 6), 0);
  EXPECT_EQ(reply, (Bytes{0x01, 0x00, 0x00, 0x00, 0x00, 0x01}));
}

TEST(ModuleBehaviour, HousekeepingStaysNearNominal) {
  Rig rig;
  ASSERT_EQ(rig.adapter.open(), 0);
  for (double t : {0.0, 100.0, 450.0, 3600.0}) {
    rig.clock.now = t;
    Bytes reply;
    ASSERT_EQ(rig.query(0x06, reply, 2), 0);
    EXPECT_NEAR(orvex::wire::readU16(reply.data()), 5000, 10) << t;
    ASSERT_EQ(rig.query(0x07, reply, 2), 0);
    EXPECT_NEAR(orvex::wire::readU16(reply.data()), 3300, 10) << t;
    ASSERT_EQ(rig.query(0x08, reply, 2), 0);
    EXPECT_NEAR(orvex::wire::readU16(reply.data()), 30000, 200) << t;
  }
}

std::uint16_t measured(Rig& rig, std::uint8_t code) {
  Bytes reply;
  EXPECT_EQ(rig.query(code, reply, 2), 0);
  return orvex::wire::readU16(reply.data());
}

TEST(ModuleBehaviour, MeasuredAmplitudeFollowsTheOperationMode) {
  Rig rig;
  ASSERT_EQ(rig.adapter.open(), 0);
  // FLT Alpha 108, Beta 10: 10.23 Hz, a time constant of 15.6 ms.
  const double tau =
      1 / (2 * std::numbers::pi * (2000 / (2 * std::numbers::pi) / std::sqrt(1024 - 54 - 1)));
  ASSERT_EQ(rig.set({0x19, 0xC4, 0x09}), 0);  // X: desired 2.5 V
  ASSERT_EQ(rig.set({0x21, 0x02}), 0);        // X: amplitude control
  rig.clock.now = tau;
  EXPECT_NEAR(measured(rig, 0x1F), 2500 * (1 - std::exp(-1.0)), 4);
  EXPECT_EQ(measured(rig, 0x20), 0);  // Y stays off
  rig.clock.now = 20 * tau;
  EXPECT_NEAR(measured(rig, 0x1F), 2500, 3);
  ASSERT_EQ(rig.set({0x21, 0x01}), 0);  // maximum damping: decays to 0
  rig.clock.now = 21 * tau;
  EXPECT_NEAR(measured(rig, 0x1F), 2500 * std::exp(-1.0), 4);
  rig.clock.now = 60 * tau;
  EXPECT_LE(measured(rig, 0x1F), 3);
  ASSERT_EQ(rig.set({0x21, 0x02}), 0);
  rig.clock.now = 100 * tau;
  ASSERT_EQ(rig.set({0x21, 0x00}), 0);  // output off: 0 at once
  EXPECT_EQ(measured(rig, 0x1F), 0);
}

TEST(ModuleBehaviour, FixedRepliesReplaceOnlyTheirCode) {
  Knobs knobs;
  knobs.replies = {{0x07, {0x00, 0x80}}, {0x15, {0x34, 0x12}}, {0x04, Bytes(20, 'D')}};
  Rig rig(knobs);
  ASSERT_EQ(rig.adapter.open(), 0);
  Bytes reply;
  ASSERT_EQ(rig.query(0x07, reply, 2), 0);
  EXPECT_EQ(reply, (Bytes{0x00, 0x80}));
  ASSERT_EQ(rig.set({0x15, 0x00, 0x02}), 0);  // still stored
  ASSERT_EQ(rig.query(0x15, reply, 2), 0);
  EXPECT_EQ(reply, (Bytes{0x34, 0x12}));
  ASSERT_EQ(rig.query(0x16, reply, 2), 0);  // channel Y keeps its own answer
  EXPECT_EQ(reply, (Bytes{0x00, 0x01}));
  EXPECT_EQ(rig.module.settings().at(0x15), (Bytes{0x00, 0x02}));
  char text[16];
  const std::uint8_t code = 0x04;
  ASSERT_EQ(rig.adapter.send(1, &code, 1, 0), 0);
  ASSERT_EQ(rig.adapter.receiveString(1, text, 16, 1), 0);
  EXPECT_EQ(std::string(text), std::string(15, 'D'));  // cut to the buffer
}

}  // namespace
}  // namespace tarvish::sim::test
