// Housekeeping exports: supply voltages, temperature, clocks and uptime.
#include "Codec.h"
#include "Export.h"
#include "Orvex.h"
#include "Transaction.h"

using namespace orvex;

namespace {

constexpr uint16_t kNoVoltage = 0x8000;
constexpr uint16_t kNoTemperature = 0xFFFF;
constexpr float kNoReading = -1.0f;

// A 16-bit reading with its no-reading marker, scaled to volts or kelvin.
int32_t getReading(Cmd c, uint16_t marker, double scale, float* out) {
  return queryDecoded(c, 0, [=](const uint8_t* r) {
    const uint16_t raw = wire::readU16(r);
    *out = raw == marker ? kNoReading : static_cast<float>(raw * scale);
  });
}

int32_t getClock(Cmd c, float* hertz) {
  return queryDecoded(c, 0,
                      [=](const uint8_t* r) { *hertz = static_cast<float>(wire::readU32(r)); });
}

}  // namespace

ORVEX_API int32_t Orvex_Get5V(float* volts) {
  return getReading(Cmd::Supply5V, kNoVoltage, 0.001, volts);
}

ORVEX_API int32_t Orvex_Get3V(float* volts) {
  return getReading(Cmd::Supply3V, kNoVoltage, 0.001, volts);
}

ORVEX_API int32_t Orvex_GetTemp(float* kelvin) {
  return getReading(Cmd::Temperature, kNoTemperature, 0.01, kelvin);
}

ORVEX_API int32_t Orvex_GetClkCPU(float* hertz) { return getClock(Cmd::ClockCpu, hertz); }
ORVEX_API int32_t Orvex_GetClkPer(float* hertz) { return getClock(Cmd::ClockPeripheral, hertz); }
ORVEX_API int32_t Orvex_GetClkADC(float* hertz) { return getClock(Cmd::ClockAdc, hertz); }
ORVEX_API int32_t Orvex_GetClkDAC(float* hertz) { return getClock(Cmd::ClockDac, hertz); }
ORVEX_API int32_t Orvex_GetClkFilt(float* hertz) { return getClock(Cmd::ClockFilter, hertz); }

ORVEX_API int32_t Orvex_GetUptime(double* seconds) {
  return queryDecoded(Cmd::Uptime, 0, [=](const uint8_t* r) {
    *seconds = wire::readU32(r) + wire::readU16(r + 4) * 0.0009765625;
  });
}
