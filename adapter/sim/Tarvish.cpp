// The adapter functions over a simulated module in slot 0 (first version).
#include "Tarvish.h"
#include "TarvishExport.h"

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "CommandTable.h"

namespace {

struct State {
  std::uint8_t slot = 0;
  std::string error = "No error";
  std::string ioError = "No error";
  int pending = -1;
  std::map<std::uint8_t, std::vector<std::uint8_t>> regs;
};

State& state() {
  static State s;
  return s;
}

const orvex::CommandSpec* find(std::uint8_t code) {
  for (const auto& s : orvex::kCommandTable) {
    if (s.codeX == code || (s.perChannel && s.codeX + 1 == code)) return &s;
  }
  return nullptr;
}

int32_t fail(const std::string& text) {
  state().error = text;
  state().ioError = "I2C transfer refused";
  state().pending = -1;
  return -1;
}

}  // namespace

TARVISH_API uint16_t Tarvish_Version(void) { return 0x0100; }
TARVISH_API int32_t Tarvish_Open(void) { return 0; }
TARVISH_API int32_t Tarvish_Flush_LPT(void) {
  state().pending = -1;
  return 0;
}
TARVISH_API int32_t Tarvish_GetSlot(uint8_t* slot, int32_t, int32_t) {
  if (slot == nullptr) return fail("Null slot pointer");
  *slot = state().slot;
  return 0;
}
TARVISH_API int32_t Tarvish_SetSlot(uint8_t slot, int32_t, int32_t) {
  state().slot = slot;
  return 0;
}
TARVISH_API const char* Tarvish_ErrorMessage(void) { return state().error.c_str(); }
TARVISH_API const char* Tarvish_IO_ErrorMessage(void) { return state().ioError.c_str(); }
TARVISH_API int32_t Tarvish_Check(int32_t, uint8_t* present) {
  if (present == nullptr) return fail("Null pointer");
  *present = state().slot == 0 ? 1 : 0;
  return 0;
}
TARVISH_API int32_t Tarvish_Send(int32_t, const uint8_t* data, int32_t count, int32_t final) {
  if (state().slot != 0) return fail("No acknowledge from slot " + std::to_string(state().slot));
  if (data == nullptr || count <= 0) return fail("Nothing to send");
  const orvex::CommandSpec* s = find(data[0]);
  if (s == nullptr) return fail("Unknown command code");
  if (count == 1 && final == 0) {
    state().pending = data[0];
    return 0;
  }
  if (final != 1 || s->dataBytes == 0 || count != 1 + s->dataBytes) return fail("Malformed setting");
  state().regs[data[0]] = std::vector<std::uint8_t>(data + 1, data + count);
  state().pending = -1;
  return 0;
}
TARVISH_API int32_t Tarvish_Receive(int32_t, uint8_t* buffer, int32_t count, int32_t) {
  if (state().pending < 0 || buffer == nullptr) return fail("No pending query");
  const std::uint8_t code = static_cast<std::uint8_t>(state().pending);
  const orvex::CommandSpec* s = find(code);
  state().pending = -1;
  if (s->text || count != s->replyBytes) return fail("Wrong reply length");
  std::memset(buffer, 0, static_cast<std::size_t>(count));
  if (code == 0x00) {
    buffer[0] = 0x47;
    buffer[1] = 0x96;
  }
  auto it = state().regs.find(code);
  if (it != state().regs.end()) std::memcpy(buffer, it->second.data(), std::min<std::size_t>(it->second.size(), static_cast<std::size_t>(count)));
  return 0;
}
TARVISH_API int32_t Tarvish_ReceiveString(int32_t, char* buffer, int32_t maxLength, int32_t) {
  if (state().pending < 0 || buffer == nullptr || maxLength < 1) return fail("No pending text query");
  const std::uint8_t code = static_cast<std::uint8_t>(state().pending);
  state().pending = -1;
  const std::string text = code == 0x01 ? "Orvex two-channel signal module, simulated" : "Nov 27 2026";
  const std::size_t n = std::min(text.size(), static_cast<std::size_t>(maxLength - 1));
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return 0;
}
