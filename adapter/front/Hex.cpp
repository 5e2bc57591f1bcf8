#include "Hex.h"

namespace tarvish {

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

void appendByte(std::string& out, std::uint8_t b) {
  out += kDigits[b >> 4];
  out += kDigits[b & 0x0F];
}

int digitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string hexCode(std::uint8_t code) {
  std::string out = "0x";
  appendByte(out, code);
  return out;
}

std::string hexBytes(std::span<const std::uint8_t> bytes, std::string_view separator) {
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i != 0) out += separator;
    appendByte(out, bytes[i]);
  }
  return out;
}

std::optional<std::vector<std::uint8_t>> parseHexBytes(std::string_view text) {
  if (text.size() % 2 != 0) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    const int high = digitValue(text[i]);
    const int low = digitValue(text[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
  }
  return bytes;
}

}  // namespace tarvish
