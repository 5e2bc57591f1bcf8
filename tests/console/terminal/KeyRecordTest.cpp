#include "KeyRecord.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "KeyDecoder.h"
#include "Terminal.h"

namespace orvex::console {
namespace {

constexpr int ext(int scan) { return kExtendedKey + scan; }

KeyRecord press(std::uint16_t virtualKey, std::uint16_t scanCode, unsigned char character = 0,
                bool enhanced = false) {
  return {true, virtualKey, scanCode, character, enhanced};
}

// The key a terminal's bytes give on the other platforms.
int terminalKey(const std::string& bytes) {
  const std::vector<unsigned char> input(bytes.begin(), bytes.end());
  const DecodedKey decoded = decodeKey(input, true);
  EXPECT_EQ(decoded.kind, DecodedKey::Kind::kKey) << bytes;
  EXPECT_EQ(decoded.length, input.size()) << bytes;
  return decoded.key;
}

// Every cursor and function key, as a real keyboard reports it (the grey
// cursor block is enhanced), gives the code of the same key on a terminal.
TEST(KeyRecord, KeysWithoutCharacterGiveTheTerminalsCodes) {
  const struct {
    const char* name;
    KeyRecord record;
    int code;
    std::string sequence;
  } cases[] = {
      {"up", press(vk::kUp, 0x48, 0, true), ext(0x48), "\x1b[A"},
      {"down", press(vk::kDown, 0x50, 0, true), ext(0x50), "\x1b[B"},
      {"left", press(vk::kLeft, 0x4B, 0, true), ext(0x4B), "\x1b[D"},
      {"right", press(vk::kRight, 0x4D, 0, true), ext(0x4D), "\x1b[C"},
      {"home", press(vk::kHome, 0x47, 0, true), ext(0x47), "\x1b[H"},
      {"end", press(vk::kEnd, 0x4F, 0, true), ext(0x4F), "\x1b[F"},
      {"page up", press(vk::kPrior, 0x49, 0, true), ext(0x49), "\x1b[5~"},
      {"page down", press(vk::kNext, 0x51, 0, true), ext(0x51), "\x1b[6~"},
      {"insert", press(vk::kInsert, 0x52, 0, true), ext(0x52), "\x1b[2~"},
      {"delete", press(vk::kDelete, 0x53, 0, true), ext(0x53), "\x1b[3~"},
      {"F1", press(0x70, 0x3B), ext(0x3B), "\x1bOP"},
      {"F2", press(0x71, 0x3C), ext(0x3C), "\x1bOQ"},
      {"F3", press(0x72, 0x3D), ext(0x3D), "\x1bOR"},
      {"F4", press(0x73, 0x3E), ext(0x3E), "\x1bOS"},
      {"F5", press(0x74, 0x3F), ext(0x3F), "\x1b[15~"},
      {"F6", press(0x75, 0x40), ext(0x40), "\x1b[17~"},
      {"F7", press(0x76, 0x41), ext(0x41), "\x1b[18~"},
      {"F8", press(0x77, 0x42), ext(0x42), "\x1b[19~"},
      {"F9", press(0x78, 0x43), ext(0x43), "\x1b[20~"},
      {"F10", press(0x79, 0x44), ext(0x44), "\x1b[21~"},
      // The keyboard's own scan codes of F11 and F12 are 0x57 and 0x58.
      {"F11", press(0x7A, 0x57), ext(0x85), "\x1b[23~"},
      {"F12", press(0x7B, 0x58), ext(0x86), "\x1b[24~"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(keyCodeOf(c.record), c.code) << c.name;
    EXPECT_EQ(terminalKey(c.sequence), c.code) << c.name;
    // The keypad's keys (not enhanced), and a console that makes up no scan
    // code, give the same code.
    KeyRecord other = c.record;
    other.enhanced = !other.enhanced;
    EXPECT_EQ(keyCodeOf(other), c.code) << c.name << " with the enhanced flag flipped";
    other.scanCode = 0;
    EXPECT_EQ(keyCodeOf(other), c.code) << c.name << " without a scan code";
  }
}

TEST(KeyRecord, CharactersEscAndKeysThatGiveNothing) {
  const struct {
    const char* name;
    KeyRecord record;
    std::optional<int> code;
  } cases[] = {
      {"letter", press(0x41, 0x1E, 'a'), 'a'},
      {"shifted letter", press(0x41, 0x1E, 'A'), 'A'},
      {"question mark", press(0xBF, 0x35, '?'), '?'},
      {"degree sign, OEM byte", press(0xDE, 0x29, 0xF8), 0xF8},
      {"a-umlaut, OEM byte", press(0xDE, 0x28, 0x84), 0x84},
      {"Enter", press(0x0D, 0x1C, '\r'), '\r'},
      {"keypad Enter", press(0x0D, 0x1C, '\r', true), '\r'},
      {"Ctrl+C as a key", press(0x43, 0x2E, 3), 3},
      // A character wins over the virtual key: the cursor keys' codes are
      // letters' codes too (0x48 'H', 0x50 'P'), which must stay letters.
      {"H", press(0x48, 0x23, 'H'), 'H'},
      {"P", press(0x50, 0x19, 'P'), 'P'},
      {"Esc without a character", press(vk::kEscape, 0x01), kKeyEsc},
      {"Esc with its character", press(vk::kEscape, 0x01, 27), kKeyEsc},
      {"keypad 5 without Num Lock", press(0x0C, 0x4C), ext(0x4C)},
      {"other key without a character", press(0xFF, 0x73), ext(0x73)},
      {"scan code beyond a byte", press(0xFF, 0xE073), ext(0x73)},
      {"release", {false, 0x41, 0x1E, 'a', false}, std::nullopt},
      {"release of an arrow", {false, vk::kUp, 0x48, 0, true}, std::nullopt},
      {"Shift", press(vk::kShift, 0x2A), std::nullopt},
      {"right Alt", press(vk::kRightMenu, 0x38, 0, true), std::nullopt},
      {"Ctrl", press(vk::kControl, 0x1D), std::nullopt},
      {"Alt", press(vk::kMenu, 0x38), std::nullopt},
      {"Caps Lock", press(vk::kCapital, 0x3A), std::nullopt},
      {"Num Lock", press(vk::kNumLock, 0x45, 0, true), std::nullopt},
      {"Windows key", press(vk::kLeftWin, 0x5B, 0, true), std::nullopt},
      {"no character, no scan code", press(0xFF, 0), std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(keyCodeOf(c.record), c.code) << c.name;
}

}  // namespace
}  // namespace orvex::console
