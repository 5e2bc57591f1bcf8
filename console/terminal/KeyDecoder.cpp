#include "KeyDecoder.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "ScanCodes.h"
#include "Terminal.h"

namespace orvex::console {

namespace {

constexpr unsigned char kEsc = 0x1B;

// One known escape sequence: ESC, the introducer, an optional number, the
// final byte. `number` is the sequence's first parameter (1 when it has
// none); parameters after a ';' are modifiers (Shift, Ctrl, ...) and do not
// change the key.
struct Sequence {
  std::string_view introducer;
  int number;
  unsigned char final;
  int scanCode;
};

using namespace scancode;

constexpr std::array kSequences{
    // ESC [ letter, also with modifiers: ESC [ 1 ; 5 A
    Sequence{"[", 1, 'A', kUp},
    Sequence{"[", 1, 'B', kDown},
    Sequence{"[", 1, 'C', kRight},
    Sequence{"[", 1, 'D', kLeft},
    Sequence{"[", 1, 'H', kHome},
    Sequence{"[", 1, 'F', kEnd},
    Sequence{"[", 1, 'P', kF1},
    Sequence{"[", 1, 'Q', kF2},
    Sequence{"[", 1, 'R', kF3},
    Sequence{"[", 1, 'S', kF4},
    // ESC [ number ~
    Sequence{"[", 1, '~', kHome},
    Sequence{"[", 7, '~', kHome},
    Sequence{"[", 2, '~', kInsert},
    Sequence{"[", 3, '~', kDelete},
    Sequence{"[", 4, '~', kEnd},
    Sequence{"[", 8, '~', kEnd},
    Sequence{"[", 5, '~', kPageUp},
    Sequence{"[", 6, '~', kPageDown},
    Sequence{"[", 11, '~', kF1},
    Sequence{"[", 12, '~', kF2},
    Sequence{"[", 13, '~', kF3},
    Sequence{"[", 14, '~', kF4},
    Sequence{"[", 15, '~', kF5},
    Sequence{"[", 17, '~', kF6},
    Sequence{"[", 18, '~', kF7},
    Sequence{"[", 19, '~', kF8},
    Sequence{"[", 20, '~', kF9},
    Sequence{"[", 21, '~', kF10},
    Sequence{"[", 23, '~', kF11},
    Sequence{"[", 24, '~', kF12},
    // ESC O letter (application cursor keys, F1-F4)
    Sequence{"O", 1, 'A', kUp},
    Sequence{"O", 1, 'B', kDown},
    Sequence{"O", 1, 'C', kRight},
    Sequence{"O", 1, 'D', kLeft},
    Sequence{"O", 1, 'H', kHome},
    Sequence{"O", 1, 'F', kEnd},
    Sequence{"O", 1, 'P', kF1},
    Sequence{"O", 1, 'Q', kF2},
    Sequence{"O", 1, 'R', kF3},
    Sequence{"O", 1, 'S', kF4},
    // ESC [ [ letter (F1-F5 of the text console)
    Sequence{"[[", 1, 'A', kF1},
    Sequence{"[[", 1, 'B', kF2},
    Sequence{"[[", 1, 'C', kF3},
    Sequence{"[[", 1, 'D', kF4},
    Sequence{"[[", 1, 'E', kF5},
};

bool isParameter(unsigned char c) { return c >= 0x30 && c <= 0x3F; }
bool isIntermediate(unsigned char c) { return c >= 0x20 && c <= 0x2F; }
bool isFinal(unsigned char c) { return c >= 0x40 && c <= 0x7E; }

// The first parameter as a number: 1 when it is empty, -1 when it is not a
// plain decimal number (private markers, absurd sizes), so nothing matches.
int firstNumber(std::span<const unsigned char> parameters) {
  int number = 0;
  std::size_t digits = 0;
  for (unsigned char c : parameters) {
    if (c == ';') break;
    if (c < '0' || c > '9' || ++digits > 4) return -1;
    number = number * 10 + (c - '0');
  }
  return digits == 0 ? 1 : number;
}

DecodedKey lookUp(std::string_view introducer, int number, unsigned char final,
                  std::size_t length) {
  const auto* found = std::find_if(kSequences.begin(), kSequences.end(), [&](const Sequence& s) {
    return s.introducer == introducer && s.number == number && s.final == final;
  });
  if (found == kSequences.end()) return {DecodedKey::Kind::kSkip, 0, length};
  return {DecodedKey::Kind::kKey, kExtendedKey + found->scanCode, length};
}

// An unfinished sequence: wait for more, or drop it when nothing follows.
DecodedKey unfinished(std::size_t length, bool complete) {
  if (complete) return {DecodedKey::Kind::kSkip, 0, length};
  return {DecodedKey::Kind::kNeedMore, 0, 0};
}

// ESC [ or ESC O (`bytes[1]`) followed by parameters, intermediates and a
// final byte.
DecodedKey decodeControlSequence(std::span<const unsigned char> bytes, bool complete) {
  const bool ss3 = bytes[1] == 'O';
  std::size_t i = 2;
  while (i < bytes.size() && isParameter(bytes[i])) ++i;
  const std::size_t parametersEnd = i;
  while (i < bytes.size() && isIntermediate(bytes[i])) ++i;
  if (i == bytes.size()) {
    // No final byte yet. A sequence longer than any key's is not waited for.
    return unfinished(i, complete || i >= kMaxSequenceLength);
  }
  if (!isFinal(bytes[i])) {
    // Broken off by a control byte: drop what came before it and let the
    // byte be read on its own.
    return {DecodedKey::Kind::kSkip, 0, i};
  }
  const std::size_t length = i + 1;
  if (parametersEnd != i) return {DecodedKey::Kind::kSkip, 0, length};
  // After ESC O a number can only be a modifier.
  const int number = ss3 ? 1 : firstNumber(bytes.subspan(2, parametersEnd - 2));
  return lookUp(ss3 ? "O" : "[", number, bytes[i], length);
}

}  // namespace

DecodedKey decodeKey(std::span<const unsigned char> bytes, bool complete) {
  const unsigned char first = bytes[0];
  if (first == 0) return {DecodedKey::Kind::kSkip, 0, 1};  // no key has the code 0
  if (first != kEsc) return {DecodedKey::Kind::kKey, first, 1};
  if (bytes.size() == 1) {
    if (complete) return {DecodedKey::Kind::kKey, kKeyEsc, 1};
    return {DecodedKey::Kind::kNeedMore, 0, 0};
  }
  if (bytes[1] == 'O') return decodeControlSequence(bytes, complete);
  if (bytes[1] != '[') {
    // Esc pressed before another key: the other key stays for the next read.
    return {DecodedKey::Kind::kKey, kKeyEsc, 1};
  }
  if (bytes.size() >= 3 && bytes[2] == '[') {
    if (bytes.size() == 3) return unfinished(3, complete);
    if (!isFinal(bytes[3])) return {DecodedKey::Kind::kSkip, 0, 3};
    return lookUp("[[", 1, bytes[3], 4);
  }
  return decodeControlSequence(bytes, complete);
}

}  // namespace orvex::console
