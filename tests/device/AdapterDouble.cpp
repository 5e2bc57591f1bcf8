#include "AdapterDouble.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "Tarvish.h"
#include "TarvishExport.h"

namespace orvex::test {

namespace {

const char* fnName(Fn fn) {
  static constexpr const char* kNames[] = {
      "Version",         "Open",  "Flush_LPT", "GetSlot", "SetSlot",       "ErrorMessage",
      "IO_ErrorMessage", "Check", "Send",      "Receive", "ReceiveString",
  };
  return kNames[static_cast<int>(fn)];
}

}  // namespace

void PrintTo(const Call& call, std::ostream* os) {
  *os << fnName(call.fn) << "(port " << call.port << ", sent {";
  for (std::size_t i = 0; i < call.sent.size(); ++i) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    *os << (i ? " " : "") << kHex[call.sent[i] >> 4] << kHex[call.sent[i] & 0xF];
  }
  *os << "}, count " << call.count << ", final " << call.final << ")";
}

Call checkCall() { return {Fn::Check, TARVISH_PORT, {}, -1, -1}; }

Call sendCall(std::vector<std::uint8_t> bytes, std::int32_t final) {
  const auto count = static_cast<std::int32_t>(bytes.size());
  return {Fn::Send, TARVISH_PORT, std::move(bytes), count, final};
}

Call receiveCall(std::int32_t count, std::int32_t final) {
  return {Fn::Receive, TARVISH_PORT, {}, count, final};
}

Call receiveStringCall(std::int32_t maxLength, std::int32_t final) {
  return {Fn::ReceiveString, TARVISH_PORT, {}, maxLength, final};
}

void AdapterDouble::reset() { *this = AdapterDouble{}; }

void AdapterDouble::reply(std::vector<std::uint8_t> bytes) { replies_.push_back(std::move(bytes)); }

void AdapterDouble::replyText(std::string text) { texts_.push_back(std::move(text)); }

void AdapterDouble::setPresent(std::uint8_t present) { present_ = present; }

void AdapterDouble::failCall(std::size_t nth, std::int32_t status,
                             std::optional<std::uint8_t> marker) {
  failAt_ = calls_.size() + nth;
  failStatus_ = status;
  marker_ = marker;
}

std::optional<std::int32_t> AdapterDouble::record(Call call) {
  calls_.push_back(std::move(call));
  if (calls_.size() == failAt_) return failStatus_;
  return std::nullopt;
}

std::vector<std::uint8_t> AdapterDouble::nextReply() {
  if (replies_.empty()) return {};
  std::vector<std::uint8_t> bytes = std::move(replies_.front());
  replies_.pop_front();
  return bytes;
}

std::string AdapterDouble::nextText() {
  if (texts_.empty()) return {};
  std::string text = std::move(texts_.front());
  texts_.pop_front();
  return text;
}

AdapterDouble& adapter() {
  static AdapterDouble instance;
  return instance;
}

}  // namespace orvex::test

// ---- The adapter functions, standing in for the adapter library's ---------

using orvex::test::adapter;
using orvex::test::Call;
using orvex::test::Fn;

namespace {

// A call that carries no bytes and no count.
Call bare(Fn fn, std::int32_t port = -1) { return {fn, port, {}, -1, -1}; }

}  // namespace

TARVISH_API uint16_t Tarvish_Version(void) {
  adapter().record(bare(Fn::Version));
  return 0x0100;
}

TARVISH_API int32_t Tarvish_Open(void) { return adapter().record(bare(Fn::Open)).value_or(0); }

TARVISH_API int32_t Tarvish_Flush_LPT(void) {
  return adapter().record(bare(Fn::FlushLpt)).value_or(0);
}

TARVISH_API int32_t Tarvish_GetSlot(uint8_t* slot, int32_t, int32_t) {
  if (const auto failed = adapter().record(bare(Fn::GetSlot))) return *failed;
  *slot = 1;
  return 0;
}

TARVISH_API int32_t Tarvish_SetSlot(uint8_t, int32_t, int32_t) {
  return adapter().record(bare(Fn::SetSlot)).value_or(0);
}

TARVISH_API const char* Tarvish_ErrorMessage(void) {
  adapter().record(bare(Fn::ErrorMessage));
  return "adapter double";
}

TARVISH_API const char* Tarvish_IO_ErrorMessage(void) {
  adapter().record(bare(Fn::IoErrorMessage));
  return "adapter double";
}

TARVISH_API int32_t Tarvish_Check(int32_t port, uint8_t* present) {
  if (const auto failed = adapter().record(bare(Fn::Check, port))) {
    if (const auto marker = adapter().marker()) *present = *marker;
    return *failed;
  }
  *present = adapter().present();
  return 0;
}

TARVISH_API int32_t Tarvish_Send(int32_t port, const uint8_t* data, int32_t count, int32_t final) {
  std::vector<uint8_t> sent;
  if (count > 0) sent.assign(data, data + count);
  return adapter().record({Fn::Send, port, std::move(sent), count, final}).value_or(0);
}

TARVISH_API int32_t Tarvish_Receive(int32_t port, uint8_t* buffer, int32_t count, int32_t final) {
  const std::size_t n = count > 0 ? static_cast<std::size_t>(count) : 0;
  if (const auto failed = adapter().record({Fn::Receive, port, {}, count, final})) {
    if (const auto marker = adapter().marker()) std::memset(buffer, *marker, n);
    return *failed;
  }
  const std::vector<uint8_t> bytes = adapter().nextReply();
  std::memset(buffer, 0, n);
  std::copy_n(bytes.begin(), std::min(n, bytes.size()), buffer);
  return 0;
}

TARVISH_API int32_t Tarvish_ReceiveString(int32_t port, char* buffer, int32_t maxLength,
                                          int32_t final) {
  const std::size_t max = maxLength > 0 ? static_cast<std::size_t>(maxLength) : 0;
  if (const auto failed = adapter().record({Fn::ReceiveString, port, {}, maxLength, final})) {
    if (const auto marker = adapter().marker()) std::memset(buffer, *marker, max);
    return *failed;
  }
  const std::string text = adapter().nextText();
  if (max == 0) return 0;
  const std::size_t n = std::min(text.size(), max - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return 0;
}
