/*
 * Orvex: the device library of the Orvex two-channel signal module.
 *
 * Each function that returns int32_t performs one command transaction with the
 * module through the Tarvish adapter and returns its status: 0 on success,
 * otherwise the status of the first adapter call that failed, unchanged.
 * The library keeps no state and checks no arguments. Before any transaction
 * the application must have opened the adapter (Tarvish_Open) and selected
 * the module's slot (Tarvish_SetSlot) where needed.
 *
 * Channel selector: 0 selects channel X, every other value channel Y.
 *
 * On a failed transaction, decoded outputs (floats, doubles, filter pairs)
 * are left unchanged. Outputs that the adapter receives straight into the
 * caller's variable (polarity, operation mode, HPF Tau, firmware version,
 * product number, both texts) hold whatever the adapter left there.
 *
 * The filter conversions (Orvex_Get*_Frequency, _Damping, _Parameters,
 * _Alpha) and Orvex_Version never touch the adapter and cannot fail.
 */
#ifndef ORVEX_H
#define ORVEX_H

#include <stdint.h>

/* Windows: the functions are imported from Orvex.dll, and exported while the
 * library itself is built (ORVEX_BUILDING_LIBRARY). Elsewhere they are the
 * library's visible symbols. */
#if defined(_WIN32)
#if defined(ORVEX_BUILDING_LIBRARY)
#define ORVEX_EXPORT __declspec(dllexport)
#else
#define ORVEX_EXPORT __declspec(dllimport)
#endif
#elif defined(__GNUC__)
#define ORVEX_EXPORT __attribute__((visibility("default")))
#else
#define ORVEX_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Identification ---------------------------------------------------- */

/* Version word of this library: 0x0100 (major 1, minor 00). */
ORVEX_EXPORT uint16_t Orvex_Version(void);

/* Presence and identity test of the module in the selected slot. On status 0
 * *present is 1 when a module answers and identifies itself as an Orvex
 * (0x9647), else 0. When no module answers, no command is sent. */
ORVEX_EXPORT int32_t Orvex_Check(uint8_t* present);

/* Firmware version word: high byte major, low byte minor. */
ORVEX_EXPORT int32_t Orvex_FW_Ver(uint16_t* version);

/* Firmware date text; the buffer must hold at least 16 bytes, terminator
 * included. */
ORVEX_EXPORT int32_t Orvex_FW_Date(char* text);

/* Product identification text; the buffer must hold at least 81 bytes,
 * terminator included. */
ORVEX_EXPORT int32_t Orvex_Prod_ID(char* text);

/* Product number. */
ORVEX_EXPORT int32_t Orvex_Prod_No(uint32_t* number);

/* ---- Channel output settings ------------------------------------------- */

/* Amplification, a plain factor in steps of 1/256. The raw value saturates:
 * 0 for zero, negative or NaN, 65535 (255.996) from 255.998 on. */
ORVEX_EXPORT int32_t Orvex_SetAmplification(uint8_t channel, float amplification);
ORVEX_EXPORT int32_t Orvex_GetAmplification(uint8_t channel, float* amplification);

/* Polarity byte: 0 = positive, any other value negative. Sent unchanged. */
ORVEX_EXPORT int32_t Orvex_SetPolarity(uint8_t channel, uint8_t polarity);
ORVEX_EXPORT int32_t Orvex_GetPolarity(uint8_t channel, uint8_t* polarity);

/* Channel offset in volts, 32768 counts = 10 V; clamped to -10 V .. 9.9997 V
 * (raw -32768 .. 32767); NaN gives 0. */
ORVEX_EXPORT int32_t Orvex_SetOffset(uint8_t channel, float offset);
ORVEX_EXPORT int32_t Orvex_GetOffset(uint8_t channel, float* offset);

/* Offset range of the module (no channel) in volts, 0.01 V per count. Set:
 * 0 for zero, negative or NaN, saturating at 655.35 V. Read back signed. */
ORVEX_EXPORT int32_t Orvex_SetOffsetRange(float range);
ORVEX_EXPORT int32_t Orvex_GetOffsetRange(float* range);

/* Desired amplitude in volts, 1 mV per count; 0 for zero, negative or NaN,
 * saturating at 65.535 V. */
ORVEX_EXPORT int32_t Orvex_SetAmplitude(uint8_t channel, float amplitude);
ORVEX_EXPORT int32_t Orvex_GetAmplitude(uint8_t channel, float* amplitude);

/* Measured amplitude in volts, 1 mV per count (read only). */
ORVEX_EXPORT int32_t Orvex_GetMeasAmplit(uint8_t channel, float* amplitude);

/* Operation mode byte: 0 = output off, 1 = maximum damping, 2 = amplitude
 * control. Sent unchanged. */
ORVEX_EXPORT int32_t Orvex_SetOperMode(uint8_t channel, uint8_t mode);
ORVEX_EXPORT int32_t Orvex_GetOperMode(uint8_t channel, uint8_t* mode);

/* ---- Filters ----------------------------------------------------------- */

/* Low-pass filter (LPF): only Beta is sent; the module derives Alpha. The get
 * reports the pair in force. */
ORVEX_EXPORT int32_t Orvex_SetLPF(uint8_t channel, uint8_t beta);
ORVEX_EXPORT int32_t Orvex_GetLPF(uint8_t channel, uint16_t* alpha, uint8_t* beta);

/* High-pass filter (HPF): its time-constant exponent Tau. */
ORVEX_EXPORT int32_t Orvex_SetHPF_Tau(uint8_t channel, uint8_t tau);
ORVEX_EXPORT int32_t Orvex_GetHPF_Tau(uint8_t channel, uint8_t* tau);

/* Amplitude low-pass filter (FLT), built like the LPF on a slower time base. */
ORVEX_EXPORT int32_t Orvex_SetFLT(uint8_t channel, uint8_t beta);
ORVEX_EXPORT int32_t Orvex_GetFLT(uint8_t channel, uint16_t* alpha, uint8_t* beta);

/* Conversions. With R = 2^Beta - Alpha/2 - 1: frequency = K / sqrt(R) in Hz
 * (K = 100000/(2 pi) for LPF and HPF, 2000/(2 pi) for FLT), damping =
 * Alpha / (4 sqrt(R)); both 0 when R <= 0. The Parameters functions write
 * both outputs, or neither when R <= 0. Beta and Tau of 32 and more are
 * computed exactly in double precision. */
ORVEX_EXPORT float Orvex_GetLPF_Frequency(uint16_t alpha, uint8_t beta);
ORVEX_EXPORT float Orvex_GetLPF_Damping(uint16_t alpha, uint8_t beta);
ORVEX_EXPORT void Orvex_GetLPF_Parameters(uint16_t alpha, uint8_t beta, float* frequency,
                                          float* damping);
ORVEX_EXPORT float Orvex_GetFLT_Frequency(uint16_t alpha, uint8_t beta);
ORVEX_EXPORT float Orvex_GetFLT_Damping(uint16_t alpha, uint8_t beta);
ORVEX_EXPORT void Orvex_GetFLT_Parameters(uint16_t alpha, uint8_t beta, float* frequency,
                                          float* damping);

/* Alpha that gives the wanted damping at this Beta, rounded to the nearest
 * integer; 0 for a negative or NaN damping, saturating at 65535. */
ORVEX_EXPORT uint16_t Orvex_GetLPF_Alpha(uint8_t beta, float damping);
ORVEX_EXPORT uint16_t Orvex_GetFLT_Alpha(uint8_t beta, float damping);

/* HPF corner frequency in Hz: K / 2^Tau with K = 100000/(2 pi). */
ORVEX_EXPORT float Orvex_GetHPF_Frequency(uint8_t tau);

/* ---- Housekeeping, clocks and uptime ----------------------------------- */

/* Supply voltages in volts; -1.0 when the module has no reading. */
ORVEX_EXPORT int32_t Orvex_Get5V(float* volts);
ORVEX_EXPORT int32_t Orvex_Get3V(float* volts);

/* Module temperature in kelvin; -1.0 when the module has no reading. */
ORVEX_EXPORT int32_t Orvex_GetTemp(float* kelvin);

/* Clock frequencies in hertz. */
ORVEX_EXPORT int32_t Orvex_GetClkCPU(float* hertz);
ORVEX_EXPORT int32_t Orvex_GetClkPer(float* hertz);
ORVEX_EXPORT int32_t Orvex_GetClkADC(float* hertz);
ORVEX_EXPORT int32_t Orvex_GetClkDAC(float* hertz);
ORVEX_EXPORT int32_t Orvex_GetClkFilt(float* hertz);

/* Time since the module started, in seconds (resolution 1/1024 s). */
ORVEX_EXPORT int32_t Orvex_GetUptime(double* seconds);

#ifdef __cplusplus
}
#endif

#endif /* ORVEX_H */
