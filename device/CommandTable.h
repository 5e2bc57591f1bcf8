// The module's command table: every command code the library uses, with the
// number of data bytes a setting carries and the length of the response.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace orvex {

enum class Cmd : std::uint8_t {
  Identification,
  ProductId,
  ProductNumber,
  FirmwareVersion,
  FirmwareDate,
  Uptime,
  Supply5V,
  Supply3V,
  Temperature,
  ClockCpu,
  ClockPeripheral,
  ClockAdc,
  ClockDac,
  ClockFilter,
  OffsetRange,
  Offset,
  Lpf,
  HpfTau,
  Amplification,
  Polarity,
  Amplitude,
  Flt,
  MeasuredAmplitude,
  OperationMode,
};

struct CommandEntry {
  Cmd cmd;
  std::uint8_t codeX;       // the code for channel X (and for module-wide commands)
  bool perChannel;          // channel Y uses codeX + 1
  std::uint8_t dataBytes;   // data bytes after the code in a setting; 0 = read only
  std::uint8_t replyBytes;  // response length; for a text its maximum with terminator
  bool text;                // the response is a NUL-terminated text
};

inline constexpr std::array<CommandEntry, 24> kCommandTable{{
    {Cmd::Identification, 0x00, false, 0, 2, false},
    {Cmd::ProductId, 0x01, false, 0, 81, true},
    {Cmd::ProductNumber, 0x02, false, 0, 4, false},
    {Cmd::FirmwareVersion, 0x03, false, 0, 2, false},
    {Cmd::FirmwareDate, 0x04, false, 0, 16, true},
    {Cmd::Uptime, 0x05, false, 0, 6, false},
    {Cmd::Supply5V, 0x06, false, 0, 2, false},
    {Cmd::Supply3V, 0x07, false, 0, 2, false},
    {Cmd::Temperature, 0x08, false, 0, 2, false},
    {Cmd::ClockCpu, 0x09, false, 0, 4, false},
    {Cmd::ClockPeripheral, 0x0A, false, 0, 4, false},
    {Cmd::ClockAdc, 0x0B, false, 0, 4, false},
    {Cmd::ClockDac, 0x0C, false, 0, 4, false},
    {Cmd::ClockFilter, 0x0D, false, 0, 4, false},
    {Cmd::OffsetRange, 0x0E, false, 2, 2, false},
    {Cmd::Offset, 0x0F, true, 2, 2, false},
    {Cmd::Lpf, 0x11, true, 1, 3, false},
    {Cmd::HpfTau, 0x13, true, 1, 1, false},
    {Cmd::Amplification, 0x15, true, 2, 2, false},
    {Cmd::Polarity, 0x17, true, 1, 1, false},
    {Cmd::Amplitude, 0x19, true, 2, 2, false},
    {Cmd::Flt, 0x1B, true, 1, 3, false},
    {Cmd::MeasuredAmplitude, 0x1F, true, 0, 2, false},
    {Cmd::OperationMode, 0x21, true, 1, 1, false},
}};

constexpr const CommandEntry& entry(Cmd c) { return kCommandTable[static_cast<std::size_t>(c)]; }

// The table is indexed by Cmd; a row out of place is a build error.
constexpr bool tableInOrder() {
  for (std::size_t i = 0; i < kCommandTable.size(); ++i) {
    if (static_cast<std::size_t>(kCommandTable[i].cmd) != i) return false;
  }
  return true;
}
static_assert(tableInOrder());

// Decoded responses are received into a small buffer inside the call.
inline constexpr std::size_t kMaxDecodedReply = 8;
constexpr bool decodedRepliesFit() {
  for (const CommandEntry& s : kCommandTable) {
    if (!s.text && s.replyBytes > kMaxDecodedReply) return false;
  }
  return true;
}
static_assert(decodedRepliesFit());

// Channel X uses the odd code, channel Y the next even one; 0 selects X and
// every other selector Y.
constexpr std::uint8_t code(Cmd c, std::uint8_t channel) {
  const CommandEntry& s = entry(c);
  return static_cast<std::uint8_t>(s.codeX + ((s.perChannel && channel != 0) ? 1 : 0));
}

}  // namespace orvex
