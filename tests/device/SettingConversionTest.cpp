// Setters convert physical values to raw values before they send. Unsigned
// 16-bit fields saturate instead of wrapping; the offset is clamped to its
// signed range; zero, negative and NaN give raw 0 (the offset: NaN gives 0).
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "AdapterTest.h"
#include "Orvex.h"
#include "Tarvish.h"

namespace orvex::test {
namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

struct SetCase {
  const char* what;
  std::int32_t (*set)(float);
  float value;
  std::vector<std::uint8_t> sent;
};

std::int32_t amplificationX(float v) { return Orvex_SetAmplification(0, v); }
std::int32_t offsetX(float v) { return Orvex_SetOffset(0, v); }
std::int32_t amplitudeY(float v) { return Orvex_SetAmplitude(1, v); }

const SetCase kCases[] = {
    // Amplification: 1/256 per count, halves round up.
    {"amplification 1.0", amplificationX, 1.0f, {0x15, 0x00, 0x01}},
    {"amplification 1.5", amplificationX, 1.5f, {0x15, 0x80, 0x01}},
    {"amplification half a count", amplificationX, 0.001953125f, {0x15, 0x01, 0x00}},
    {"amplification just below half a count", amplificationX, 0.0019531f, {0x15, 0x00, 0x00}},
    {"amplification largest raw", amplificationX, 255.99609375f, {0x15, 0xFF, 0xFF}},
    {"amplification rounding to 65536", amplificationX, 255.998046875f, {0x15, 0xFF, 0xFF}},
    {"amplification 256 saturates", amplificationX, 256.0f, {0x15, 0xFF, 0xFF}},
    {"amplification 1e9 saturates", amplificationX, 1e9f, {0x15, 0xFF, 0xFF}},
    {"amplification +inf saturates", amplificationX, kInf, {0x15, 0xFF, 0xFF}},
    {"amplification 0", amplificationX, 0.0f, {0x15, 0x00, 0x00}},
    {"amplification -3", amplificationX, -3.0f, {0x15, 0x00, 0x00}},
    {"amplification -inf", amplificationX, -kInf, {0x15, 0x00, 0x00}},
    {"amplification NaN", amplificationX, kNaN, {0x15, 0x00, 0x00}},
    // Offset: 32768 counts = 10 V, halves away from zero, signed 16-bit clamp.
    {"offset 10 V", offsetX, 10.0f, {0x0F, 0xFF, 0x7F}},
    {"offset -10 V", offsetX, -10.0f, {0x0F, 0x00, 0x80}},
    {"offset 1 V", offsetX, 1.0f, {0x0F, 0xCD, 0x0C}},
    {"offset -1 V", offsetX, -1.0f, {0x0F, 0x33, 0xF3}},
    {"offset 0 V", offsetX, 0.0f, {0x0F, 0x00, 0x00}},
    {"offset 5 V", offsetX, 5.0f, {0x0F, 0x00, 0x40}},
    {"offset 1000 V clamps", offsetX, 1000.0f, {0x0F, 0xFF, 0x7F}},
    {"offset -1000 V clamps", offsetX, -1000.0f, {0x0F, 0x00, 0x80}},
    {"offset +inf clamps", offsetX, kInf, {0x0F, 0xFF, 0x7F}},
    {"offset -inf clamps", offsetX, -kInf, {0x0F, 0x00, 0x80}},
    {"offset NaN", offsetX, kNaN, {0x0F, 0x00, 0x00}},
    // Offset range: 0.01 V per count, module-wide.
    {"offset range 10 V", Orvex_SetOffsetRange, 10.0f, {0x0E, 0xE8, 0x03}},
    {"offset range 655.35 V", Orvex_SetOffsetRange, 655.35f, {0x0E, 0xFF, 0xFF}},
    {"offset range 655.36 V saturates", Orvex_SetOffsetRange, 655.36f, {0x0E, 0xFF, 0xFF}},
    {"offset range 1e6 V saturates", Orvex_SetOffsetRange, 1e6f, {0x0E, 0xFF, 0xFF}},
    {"offset range +inf saturates", Orvex_SetOffsetRange, kInf, {0x0E, 0xFF, 0xFF}},
    {"offset range 0", Orvex_SetOffsetRange, 0.0f, {0x0E, 0x00, 0x00}},
    {"offset range negative", Orvex_SetOffsetRange, -5.0f, {0x0E, 0x00, 0x00}},
    {"offset range NaN", Orvex_SetOffsetRange, kNaN, {0x0E, 0x00, 0x00}},
    // Desired amplitude: 1 mV per count.
    {"amplitude 2.5 V", amplitudeY, 2.5f, {0x1A, 0xC4, 0x09}},
    {"amplitude 65.535 V", amplitudeY, 65.535f, {0x1A, 0xFF, 0xFF}},
    {"amplitude 65.536 V saturates", amplitudeY, 65.536f, {0x1A, 0xFF, 0xFF}},
    {"amplitude 100 V saturates", amplitudeY, 100.0f, {0x1A, 0xFF, 0xFF}},
    {"amplitude +inf saturates", amplitudeY, kInf, {0x1A, 0xFF, 0xFF}},
    {"amplitude 0", amplitudeY, 0.0f, {0x1A, 0x00, 0x00}},
    {"amplitude negative", amplitudeY, -1.0f, {0x1A, 0x00, 0x00}},
    {"amplitude NaN", amplitudeY, kNaN, {0x1A, 0x00, 0x00}},
};

using SettingConversion = AdapterTest;

TEST_F(SettingConversion, SendsTheRawValue) {
  for (const SetCase& c : kCases) {
    SCOPED_TRACE(c.what);
    wire.reset();
    EXPECT_EQ(c.set(c.value), 0);
    EXPECT_EQ(wire.calls(), std::vector<Call>{sendCall(c.sent, TARVISH_FINAL)});
  }
}

// Byte settings go out unchanged, whatever their value.
TEST_F(SettingConversion, ByteSettingsAreSentUnchanged) {
  struct ByteCase {
    const char* what;
    std::int32_t (*set)(std::uint8_t, std::uint8_t);
    std::uint8_t channel;
    std::uint8_t value;
    std::vector<std::uint8_t> sent;
  };
  const ByteCase cases[] = {
      {"polarity 7 on X", Orvex_SetPolarity, 0, 7, {0x17, 0x07}},
      {"operation mode 2 on Y", Orvex_SetOperMode, 1, 2, {0x22, 0x02}},
      {"operation mode 255 on X", Orvex_SetOperMode, 0, 255, {0x21, 0xFF}},
      {"LPF Beta 0 on Y", Orvex_SetLPF, 2, 0, {0x12, 0x00}},
      {"HPF Tau 200 on X", Orvex_SetHPF_Tau, 0, 200, {0x13, 0xC8}},
      {"FLT Beta 31 on Y", Orvex_SetFLT, 255, 31, {0x1C, 0x1F}},
  };
  for (const ByteCase& c : cases) {
    SCOPED_TRACE(c.what);
    wire.reset();
    EXPECT_EQ(c.set(c.channel, c.value), 0);
    EXPECT_EQ(wire.calls(), std::vector<Call>{sendCall(c.sent, TARVISH_FINAL)});
  }
}

}  // namespace
}  // namespace orvex::test
