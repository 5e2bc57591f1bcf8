#include "KeyDecoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Terminal.h"

namespace orvex::console {
namespace {

constexpr int kSkipped = 0;  // marks a sequence that gives no key

struct Case {
  std::string bytes;
  std::vector<int> keys;  // all keys the bytes give, in order
};

// Decodes all of `bytes` as a terminal would deliver them when nothing more
// follows, collecting the keys.
std::vector<int> decodeAll(const std::string& bytes) {
  std::vector<unsigned char> input(bytes.begin(), bytes.end());
  std::vector<int> keys;
  while (!input.empty()) {
    DecodedKey decoded = decodeKey(input, false);
    if (decoded.kind == DecodedKey::Kind::kNeedMore) decoded = decodeKey(input, true);
    EXPECT_GT(decoded.length, 0u) << "no progress on " << bytes;
    if (decoded.length == 0) break;
    if (decoded.kind == DecodedKey::Kind::kKey) keys.push_back(decoded.key);
    input.erase(input.begin(), input.begin() + static_cast<std::ptrdiff_t>(decoded.length));
  }
  return keys;
}

constexpr int ext(int scan) { return kExtendedKey + scan; }

TEST(KeyDecoder, SequencesGiveTheirKeys) {
  const Case cases[] = {
      {"a", {'a'}},
      {"\xf8", {0xF8}},
      {"\r", {'\r'}},
      {std::string("\0x", 2), {'x'}},
      {"\x1b[A", {ext(0x48)}},
      {"\x1b[B", {ext(0x50)}},
      {"\x1b[C", {ext(0x4D)}},
      {"\x1b[D", {ext(0x4B)}},
      {"\x1b[H", {ext(0x47)}},
      {"\x1b[F", {ext(0x4F)}},
      {"\x1b[1;5A", {ext(0x48)}},
      {"\x1b[1;2D", {ext(0x4B)}},
      {"\x1bOA", {ext(0x48)}},
      {"\x1bOH", {ext(0x47)}},
      {"\x1bOF", {ext(0x4F)}},
      {"\x1bOP", {ext(0x3B)}},
      {"\x1bOS", {ext(0x3E)}},
      {"\x1b[1;5P", {ext(0x3B)}},
      {"\x1b[1~", {ext(0x47)}},
      {"\x1b[7~", {ext(0x47)}},
      {"\x1b[2~", {ext(0x52)}},
      {"\x1b[3~", {ext(0x53)}},
      {"\x1b[3;5~", {ext(0x53)}},
      {"\x1b[4~", {ext(0x4F)}},
      {"\x1b[8~", {ext(0x4F)}},
      {"\x1b[5~", {ext(0x49)}},
      {"\x1b[6~", {ext(0x51)}},
      {"\x1b[11~", {ext(0x3B)}},
      {"\x1b[15~", {ext(0x3F)}},
      {"\x1b[17~", {ext(0x40)}},
      {"\x1b[21~", {ext(0x44)}},
      {"\x1b[23~", {ext(0x85)}},
      {"\x1b[24~", {ext(0x86)}},
      {"\x1b[[A", {ext(0x3B)}},
      {"\x1b[[E", {ext(0x3F)}},
      // Several keys in one burst.
      {"\x1b[A\x1b[B", {ext(0x48), ext(0x50)}},
      {"x\x1b[6~y", {'x', ext(0x51), 'y'}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(decodeAll(c.bytes), c.keys) << "bytes: " << c.bytes.substr(1);
  }
}

TEST(KeyDecoder, UnknownSequencesAreDroppedWholeNeverLetters) {
  const Case cases[] = {
      {"\x1b[Z", {}},                                  // an unknown final byte
      {"\x1b[16~", {}},                                // a gap in the numbers
      {"\x1b[200~", {}},                               // bracketed paste start
      {"\x1b[?1;2c", {}},                              // a private answer
      {"\x1b[1 q", {}},                                // with an intermediate byte
      {"\x1b[12;40R", {}},                             // a late cursor report
      {"\x1bOx", {}},                                  // unknown after ESC O
      {"\x1b[[Z", {}},                                 // unknown console function key
      {"\x1b[99999A", {}},                             // absurd number
      {"\x1b[Zq", {'q'}},                              // the next key survives
      {"\x1b[1\rx", {'\r', 'x'}},                      // a control byte breaks a sequence off
      {"\x1b[" + std::string(60, '1') + "~x", {'x'}},  // longer than any key
  };
  for (const Case& c : cases) {
    EXPECT_EQ(decodeAll(c.bytes), c.keys) << "bytes: " << c.bytes.substr(1);
  }
}

TEST(KeyDecoder, EscAloneAndEscBeforeAnotherKey) {
  const Case cases[] = {
      {"\x1b", {kKeyEsc}},
      {"\x1bx", {kKeyEsc, 'x'}},
      {"\x1b\x1b", {kKeyEsc, kKeyEsc}},
      {"\x1b\x1b[A", {kKeyEsc, ext(0x48)}},
      {"\x1b\r", {kKeyEsc, '\r'}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(decodeAll(c.bytes), c.keys) << "bytes: " << c.bytes.substr(1);
  }
}

TEST(KeyDecoder, UnfinishedSequenceWaitsThenIsDecided) {
  struct Partial {
    std::string bytes;
    DecodedKey::Kind whenComplete;
    std::size_t length;
  };
  const Partial partials[] = {
      {"\x1b", DecodedKey::Kind::kKey, 1},    {"\x1b[", DecodedKey::Kind::kSkip, 2},
      {"\x1bO", DecodedKey::Kind::kSkip, 2},  {"\x1b[1;5", DecodedKey::Kind::kSkip, 5},
      {"\x1b[[", DecodedKey::Kind::kSkip, 3},
  };
  for (const Partial& p : partials) {
    const std::vector<unsigned char> bytes(p.bytes.begin(), p.bytes.end());
    EXPECT_EQ(decodeKey(bytes, false).kind, DecodedKey::Kind::kNeedMore) << p.bytes.substr(1);
    const DecodedKey decided = decodeKey(bytes, true);
    EXPECT_EQ(decided.kind, p.whenComplete) << p.bytes.substr(1);
    EXPECT_EQ(decided.length, p.length) << p.bytes.substr(1);
  }
  // A sequence that grows without end is not waited for.
  const std::string endless = "\x1b[" + std::string(kMaxSequenceLength, '1');
  const std::vector<unsigned char> bytes(endless.begin(), endless.end());
  const DecodedKey dropped = decodeKey(bytes, false);
  EXPECT_EQ(dropped.kind, DecodedKey::Kind::kSkip);
  EXPECT_EQ(dropped.length, bytes.size());
}

}  // namespace
}  // namespace orvex::console
