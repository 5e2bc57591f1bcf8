// An adapter whose every answer comes from the fuzzer's bytes: the status of
// each call, the present flag, the bytes of a receive and the text of a
// string receive, and what a failing receive leaves in the caller's buffer.
// The fuzzer defines the eleven adapter functions itself and exports them,
// so the device library loaded next to it calls this adapter.
//
// It behaves as a real adapter may and no worse: a receive writes exactly
// count bytes, a string receive at most maxLength bytes with the terminator.
// It also checks the protocol as the library must drive it; a breach aborts
// the run:
//   - port 1 on every check and transfer, final 0 or 1;
//   - a send of 1 to 3 bytes; a receive of 1 to 6 bytes, or a string
//     receive into the text buffer of the running export, at most its size;
//   - every receive answers a send with final 0 and is itself final;
//   - nothing after the final transfer or after a failed call, and at most
//     three calls per export; the export returns the failed call's status.
#pragma once

#include <cstddef>
#include <cstdint>

#include <fuzzer/FuzzedDataProvider.h>

namespace orvex::fuzz {

class FuzzedAdapter {
 public:
  // Starts one export: answers come from input; text and capacity are the
  // caller's text buffer for a text query (nullptr and 0 otherwise).
  void begin(FuzzedDataProvider& input, char* text, std::size_t capacity);
  // Ends the export with its return value and checks it against the calls.
  // True when a call failed.
  bool end(std::int32_t returned);
  std::size_t calls() const { return calls_; }

  // Used by the adapter function definitions.
  std::int32_t check(std::int32_t port, std::uint8_t* present);
  std::int32_t send(std::int32_t port, const std::uint8_t* data, std::int32_t count,
                    std::int32_t final);
  std::int32_t receive(std::int32_t port, std::uint8_t* buffer, std::int32_t count,
                       std::int32_t final);
  std::int32_t receiveString(std::int32_t port, char* buffer, std::int32_t maxLength,
                             std::int32_t final);
  // Calls the library must never make.
  [[noreturn]] void unexpected(const char* function);

 private:
  // Counts a transfer and decides its status; a failure ends the export.
  std::int32_t enter(std::int32_t port, std::int32_t final);

  FuzzedDataProvider* input_ = nullptr;
  char* text_ = nullptr;
  std::size_t capacity_ = 0;
  std::size_t calls_ = 0;
  bool awaitingAnswer_ = false;  // the last send had final 0
  bool finished_ = false;        // a final transfer or a failure happened
  bool failed_ = false;
  std::int32_t failStatus_ = 0;
};

FuzzedAdapter& adapter();

}  // namespace orvex::fuzz
