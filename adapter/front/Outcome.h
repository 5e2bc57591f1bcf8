// The result of one adapter operation: a status and, on failure, the two
// texts the adapter reports for it.
#pragma once

#include <cstdint>
#include <string>

namespace tarvish {

// Status values; 0 is success.
inline constexpr std::int32_t kNoAcknowledge = -1;  // nothing answers in the selected slot
inline constexpr std::int32_t kRefused = -2;        // the module refused the transfer
inline constexpr std::int32_t kBadArgument = -3;    // the call's arguments cannot be used
inline constexpr std::int32_t kNotOpen = -4;        // the port was not opened
inline constexpr std::int32_t kPortError = -5;      // the port itself failed
inline constexpr std::int32_t kDefaultInjectedStatus = -100;

struct Outcome {
  std::int32_t status = 0;
  std::string message;    // what Tarvish_ErrorMessage reports
  std::string ioMessage;  // what Tarvish_IO_ErrorMessage reports

  bool ok() const { return status == 0; }
};

inline Outcome success() { return {}; }

inline Outcome failure(std::int32_t status, std::string message, std::string ioMessage) {
  return {status, std::move(message), std::move(ioMessage)};
}

}  // namespace tarvish
