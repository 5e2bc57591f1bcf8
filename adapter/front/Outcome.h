// The result of one adapter operation: a status and, on failure, the two
// texts the adapter reports for it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tarvish {

// Status values; 0 is success. Each kind of failure has a status of its own.
inline constexpr std::int32_t kNoAcknowledge = -1;      // nothing answers in the selected slot
inline constexpr std::int32_t kRefused = -2;            // the transfer breaks the transaction rules
inline constexpr std::int32_t kBadArgument = -3;        // the call's arguments cannot be used
inline constexpr std::int32_t kNotOpen = -4;            // the port was not opened
inline constexpr std::int32_t kPortError = -5;          // any other input/output error of the port
inline constexpr std::int32_t kTimeout = -6;            // the bus transfer took too long
inline constexpr std::int32_t kBusBusy = -7;            // arbitration lost, or the bus stayed busy
inline constexpr std::int32_t kNotSupported = -8;       // the adapter cannot do this transfer
inline constexpr std::int32_t kAdapterGone = -9;        // the adapter was removed or suspended
inline constexpr std::int32_t kIncomplete = -10;        // fewer messages done than asked
inline constexpr std::int32_t kNoSuchBus = -11;         // open: the bus does not exist
inline constexpr std::int32_t kPermissionDenied = -12;  // open: no right to use the device
inline constexpr std::int32_t kNotI2cDevice = -13;      // open: the path is no I2C device
inline constexpr std::int32_t kNoPlainI2c = -14;        // open: the adapter lacks plain I2C
inline constexpr std::int32_t kBadSelection = -15;  // open: the bus or address knob is malformed
inline constexpr std::int32_t kDefaultInjectedStatus = -100;

struct StatusInfo {
  std::int32_t status;
  const char* meaning;
};

// Every status the adapter reports of its own, for documentation and checks.
inline constexpr std::array<StatusInfo, 16> kStatusTable{{
    {kNoAcknowledge, "no acknowledge: no module answers in the selected slot"},
    {kRefused, "refused: the transfer breaks the transaction rules"},
    {kBadArgument, "bad argument"},
    {kNotOpen, "port not open"},
    {kPortError, "other input/output error"},
    {kTimeout, "timeout on the bus"},
    {kBusBusy, "arbitration lost or bus busy"},
    {kNotSupported, "transfer not supported by the adapter"},
    {kAdapterGone, "adapter gone or suspended"},
    {kIncomplete, "incomplete transfer: fewer messages done than asked"},
    {kNoSuchBus, "no such bus"},
    {kPermissionDenied, "permission denied on the bus device"},
    {kNotI2cDevice, "not an I2C device"},
    {kNoPlainI2c, "the adapter cannot do plain I2C transfers"},
    {kBadSelection, "malformed bus or address selection"},
    {kDefaultInjectedStatus, "injected failure (default)"},
}};

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
