// The adapter library's eleven functions. Each hands its call to the one
// adapter of the process, which is put together from the environment when
// the library loads.
#include "Tarvish.h"

#include "ProcessAdapter.h"
#include "TarvishExport.h"

namespace {

using tarvish::processAdapter;

tarvish::Adapter& adapter() { return processAdapter(); }

// The knobs are read, and a simulated module powers on, when the library loads.
[[maybe_unused]] const bool loaded = (adapter(), true);

}  // namespace

TARVISH_API uint16_t Tarvish_Version(void) { return adapter().version(); }

TARVISH_API int32_t Tarvish_Open(void) { return adapter().open(); }

TARVISH_API int32_t Tarvish_Flush_LPT(void) { return adapter().flush(); }

TARVISH_API int32_t Tarvish_GetSlot(uint8_t* slot, int32_t kind, int32_t mode) {
  return adapter().getSlot(slot, kind, mode);
}

TARVISH_API int32_t Tarvish_SetSlot(uint8_t slot, int32_t kind, int32_t mode) {
  return adapter().setSlot(slot, kind, mode);
}

TARVISH_API const char* Tarvish_ErrorMessage(void) { return adapter().errorMessage(); }

TARVISH_API const char* Tarvish_IO_ErrorMessage(void) { return adapter().ioErrorMessage(); }

TARVISH_API int32_t Tarvish_Check(int32_t port, uint8_t* present) {
  return adapter().check(port, present);
}

TARVISH_API int32_t Tarvish_Send(int32_t port, const uint8_t* data, int32_t count, int32_t final) {
  return adapter().send(port, data, count, final);
}

TARVISH_API int32_t Tarvish_Receive(int32_t port, uint8_t* buffer, int32_t count, int32_t final) {
  return adapter().receive(port, buffer, count, final);
}

TARVISH_API int32_t Tarvish_ReceiveString(int32_t port, char* buffer, int32_t maxLength,
                                          int32_t final) {
  return adapter().receiveString(port, buffer, maxLength, final);
}
