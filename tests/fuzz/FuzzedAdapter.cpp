#include "FuzzedAdapter.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "Tarvish.h"
#include "TarvishExport.h"

namespace orvex::fuzz {

namespace {

constexpr std::size_t kMaxCalls = 3;     // the check, the send, the receive
constexpr std::int32_t kMaxSend = 3;     // code and two data bytes
constexpr std::int32_t kMaxReceive = 6;  // the longest fixed-size response, the uptime

}  // namespace

void FuzzedAdapter::begin(FuzzedDataProvider& input, char* text, std::size_t capacity) {
  *this = FuzzedAdapter{};
  input_ = &input;
  text_ = text;
  capacity_ = capacity;
}

bool FuzzedAdapter::end(std::int32_t returned) {
  if (failed_) {
    FUZZ_CHECK(returned == failStatus_);
  } else {
    FUZZ_CHECK(returned == 0);
    FUZZ_CHECK(!awaitingAnswer_);
  }
  input_ = nullptr;
  return failed_;
}

std::int32_t FuzzedAdapter::enter(std::int32_t port, std::int32_t final) {
  FUZZ_CHECK(input_ != nullptr);
  FUZZ_CHECK(port == TARVISH_PORT);
  FUZZ_CHECK(final == TARVISH_MORE || final == TARVISH_FINAL);
  FUZZ_CHECK(!finished_);
  FUZZ_CHECK(calls_ < kMaxCalls);
  ++calls_;
  // One call in eight fails, with any status but 0. Once the input is used
  // up, every call succeeds.
  if (input_->ConsumeIntegral<std::uint8_t>() % 8 == 7) {
    failed_ = true;
    finished_ = true;
    failStatus_ = input_->ConsumeIntegral<std::int32_t>();
    if (failStatus_ == 0) failStatus_ = -1;
    return failStatus_;
  }
  if (final == TARVISH_FINAL) finished_ = true;
  return 0;
}

std::int32_t FuzzedAdapter::check(std::int32_t port, std::uint8_t* present) {
  FUZZ_CHECK(calls_ == 0);
  const std::int32_t status = enter(port, TARVISH_MORE);
  // A failing check may leave anything in the flag.
  *present = input_->ConsumeBool() ? 0 : input_->ConsumeIntegral<std::uint8_t>();
  return status;
}

std::int32_t FuzzedAdapter::send(std::int32_t port, const std::uint8_t* data, std::int32_t count,
                                 std::int32_t final) {
  FUZZ_CHECK(!awaitingAnswer_);
  FUZZ_CHECK(data != nullptr && count >= 1 && count <= kMaxSend);
  // A query sends its code alone and reads the answer; a setting sends the
  // code and one or two data bytes, finally. The codes run from 0x00 to
  // 0x22, without 0x1D and 0x1E. Copying the request reads every byte of it,
  // so that a request shorter than its count shows.
  FUZZ_CHECK(final == TARVISH_MORE ? count == 1 : count >= 2);
  const std::vector<std::uint8_t> request(data, data + count);
  FUZZ_CHECK(request[0] <= 0x22 && request[0] != 0x1D && request[0] != 0x1E);
  const std::int32_t status = enter(port, final);
  awaitingAnswer_ = status == 0 && final == TARVISH_MORE;
  return status;
}

std::int32_t FuzzedAdapter::receive(std::int32_t port, std::uint8_t* buffer, std::int32_t count,
                                    std::int32_t final) {
  FUZZ_CHECK(awaitingAnswer_ && final == TARVISH_FINAL);
  FUZZ_CHECK(buffer != nullptr && count >= 1 && count <= kMaxReceive);
  awaitingAnswer_ = false;
  const std::int32_t status = enter(port, final);
  // Exactly count bytes, on success the response, on failure whatever the
  // adapter got before it failed.
  const auto n = static_cast<std::size_t>(count);
  std::vector<std::uint8_t> bytes = input_->ConsumeBytes<std::uint8_t>(n);
  bytes.resize(n);
  std::memcpy(buffer, bytes.data(), n);
  return status;
}

std::int32_t FuzzedAdapter::receiveString(std::int32_t port, char* buffer, std::int32_t maxLength,
                                          std::int32_t final) {
  FUZZ_CHECK(awaitingAnswer_ && final == TARVISH_FINAL);
  // Only a text query receives a text, into the caller's buffer, and asks
  // for no more than that buffer holds.
  FUZZ_CHECK(text_ != nullptr && buffer == text_);
  FUZZ_CHECK(maxLength >= 1 && static_cast<std::size_t>(maxLength) == capacity_);
  awaitingAnswer_ = false;
  const std::int32_t status = enter(port, final);
  const auto max = static_cast<std::size_t>(maxLength);
  if (status != 0) {
    // A failure may leave an unterminated part of the text.
    const std::string left =
        input_->ConsumeBytesAsString(input_->ConsumeIntegralInRange<std::size_t>(0, max));
    std::memcpy(buffer, left.data(), left.size());
    return status;
  }
  // The module's text, NUL bytes and all, cut so that it fits with its
  // terminator.
  const std::string text = input_->ConsumeRandomLengthString(2 * max);
  const std::size_t n = std::min(text.size(), max - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return 0;
}

void FuzzedAdapter::unexpected(const char* function) {
  std::fprintf(stderr, "the device library called %s\n", function);
  std::abort();
}

FuzzedAdapter& adapter() {
  static FuzzedAdapter instance;
  return instance;
}

}  // namespace orvex::fuzz

// ---- The adapter functions, standing in for the adapter library's ---------

using orvex::fuzz::adapter;

// The device library never opens the port, selects a slot, flushes or asks
// for versions and error texts; those belong to the application.
TARVISH_API uint16_t Tarvish_Version(void) { adapter().unexpected("Tarvish_Version"); }
TARVISH_API int32_t Tarvish_Open(void) { adapter().unexpected("Tarvish_Open"); }
TARVISH_API int32_t Tarvish_Flush_LPT(void) { adapter().unexpected("Tarvish_Flush_LPT"); }
TARVISH_API int32_t Tarvish_GetSlot(uint8_t*, int32_t, int32_t) {
  adapter().unexpected("Tarvish_GetSlot");
}
TARVISH_API int32_t Tarvish_SetSlot(uint8_t, int32_t, int32_t) {
  adapter().unexpected("Tarvish_SetSlot");
}
TARVISH_API const char* Tarvish_ErrorMessage(void) { adapter().unexpected("Tarvish_ErrorMessage"); }
TARVISH_API const char* Tarvish_IO_ErrorMessage(void) {
  adapter().unexpected("Tarvish_IO_ErrorMessage");
}

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
