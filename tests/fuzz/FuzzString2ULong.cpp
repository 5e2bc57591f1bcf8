// String2ULong on arbitrary texts. The input up to its first NUL is the text.
// The result is compared with a conversion built on the C library's own
// strtoull: the same notation rules (postfix 'h' or 'b', sign, 0x prefix,
// blanks), a '-' negating modulo 2^32 and anything beyond 32 bits giving
// 0xFFFFFFFF. A failed conversion must leave the value untouched.
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Entry.h"
#include "FuzzCheck.h"

namespace {

struct Expected {
  int result;
  std::uint32_t value;
};

bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

Expected convert(const std::string& text) {
  if (text.empty()) return {-1, 0};
  const char postfix = text.back();
  const int base = postfix == 'h' ? 16 : postfix == 'b' ? 2 : 10;
  const std::size_t stop = base == 10 ? text.size() : text.size() - 1;

  std::size_t i = 0;
  while (i < text.size() && isBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // strtoull would take blanks and a sign of its own here; one sign is all.
  if (i == text.size() || isBlank(text[i]) || text[i] == '+' || text[i] == '-') return {-2, 0};

  const char* start = text.c_str() + i;
  char* end = nullptr;
  errno = 0;
  const unsigned long long magnitude = std::strtoull(start, &end, base);
  const bool tooLarge = errno == ERANGE || magnitude > 0xFFFFFFFFull;
  if (end == start) return {-2, 0};
  if (static_cast<std::size_t>(end - text.c_str()) != stop) return {-2, 0};
  if (tooLarge) return {0, 0xFFFFFFFFu};
  const auto number = static_cast<std::uint32_t>(magnitude);
  return {0, negative ? 0u - number : number};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::string text(input.c_str());  // up to the first NUL

  constexpr std::uint32_t kSentinel = 0xDEADBEEFu;
  std::uint32_t value = kSentinel;
  const int result = orvex::console::String2ULong(input.c_str(), value);

  FUZZ_CHECK(result == 0 || result == -1 || result == -2);
  if (result != 0) FUZZ_CHECK(value == kSentinel);

  const Expected expected = convert(text);
  FUZZ_CHECK(result == expected.result);
  if (result == 0) FUZZ_CHECK(value == expected.value);

  // Plain decimal numbers of up to nine digits always fit.
  if (!text.empty() && text.size() <= 9 &&
      text.find_first_not_of("0123456789") == std::string::npos) {
    FUZZ_CHECK(result == 0 && value == std::stoul(text));
  }
  return 0;
}
