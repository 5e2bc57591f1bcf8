#include "Entry.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace orvex::console {

namespace {

bool isBlank(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool isDigit(int c) { return c >= '0' && c <= '9'; }

// Skips blanks and line ends; false when the input ends first.
bool skipBlanks(Terminal& term) {
  for (;;) {
    const int c = term.entryPeek();
    if (c == kEntryEnd) {
      // Taking the end lets a terminal give lines again to later entries.
      term.entryGet();
      return false;
    }
    if (!isBlank(c)) return true;
    term.entryGet();
  }
}

// Takes an optional sign; true for '-'.
bool takeSign(Terminal& term) {
  const int c = term.entryPeek();
  if (c == '+' || c == '-') {
    term.entryGet();
    return c == '-';
  }
  return false;
}

// An entry that does not begin with a number stores nothing. On a terminal
// the rest of its line goes, so that the next entry waits for a new line.
EntryResult notNumber(Terminal& term) {
  term.discardEntryLine();
  return EntryResult::NotNumber;
}

int digitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 99;
}

}  // namespace

EntryResult readInteger(Terminal& term, int& value) {
  if (!skipBlanks(term)) return EntryResult::End;
  const bool negative = takeSign(term);
  long long magnitude = 0;
  bool any = false;
  while (isDigit(term.entryPeek())) {
    const int digit = term.entryGet() - '0';
    any = true;
    if (magnitude <= INT_MAX) magnitude = magnitude * 10 + digit;
  }
  if (!any) return notNumber(term);
  const long long signedValue = negative ? -magnitude : magnitude;
  value = static_cast<int>(signedValue > INT_MAX   ? INT_MAX
                           : signedValue < INT_MIN ? INT_MIN
                                                   : signedValue);
  return EntryResult::Value;
}

// The digits of a real number, kept as significant digits and a power of
// ten. Digits beyond what a float can ever need only matter as "more than
// zero", so they are kept as one sticky digit.
class RealDigits {
 public:
  // One digit of the whole part (fraction false) or of the fraction.
  void add(int digit, bool fraction) {
    if (mantissa_.empty() && digit == 0) {
      if (fraction) --exponent_;  // a leading zero of the fraction only scales
      return;
    }
    if (mantissa_.size() < kKept) {
      mantissa_.push_back(static_cast<char>('0' + digit));
      if (fraction) --exponent_;
    } else {
      if (!fraction) ++exponent_;
      sticky_ = sticky_ || digit != 0;
    }
  }
  void scale(long long power) { exponent_ += power; }

  float value(bool negative) const {
    if (mantissa_.empty()) return negative ? -0.0f : 0.0f;
    std::string text = negative ? "-" : "";
    text += mantissa_;
    long long exponent = exponent_;
    if (sticky_) {
      text.push_back('1');
      --exponent;
    }
    // Far beyond the float range either way; strtof gives 0 or infinity.
    exponent = std::clamp(exponent, -kExponentLimit, kExponentLimit);
    text += "e" + std::to_string(exponent);
    return std::strtof(text.c_str(), nullptr);
  }

 private:
  // More significant digits than any float's correct rounding depends on.
  static constexpr std::size_t kKept = 200;
  static constexpr long long kExponentLimit = 100000;
  std::string mantissa_;
  long long exponent_ = 0;
  bool sticky_ = false;
};

EntryResult readReal(Terminal& term, float& value) {
  if (!skipBlanks(term)) return EntryResult::End;
  const bool negative = takeSign(term);
  RealDigits number;
  bool any = false;
  while (isDigit(term.entryPeek())) {
    number.add(term.entryGet() - '0', false);
    any = true;
  }
  if (term.entryPeek() == '.') {
    term.entryGet();
    while (isDigit(term.entryPeek())) {
      number.add(term.entryGet() - '0', true);
      any = true;
    }
  }
  if (!any) return notNumber(term);
  const int e = term.entryPeek();
  if (e == 'e' || e == 'E') {
    term.entryGet();
    const bool negativeExponent = takeSign(term);
    long long exponent = 0;
    while (isDigit(term.entryPeek())) {
      const int digit = term.entryGet() - '0';
      if (exponent < 1000000000) exponent = exponent * 10 + digit;
    }
    number.scale(negativeExponent ? -exponent : exponent);
  }
  value = number.value(negative);
  return EntryResult::Value;
}

EntryResult readWord(Terminal& term, std::string& word, std::size_t maxLength) {
  if (!skipBlanks(term)) return EntryResult::End;
  word.clear();
  while (word.size() < maxLength) {
    const int c = term.entryPeek();
    if (c == kEntryEnd || isBlank(c)) break;
    word.push_back(static_cast<char>(term.entryGet()));
  }
  return EntryResult::Value;
}

int String2ULong(const char* text, std::uint32_t& value) {
  if (text == nullptr || *text == '\0') return -1;
  const char* end = text;
  while (*end != '\0') ++end;
  const char postfix = end[-1];
  const int base = postfix == 'h' ? 16 : postfix == 'b' ? 2 : 10;

  const char* p = text;
  while (isBlank(static_cast<unsigned char>(*p))) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  if (base == 16 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && digitValue(p[2]) < 16) {
    p += 2;
  }
  const char* digitsStart = p;
  std::uint64_t number = 0;
  bool overflow = false;
  for (; digitValue(*p) < base; ++p) {
    number = number * base + static_cast<std::uint64_t>(digitValue(*p));
    if (number > 0xFFFFFFFFu) {
      overflow = true;
      number = 0xFFFFFFFFu;
    }
  }
  if (p == digitsStart) return -2;
  const char* expectedStop = base == 10 ? end : end - 1;
  if (p != expectedStop) return -2;
  if (overflow) {
    value = 0xFFFFFFFFu;
  } else {
    value = static_cast<std::uint32_t>(negative ? 0u - number : number);
  }
  return 0;
}

void endEntryLine() { std::printf("\n"); }

bool EnterChannel(Terminal& term, std::uint8_t& channel) {
  std::printf("Enter the channel number (X=%d, Y=%d): ", 0, 1);
  int entered = 0;
  const EntryResult result = readInteger(term, entered);
  if (result == EntryResult::End) {
    endEntryLine();
    return false;
  }
  if (entered < 0 || entered > 1) {
    std::printf("Wrong value specified!\n");
    return false;
  }
  channel = static_cast<std::uint8_t>(entered);
  return true;
}

}  // namespace orvex::console
