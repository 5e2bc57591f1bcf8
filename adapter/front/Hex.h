// Bytes as hexadecimal text, the way the trace, the reply knob and the state
// file write them: two upper-case digits per byte.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarvish {

// "0x1F" for a command code.
std::string hexCode(std::uint8_t code);

// The bytes as pairs of digits joined by separator: "15 80 01".
std::string hexBytes(std::span<const std::uint8_t> bytes, std::string_view separator);

// Pairs of hex digits, either case, no separators; nothing for an odd count
// or a character that is not a hex digit.
std::optional<std::vector<std::uint8_t>> parseHexBytes(std::string_view text);

}  // namespace tarvish
