#include "Entry.h"

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

// Collects decimal digits into text, at most limit of them; the rest are
// consumed and counted. Returns the number of digits seen.
std::size_t takeDigits(Terminal& term, std::string& text, std::size_t limit) {
  std::size_t seen = 0;
  while (isDigit(term.entryPeek())) {
    const int c = term.entryGet();
    if (text.size() < limit) text.push_back(static_cast<char>(c));
    ++seen;
  }
  return seen;
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
  value = static_cast<int>(signedValue > INT_MAX ? INT_MAX
                           : signedValue < INT_MIN ? INT_MIN
                                                   : signedValue);
  return EntryResult::Value;
}

EntryResult readReal(Terminal& term, float& value) {
  // Enough digits for every float; a longer whole part only tells the size.
  constexpr std::size_t kDigits = 64;
  if (!skipBlanks(term)) return EntryResult::End;
  const bool negative = takeSign(term);
  std::string text = negative ? "-" : "";
  // Leading zeros carry no size.
  std::size_t digits = 0;
  while (term.entryPeek() == '0') {
    term.entryGet();
    ++digits;
  }
  const std::size_t significant = takeDigits(term, text, text.size() + kDigits);
  if (digits > 0 && significant == 0) text.push_back('0');
  digits += significant;
  long extraExponent = significant > kDigits ? static_cast<long>(significant - kDigits) : 0;
  if (term.entryPeek() == '.') {
    term.entryGet();
    // A fraction behind a whole part that was cut adds nothing.
    const bool keep = significant <= kDigits;
    if (keep) text.push_back('.');
    digits += takeDigits(term, text, keep ? text.size() + kDigits : text.size());
  }
  if (digits == 0) return notNumber(term);
  const int e = term.entryPeek();
  if (e == 'e' || e == 'E') {
    term.entryGet();
    const bool negativeExponent = takeSign(term);
    long exponent = 0;
    while (isDigit(term.entryPeek())) {
      const int digit = term.entryGet() - '0';
      if (exponent < 100000) exponent = exponent * 10 + digit;
    }
    extraExponent += negativeExponent ? -exponent : exponent;
  }
  if (extraExponent != 0) text += "e" + std::to_string(extraExponent);
  value = std::strtof(text.c_str(), nullptr);
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
