// Getters decode the module's reply into physical units: channel settings,
// supply voltages, temperature, clocks, uptime and the filter pairs.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "AdapterTest.h"
#include "Orvex.h"

namespace orvex::test {
namespace {

struct FloatCase {
  const char* what;
  std::int32_t (*get)(float*);
  std::vector<std::uint8_t> reply;
  float value;
};

std::int32_t amplificationX(float* v) { return Orvex_GetAmplification(0, v); }
std::int32_t offsetY(float* v) { return Orvex_GetOffset(1, v); }
std::int32_t amplitudeX(float* v) { return Orvex_GetAmplitude(0, v); }
std::int32_t measuredY(float* v) { return Orvex_GetMeasAmplit(1, v); }

const FloatCase kFloatCases[] = {
    {"amplification raw 384", amplificationX, {0x80, 0x01}, 1.5f},
    {"amplification raw 65535, unsigned", amplificationX, {0xFF, 0xFF}, 255.99609375f},
    {"offset raw -32768", offsetY, {0x00, 0x80}, -10.0f},
    {"offset raw 32767", offsetY, {0xFF, 0x7F}, 9.99969482421875f},
    {"offset raw 3277", offsetY, {0xCD, 0x0C}, 1.00006103515625f},
    {"offset raw -1", offsetY, {0xFF, 0xFF}, -0.00030517578125f},
    {"offset range raw 1000", Orvex_GetOffsetRange, {0xE8, 0x03}, 10.0f},
    {"offset range raw 0xFFFF reads signed", Orvex_GetOffsetRange, {0xFF, 0xFF}, -0.01f},
    {"offset range raw 32767", Orvex_GetOffsetRange, {0xFF, 0x7F}, 327.67f},
    {"desired amplitude raw 2500", amplitudeX, {0xC4, 0x09}, 2.5f},
    {"desired amplitude raw 65535, unsigned", amplitudeX, {0xFF, 0xFF}, 65.535f},
    {"measured amplitude raw 1234", measuredY, {0xD2, 0x04}, 1.234f},
    {"measured amplitude raw 0x8000, unsigned", measuredY, {0x00, 0x80}, 32.768f},
    {"5V no reading", Orvex_Get5V, {0x00, 0x80}, -1.0f},
    {"5V raw 5012", Orvex_Get5V, {0x94, 0x13}, 5.012f},
    {"5V raw 0x8001", Orvex_Get5V, {0x01, 0x80}, 32.769f},
    {"5V raw 0xFFFF is a reading", Orvex_Get5V, {0xFF, 0xFF}, 65.535f},
    {"3V no reading", Orvex_Get3V, {0x00, 0x80}, -1.0f},
    {"3V raw 3300", Orvex_Get3V, {0xE4, 0x0C}, 3.3f},
    {"temperature no reading", Orvex_GetTemp, {0xFF, 0xFF}, -1.0f},
    {"temperature raw 29815", Orvex_GetTemp, {0x77, 0x74}, 298.15f},
    {"temperature raw 0x8000 is a reading", Orvex_GetTemp, {0x00, 0x80}, 327.68f},
    {"CPU clock 16 MHz", Orvex_GetClkCPU, {0x00, 0x24, 0xF4, 0x00}, 16000000.0f},
    {"CPU clock 16777217 Hz to nearest float",
     Orvex_GetClkCPU,
     {0x01, 0x00, 0x00, 0x01},
     16777216.0f},
    {"peripheral clock", Orvex_GetClkPer, {0x40, 0x42, 0x0F, 0x00}, 1000000.0f},
    {"ADC clock", Orvex_GetClkADC, {0x01, 0x00, 0x00, 0x00}, 1.0f},
    {"DAC clock", Orvex_GetClkDAC, {0xFF, 0xFF, 0xFF, 0xFF}, 4294967296.0f},
    {"filter clock", Orvex_GetClkFilt, {0xA0, 0x86, 0x01, 0x00}, 100000.0f},
};

using ReadingConversion = AdapterTest;

TEST_F(ReadingConversion, DecodesFloatReadings) {
  for (const FloatCase& c : kFloatCases) {
    SCOPED_TRACE(c.what);
    wire.reset();
    wire.reply(c.reply);
    float value = 0.5f;
    EXPECT_EQ(c.get(&value), 0);
    EXPECT_EQ(value, c.value);
  }
}

TEST_F(ReadingConversion, UptimeIsSecondsPlusTheFractionExactly) {
  struct Case {
    std::vector<std::uint8_t> reply;
    double seconds;
  };
  const Case cases[] = {
      {{0x10, 0x0E, 0x00, 0x00, 0x00, 0x02}, 3600.5},
      {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 4294967295.0 + 65535.0 / 1024.0},
      {{0x00, 0x00, 0x00, 0x00, 0x01, 0x00}, 1.0 / 1024.0},
  };
  for (const Case& c : cases) {
    wire.reset();
    wire.reply(c.reply);
    double seconds = 0.5;
    EXPECT_EQ(Orvex_GetUptime(&seconds), 0);
    EXPECT_EQ(seconds, c.seconds);
  }
}

TEST_F(ReadingConversion, FilterPairsAreAlphaLittleEndianThenBeta) {
  struct Case {
    const char* what;
    std::int32_t (*get)(std::uint8_t, std::uint16_t*, std::uint8_t*);
    std::vector<std::uint8_t> reply;
    std::uint16_t alpha;
    std::uint8_t beta;
  };
  const Case cases[] = {
      {"LPF 108, 10", Orvex_GetLPF, {0x6C, 0x00, 0x0A}, 108, 10},
      {"LPF high byte", Orvex_GetLPF, {0x34, 0x12, 0x05}, 0x1234, 5},
      {"FLT 108, 10", Orvex_GetFLT, {0x6C, 0x00, 0x0A}, 108, 10},
      {"FLT extremes", Orvex_GetFLT, {0xFF, 0xFF, 0xFF}, 65535, 255},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    wire.reset();
    wire.reply(c.reply);
    std::uint16_t alpha = 0;
    std::uint8_t beta = 0;
    EXPECT_EQ(c.get(1, &alpha, &beta), 0);
    EXPECT_EQ(alpha, c.alpha);
    EXPECT_EQ(beta, c.beta);
  }
}

TEST_F(ReadingConversion, ByteReadingsAreTheReceivedByte) {
  struct Case {
    const char* what;
    std::int32_t (*get)(std::uint8_t, std::uint8_t*);
    std::uint8_t reply;
  };
  const Case cases[] = {
      {"polarity", Orvex_GetPolarity, 0x01},
      {"operation mode", Orvex_GetOperMode, 0x02},
      {"HPF Tau", Orvex_GetHPF_Tau, 0x14},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    wire.reset();
    wire.reply({c.reply});
    std::uint8_t value = 0x5A;
    EXPECT_EQ(c.get(0, &value), 0);
    EXPECT_EQ(value, c.reply);
  }
}

}  // namespace
}  // namespace orvex::test
