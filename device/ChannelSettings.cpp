// Channel output settings: amplification, polarity, offset, offset range,
// desired and measured amplitude, operation mode.
#include "ChannelConversions.h"
#include "Codec.h"
#include "Export.h"
#include "Orvex.h"
#include "Transaction.h"

using namespace orvex;
using namespace orvex::channel;

ORVEX_API int32_t Orvex_SetAmplification(uint8_t ch, float amplification) {
  return setting(Cmd::Amplification, ch, amplificationToRaw(amplification));
}

ORVEX_API int32_t Orvex_GetAmplification(uint8_t ch, float* amplification) {
  return queryDecoded(Cmd::Amplification, ch, [=](const uint8_t* r) {
    *amplification = amplificationFromRaw(wire::readU16(r));
  });
}

ORVEX_API int32_t Orvex_SetPolarity(uint8_t ch, uint8_t polarity) {
  return setting(Cmd::Polarity, ch, polarity);
}

ORVEX_API int32_t Orvex_GetPolarity(uint8_t ch, uint8_t* polarity) {
  return query(Cmd::Polarity, ch, polarity);
}

ORVEX_API int32_t Orvex_SetOffset(uint8_t ch, float offset) {
  return setting(Cmd::Offset, ch, static_cast<uint16_t>(offsetToRaw(offset)));
}

ORVEX_API int32_t Orvex_GetOffset(uint8_t ch, float* offset) {
  return queryDecoded(Cmd::Offset, ch,
                      [=](const uint8_t* r) { *offset = offsetFromRaw(wire::readS16(r)); });
}

ORVEX_API int32_t Orvex_SetOffsetRange(float range) {
  return setting(Cmd::OffsetRange, 0, offsetRangeToRaw(range));
}

ORVEX_API int32_t Orvex_GetOffsetRange(float* range) {
  return queryDecoded(Cmd::OffsetRange, 0,
                      [=](const uint8_t* r) { *range = offsetRangeFromRaw(wire::readS16(r)); });
}

ORVEX_API int32_t Orvex_SetAmplitude(uint8_t ch, float amplitude) {
  return setting(Cmd::Amplitude, ch, amplitudeToRaw(amplitude));
}

ORVEX_API int32_t Orvex_GetAmplitude(uint8_t ch, float* amplitude) {
  return queryDecoded(Cmd::Amplitude, ch,
                      [=](const uint8_t* r) { *amplitude = amplitudeFromRaw(wire::readU16(r)); });
}

ORVEX_API int32_t Orvex_GetMeasAmplit(uint8_t ch, float* amplitude) {
  return queryDecoded(Cmd::MeasuredAmplitude, ch,
                      [=](const uint8_t* r) { *amplitude = amplitudeFromRaw(wire::readU16(r)); });
}

ORVEX_API int32_t Orvex_SetOperMode(uint8_t ch, uint8_t mode) {
  return setting(Cmd::OperationMode, ch, mode);
}

ORVEX_API int32_t Orvex_GetOperMode(uint8_t ch, uint8_t* mode) {
  return query(Cmd::OperationMode, ch, mode);
}
