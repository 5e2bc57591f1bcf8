// Turns the bytes a terminal sends for key presses into key codes. Cursor and
// function keys arrive as escape sequences; they become kExtendedKey plus the
// key's scan code. Platform-free: bytes in, one decoded key out.
#pragma once

#include <cstddef>
#include <span>

namespace orvex::console {

struct DecodedKey {
  enum class Kind {
    kKey,       // `key` is a key code; `length` bytes were used
    kSkip,      // `length` bytes form no key (unknown sequence) and are dropped
    kNeedMore,  // the bytes begin a sequence that is not complete yet
  };
  Kind kind;
  int key;
  std::size_t length;
};

// Decodes the first key in `bytes` (which must not be empty). With `complete`
// set no further bytes will follow in time, so an unfinished sequence is
// decided at once: a lone Esc byte is the Esc key, any other unfinished
// sequence is dropped whole.
DecodedKey decodeKey(std::span<const unsigned char> bytes, bool complete);

// Longest unfinished escape sequence that is waited for; one that grows longer
// without its final byte is dropped as far as it came.
inline constexpr std::size_t kMaxSequenceLength = 32;

}  // namespace orvex::console
