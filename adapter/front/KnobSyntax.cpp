#include "KnobSyntax.h"

#include <charconv>

namespace tarvish {

std::string quote(std::string_view value) {
  std::string quoted;
  quoted.reserve(value.size() + 2);
  quoted.push_back('\'');
  quoted.append(value);
  quoted.push_back('\'');
  return quoted;
}

std::optional<std::uint64_t> parseUnsigned(std::string_view text) {
  int base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    text.remove_prefix(2);
    base = 16;
  }
  std::uint64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [last, error] = std::from_chars(text.data(), end, value, base);
  if (text.empty() || error != std::errc() || last != end) return std::nullopt;
  return value;
}

std::vector<std::string_view> splitList(std::string_view text) {
  std::vector<std::string_view> items;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    items.push_back(text.substr(start, comma - start));
    if (comma == std::string_view::npos) return items;
    start = comma + 1;
  }
}

}  // namespace tarvish
