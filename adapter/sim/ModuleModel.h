// The simulated Orvex module described as data: every command code it
// answers, how long its answer is, whether it can be set and with how many
// data bytes, its power-on value, and where its answer comes from. The
// module's protocol engine walks this table; nothing here is taken from the
// device library, so the simulator checks that library independently.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <vector>

namespace tarvish::sim {

// Where a register's answer comes from.
enum class Source : std::uint8_t {
  Constant,           // value, as replyBytes little-endian bytes
  Text,               // text
  Stored,             // the setting last written (value at power-on)
  FilterPair,         // Alpha (16 bits) and Beta; a setting writes Beta, the module derives Alpha
  Uptime,             // whole seconds (32 bits), then 1/1024 s (16 bits)
  Supply5V,           // millivolts
  Supply3V,           // millivolts
  Temperature,        // hundredths of a kelvin
  MeasuredAmplitude,  // millivolts, from the channel's amplitude loop
};

struct Register {
  const char* name;
  std::uint8_t code;        // the module-wide code, or channel X's
  bool perChannel;          // channel Y answers at code + 1
  std::uint8_t replyBytes;  // answer length; for a text its maximum, terminator included
  bool isSigned;            // the answer's integer reads as two's complement
  std::uint8_t dataBytes;   // data bytes a setting carries; 0 = read only
  Source source;
  std::uint32_t value;  // the constant answer, or a setting's power-on raw value
  const char* text;     // the text answer
};

// Every register of the module, ordered by code.
std::span<const Register> registers();

// The register a code addresses and its channel (0 = X, 1 = Y).
struct Addressed {
  const Register* reg;
  int channel;
};
std::optional<Addressed> lookup(std::uint8_t code);

// Every settable code (per-channel registers once per channel), each with the
// bytes it answers: the module's settings.
using Settings = std::map<std::uint8_t, std::vector<std::uint8_t>>;
Settings powerOnSettings();

// Fixed answers that replace the module's own for single query codes.
using Replies = std::map<std::uint8_t, std::vector<std::uint8_t>>;

}  // namespace tarvish::sim
