// Filter exports: LPF, HPF and FLT transactions and their conversions.
#include "Codec.h"
#include "Export.h"
#include "FilterMath.h"
#include "Orvex.h"
#include "Transaction.h"

using namespace orvex;

namespace {

// LPF and FLT replies: Alpha (little-endian), then Beta.
int32_t getPair(Cmd c, uint8_t ch, uint16_t* alpha, uint8_t* beta) {
  return queryDecoded(c, ch, [=](const uint8_t* r) {
    *alpha = wire::readU16(r);
    *beta = r[2];
  });
}

}  // namespace

ORVEX_API int32_t Orvex_SetLPF(uint8_t ch, uint8_t beta) { return setting(Cmd::Lpf, ch, beta); }

ORVEX_API int32_t Orvex_GetLPF(uint8_t ch, uint16_t* alpha, uint8_t* beta) {
  return getPair(Cmd::Lpf, ch, alpha, beta);
}

ORVEX_API int32_t Orvex_SetFLT(uint8_t ch, uint8_t beta) { return setting(Cmd::Flt, ch, beta); }

ORVEX_API int32_t Orvex_GetFLT(uint8_t ch, uint16_t* alpha, uint8_t* beta) {
  return getPair(Cmd::Flt, ch, alpha, beta);
}

ORVEX_API int32_t Orvex_SetHPF_Tau(uint8_t ch, uint8_t tau) {
  return setting(Cmd::HpfTau, ch, tau);
}

ORVEX_API int32_t Orvex_GetHPF_Tau(uint8_t ch, uint8_t* tau) { return query(Cmd::HpfTau, ch, tau); }

ORVEX_API float Orvex_GetLPF_Frequency(uint16_t alpha, uint8_t beta) {
  return filter::frequency(filter::kLpfRate, alpha, beta);
}

ORVEX_API float Orvex_GetLPF_Damping(uint16_t alpha, uint8_t beta) {
  return filter::damping(alpha, beta);
}

ORVEX_API void Orvex_GetLPF_Parameters(uint16_t alpha, uint8_t beta, float* frequency,
                                       float* damping) {
  filter::parameters(filter::kLpfRate, alpha, beta, frequency, damping);
}

ORVEX_API uint16_t Orvex_GetLPF_Alpha(uint8_t beta, float damping) {
  return filter::alphaFor(beta, damping);
}

ORVEX_API float Orvex_GetFLT_Frequency(uint16_t alpha, uint8_t beta) {
  return filter::frequency(filter::kFltRate, alpha, beta);
}

ORVEX_API float Orvex_GetFLT_Damping(uint16_t alpha, uint8_t beta) {
  return filter::damping(alpha, beta);
}

ORVEX_API void Orvex_GetFLT_Parameters(uint16_t alpha, uint8_t beta, float* frequency,
                                       float* damping) {
  filter::parameters(filter::kFltRate, alpha, beta, frequency, damping);
}

ORVEX_API uint16_t Orvex_GetFLT_Alpha(uint8_t beta, float damping) {
  return filter::alphaFor(beta, damping);
}

ORVEX_API float Orvex_GetHPF_Frequency(uint8_t tau) { return filter::hpfFrequency(tau); }
