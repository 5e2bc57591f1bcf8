// A recording stand-in for the adapter library. The test executable defines
// the eleven adapter functions itself and exports them, so the device library
// loaded next to it calls these definitions instead of the real adapter's.
// Windows has no such interposition: there the double is a Tarvish.dll of its
// own, loaded from the test program's folder, and the test program reaches
// the double through that DLL's exports (ADAPTER_DOUBLE_API).
//
// The double records every call, answers from a script (bytes for Receive,
// text for ReceiveString, the present flag for Check) and can fail the nth
// call with a chosen status, optionally leaving marker bytes in the buffer of
// a failed receive, as an adapter that failed halfway through might.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#if defined(_WIN32) && defined(TARVISH_BUILDING_LIBRARY)
#define ADAPTER_DOUBLE_API __declspec(dllexport)
#elif defined(_WIN32)
#define ADAPTER_DOUBLE_API __declspec(dllimport)
#else
#define ADAPTER_DOUBLE_API
#endif

namespace orvex::test {

enum class Fn {
  Version,
  Open,
  FlushLpt,
  GetSlot,
  SetSlot,
  ErrorMessage,
  IoErrorMessage,
  Check,
  Send,
  Receive,
  ReceiveString,
};

// One adapter call as the double saw it. count is the byte count of a
// transfer or the maximum of a text receive; fields a function does not have
// stay -1 (or empty).
struct Call {
  Fn fn;
  std::int32_t port = -1;
  std::vector<std::uint8_t> sent;
  std::int32_t count = -1;
  std::int32_t final = -1;
  bool operator==(const Call&) const = default;
};

ADAPTER_DOUBLE_API void PrintTo(const Call& call, std::ostream* os);

// The calls of the module protocol, as the tests expect them.
ADAPTER_DOUBLE_API Call checkCall();
ADAPTER_DOUBLE_API Call sendCall(std::vector<std::uint8_t> bytes, std::int32_t final);
ADAPTER_DOUBLE_API Call receiveCall(std::int32_t count, std::int32_t final);
ADAPTER_DOUBLE_API Call receiveStringCall(std::int32_t maxLength, std::int32_t final);

class ADAPTER_DOUBLE_API AdapterDouble {
 public:
  // Forgets calls, script and planned failure; Check will report a module.
  void reset();

  // The next Receive copies these bytes (at most its count; a shorter
  // script leaves the rest of the count zero).
  void reply(std::vector<std::uint8_t> bytes);
  // The next ReceiveString delivers this text, cut to maxLength - 1
  // characters and always terminated.
  void replyText(std::string text);
  // What Check stores in the caller's present flag.
  void setPresent(std::uint8_t present);
  // The nth call from now on (1-based, over all adapter functions) returns
  // status instead of doing its work. With a marker, a failing Receive fills
  // its count bytes, a failing ReceiveString its maxLength bytes and a
  // failing Check the present flag with it.
  void failCall(std::size_t nth, std::int32_t status,
                std::optional<std::uint8_t> marker = std::nullopt);

  const std::vector<Call>& calls() const { return calls_; }

  // Used by the adapter function definitions.
  std::optional<std::int32_t> record(Call call);
  std::optional<std::uint8_t> marker() const { return marker_; }
  std::vector<std::uint8_t> nextReply();
  std::string nextText();
  std::uint8_t present() const { return present_; }

 private:
  std::vector<Call> calls_;
  std::deque<std::vector<std::uint8_t>> replies_;
  std::deque<std::string> texts_;
  std::uint8_t present_ = 1;
  std::size_t failAt_ = 0;
  std::int32_t failStatus_ = 0;
  std::optional<std::uint8_t> marker_;
};

// The one double the adapter functions of this executable talk to.
ADAPTER_DOUBLE_API AdapterDouble& adapter();

}  // namespace orvex::test
