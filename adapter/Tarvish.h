/*
 * Tarvish: the parallel-port-to-I2C adapter through which the computer
 * reaches the Orvex module on the ZPB bus.
 *
 * Every function but Tarvish_Version and the two error-text functions returns
 * a status: 0 = success, any other value = failure. Callers never decode a
 * status; they report it with Tarvish_ErrorMessage and Tarvish_IO_ErrorMessage.
 */
#ifndef TARVISH_H
#define TARVISH_H

#include <stdint.h>

/* Windows: the functions are imported from Tarvish.dll, and exported by
 * whatever is built to be that DLL (TARVISH_BUILDING_LIBRARY). Elsewhere
 * they are the library's visible symbols. */
#if defined(_WIN32)
#if defined(TARVISH_BUILDING_LIBRARY)
#define TARVISH_EXPORT __declspec(dllexport)
#else
#define TARVISH_EXPORT __declspec(dllimport)
#endif
#elif defined(__GNUC__)
#define TARVISH_EXPORT __attribute__((visibility("default")))
#else
#define TARVISH_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The bus port addressed by checks and transfers; always 1. */
#define TARVISH_PORT 1
/* Slot functions: address the module slot (1) and leave the bus master as is (0). */
#define TARVISH_SLOT_MODULE 1
#define TARVISH_SLOT_KEEP 0
/* The final flag of a transfer: 0 when the very next transfer reads the
 * answer, 1 on the last transfer of a transaction. */
#define TARVISH_MORE 0
#define TARVISH_FINAL 1

/* Version word: high byte major, low byte minor (0x0100 = 1.00). Usable
 * before the port is opened. */
TARVISH_EXPORT uint16_t Tarvish_Version(void);

/* Opens the port; called once. There is no close call. */
TARVISH_EXPORT int32_t Tarvish_Open(void);

/* Empties the adapter's communication buffers so that the next transaction
 * starts clean. */
TARVISH_EXPORT int32_t Tarvish_Flush_LPT(void);

/* Called as (slot, TARVISH_SLOT_MODULE, TARVISH_SLOT_KEEP). On status 0,
 * *slot holds the selected ZPB slot. */
TARVISH_EXPORT int32_t Tarvish_GetSlot(uint8_t* slot, int32_t kind, int32_t mode);

/* Called as (slot, TARVISH_SLOT_MODULE, TARVISH_SLOT_KEEP). Later checks and
 * transfers reach the module in that slot. */
TARVISH_EXPORT int32_t Tarvish_SetSlot(uint8_t slot, int32_t kind, int32_t mode);

/* Text on the last failure, NUL-terminated, owned by the adapter library and
 * valid until the next call into it. */
TARVISH_EXPORT const char* Tarvish_ErrorMessage(void);

/* The same for the last port input/output error. */
TARVISH_EXPORT const char* Tarvish_IO_ErrorMessage(void);

/* Called as (TARVISH_PORT, present). On status 0, *present is non-zero when a
 * module answers in the selected slot, else 0. */
TARVISH_EXPORT int32_t Tarvish_Check(int32_t port, uint8_t* present);

/* data[0..count-1] reach the module in that order. */
TARVISH_EXPORT int32_t Tarvish_Send(int32_t port, const uint8_t* data, int32_t count,
                                    int32_t final);

/* buffer[0..count-1] receive the module's bytes in arrival order. */
TARVISH_EXPORT int32_t Tarvish_Receive(int32_t port, uint8_t* buffer, int32_t count, int32_t final);

/* buffer receives the module's text, NUL-terminated, at most maxLength bytes
 * including the terminator. */
TARVISH_EXPORT int32_t Tarvish_ReceiveString(int32_t port, char* buffer, int32_t maxLength,
                                             int32_t final);

#ifdef __cplusplus
}
#endif

#endif /* TARVISH_H */
