// An adapter library that does nothing: every call succeeds at once. Built
// under the adapter library's name and soname, so that a program linked
// against the device library can load it in place of the real adapter and
// measure what the device library itself costs.
#include "Tarvish.h"
#include "TarvishExport.h"

TARVISH_API uint16_t Tarvish_Version(void) { return 0x0100; }

TARVISH_API int32_t Tarvish_Open(void) { return 0; }

TARVISH_API int32_t Tarvish_Flush_LPT(void) { return 0; }

TARVISH_API int32_t Tarvish_GetSlot(uint8_t* slot, int32_t, int32_t) {
  *slot = 0;
  return 0;
}

TARVISH_API int32_t Tarvish_SetSlot(uint8_t, int32_t, int32_t) { return 0; }

TARVISH_API const char* Tarvish_ErrorMessage(void) { return ""; }

TARVISH_API const char* Tarvish_IO_ErrorMessage(void) { return ""; }

// A module always answers.
TARVISH_API int32_t Tarvish_Check(int32_t, uint8_t* present) {
  *present = 1;
  return 0;
}

TARVISH_API int32_t Tarvish_Send(int32_t, const uint8_t*, int32_t, int32_t) { return 0; }

// The response bytes are left as they are.
TARVISH_API int32_t Tarvish_Receive(int32_t, uint8_t*, int32_t, int32_t) { return 0; }

// An empty text.
TARVISH_API int32_t Tarvish_ReceiveString(int32_t, char* buffer, int32_t maxLength, int32_t) {
  if (maxLength > 0) buffer[0] = '\0';
  return 0;
}
