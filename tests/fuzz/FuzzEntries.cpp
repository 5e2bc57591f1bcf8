// Operator entries over arbitrary input, NUL bytes included. The first two
// bytes are a program of eight reads, two bits each (integer, real, word of
// at most 10 characters, channel prompt), repeated until the input ends or a
// whole round of eight reads takes nothing; the rest is the entry input.
//
// After every read the fuzzer checks what it consumed: the blanks before the
// entry and then exactly the longest beginning that fits the entry's form, or
// everything when the input held only blanks. Results are checked against
// the C library's conversions of the consumed text.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Entry.h"
#include "FuzzCheck.h"

namespace {

using orvex::console::EntryResult;
using orvex::console::kEntryEnd;

// A console whose entry input is the fuzzer's bytes; it has no keys and no
// screen.
class InputTerminal : public orvex::console::Terminal {
 public:
  explicit InputTerminal(std::string input) : input_(std::move(input)) {}

  bool keyWaiting() override { return false; }
  bool waitForKey(int) override { return false; }
  int readKey() override { return orvex::console::kKeyEnd; }
  int entryPeek() override {
    return pos_ < input_.size() ? static_cast<unsigned char>(input_[pos_]) : kEntryEnd;
  }
  int entryGet() override {
    const int c = entryPeek();
    if (c != kEntryEnd) ++pos_;
    return c;
  }
  bool isScreen() const override { return false; }
  int column() override { return 1; }
  int row() override { return 1; }
  void moveTo(int, int) override {}
  void moveToColumn(int) override {}
  void discardEntryLine() override {}
  void clearToEndOfLine() override {}
  void writeDirect(std::string_view) override {}
  std::int64_t nowUs() override { return 0; }
  void sleepUs(std::int64_t) override {}
  std::uint32_t millis() override { return 0; }

  std::size_t position() const { return pos_; }
  const std::string& input() const { return input_; }

 private:
  std::string input_;
  std::size_t pos_ = 0;
};

bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Where the run of characters that satisfy pred, starting at i, ends.
template <class Pred>
std::size_t span(const std::string& s, std::size_t i, Pred pred) {
  while (i < s.size() && pred(s[i])) ++i;
  return i;
}
std::size_t optionalSign(const std::string& s, std::size_t i) {
  return i < s.size() && (s[i] == '+' || s[i] == '-') ? i + 1 : i;
}

// One read as the fuzzer saw it: the input, where the read started, where
// its entry began after the blanks, and where it stopped.
struct Read {
  const std::string& in;
  std::size_t start, entry, stop;
  std::string token() const { return in.substr(entry, stop - entry); }
};

Read observe(const InputTerminal& term, std::size_t start) {
  const std::string& in = term.input();
  return {in, start, span(in, start, isBlank), term.position()};
}

// Blanks alone are skipped to the end and give End; otherwise the read
// starts at the first character after them.
void checkSkip(const Read& r, EntryResult result) {
  if (result == EntryResult::End) {
    FUZZ_CHECK(r.entry == r.in.size() && r.stop == r.in.size());
  } else {
    FUZZ_CHECK(r.entry < r.in.size() && r.stop >= r.entry);
  }
}

// Integer: a sign and the digits that follow it, all of them.
void checkInteger(const Read& r, EntryResult result, int value, int before) {
  checkSkip(r, result);
  if (result != EntryResult::Value) FUZZ_CHECK(value == before);
  if (result == EntryResult::End) return;
  const std::size_t digits = optionalSign(r.in, r.entry);
  FUZZ_CHECK(r.stop == span(r.in, digits, isDigit));
  FUZZ_CHECK((result == EntryResult::Value) == (r.stop > digits));
  if (result != EntryResult::Value) return;
  // Saturates at the int range.
  const std::string number = r.in.substr(digits, r.stop - digits);
  const std::size_t first = std::min(number.find_first_not_of('0'), number.size());
  const std::string significant = number.substr(first);
  const bool negative = r.in[r.entry] == '-';
  long long expected =
      significant.size() > 10 ? 1LL << 40 : std::atoll(("0" + significant).c_str());
  if (negative) expected = -expected;
  expected = std::max<long long>(INT32_MIN, std::min<long long>(INT32_MAX, expected));
  FUZZ_CHECK(value == expected);
}

// Real: sign, digits, a point and digits, at least one digit in all, then
// an exponent mark with an optional sign and digits. Without a digit before
// the exponent it is no number, and only the sign and the point are taken.
void checkReal(const Read& r, EntryResult result, float value, float before) {
  checkSkip(r, result);
  if (result != EntryResult::Value) FUZZ_CHECK(std::memcmp(&value, &before, sizeof value) == 0);
  if (result == EntryResult::End) return;
  std::size_t i = optionalSign(r.in, r.entry);
  const std::size_t whole = i;
  i = span(r.in, i, isDigit);
  std::size_t digits = i - whole;
  if (i < r.in.size() && r.in[i] == '.') {
    const std::size_t fraction = i + 1;
    i = span(r.in, fraction, isDigit);
    digits += i - fraction;
  }
  if (digits == 0) {
    FUZZ_CHECK(result == EntryResult::NotNumber && r.stop == i);
    return;
  }
  if (i < r.in.size() && (r.in[i] == 'e' || r.in[i] == 'E')) {
    i = span(r.in, optionalSign(r.in, i + 1), isDigit);
  }
  FUZZ_CHECK(result == EntryResult::Value && r.stop == i);
  // The value of the consumed text, as the C library converts it; a text
  // too large gives infinity, never a NaN.
  const std::string text = r.token();
  const float expected = std::strtof(text.c_str(), nullptr);
  FUZZ_CHECK(!std::isnan(value));
  if (std::memcmp(&value, &expected, sizeof value) != 0) {
    std::fprintf(stderr, "real entry \"%s\" read as %.9g, expected %.9g\n", text.c_str(),
                 static_cast<double>(value), static_cast<double>(expected));
    FUZZ_CHECK(false);
  }
}

// Word: up to 10 characters that are not blanks.
constexpr std::size_t kWordMax = 10;
void checkWord(const Read& r, EntryResult result, const std::string& word) {
  checkSkip(r, result);
  if (result == EntryResult::End) return;
  FUZZ_CHECK(result == EntryResult::Value);
  FUZZ_CHECK(!word.empty() && word.size() <= kWordMax);
  FUZZ_CHECK(word == r.token());
  FUZZ_CHECK(r.stop ==
             std::min(span(r.in, r.entry, [](char c) { return !isBlank(c); }), r.entry + kWordMax));
}

enum Op { Integer, Real, Word, Channel };

// One read; false once the input has ended.
bool step(InputTerminal& term, Op op) {
  const std::size_t start = term.position();
  switch (op) {
    case Integer: {
      constexpr int kBefore = -7;
      int value = kBefore;
      const EntryResult result = orvex::console::readInteger(term, value);
      checkInteger(observe(term, start), result, value, kBefore);
      return result != EntryResult::End;
    }
    case Real: {
      constexpr float kBefore = -7.25f;
      float value = kBefore;
      const EntryResult result = orvex::console::readReal(term, value);
      checkReal(observe(term, start), result, value, kBefore);
      return result != EntryResult::End;
    }
    case Word: {
      std::string word;
      const EntryResult result = orvex::console::readWord(term, word, kWordMax);
      checkWord(observe(term, start), result, word);
      return result != EntryResult::End;
    }
    case Channel: {
      // The channel prompt reads an integer: the same bytes as readInteger
      // on a copy, then 0 or 1 is a channel, no number selects X (0), and
      // anything else is refused with the channel untouched.
      InputTerminal copy = term;
      int entered = 0;
      const EntryResult read = orvex::console::readInteger(copy, entered);
      constexpr std::uint8_t kUntouched = 0xA5;
      std::uint8_t channel = kUntouched;
      const bool accepted = orvex::console::EnterChannel(term, channel);
      FUZZ_CHECK(term.position() == copy.position());
      const bool valid = read == EntryResult::NotNumber ||
                         (read == EntryResult::Value && (entered == 0 || entered == 1));
      const std::uint8_t chosen =
          read == EntryResult::Value ? static_cast<std::uint8_t>(entered) : 0;
      FUZZ_CHECK(accepted == valid);
      FUZZ_CHECK(channel == (accepted ? chosen : kUntouched));
      return read != EntryResult::End;
    }
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The channel prompt prints; its text is not what this fuzzer checks.
  if (std::freopen("/dev/null", "w", stdout) == nullptr) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const unsigned program = data[0] | (data[1] << 8);
  InputTerminal term(std::string(reinterpret_cast<const char*>(data) + 2, size - 2));
  // Every read takes its blanks and its entry or nothing; a round of eight
  // reads that takes nothing would take nothing forever.
  for (;;) {
    const std::size_t roundStart = term.position();
    for (int i = 0; i < 8; ++i) {
      if (!step(term, static_cast<Op>((program >> (2 * i)) & 3))) return 0;
    }
    if (term.position() == roundStart) return 0;
  }
}
