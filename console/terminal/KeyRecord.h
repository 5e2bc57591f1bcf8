// Turns one key event of a Windows console into a key code. The fields are
// those of the console's key event record, taken over as plain values, so
// that the mapping is platform-free and tested everywhere.
#pragma once

#include <cstdint>
#include <optional>

namespace orvex::console {

struct KeyRecord {
  bool keyDown = true;
  std::uint16_t virtualKey = 0;  // the key's virtual key code
  std::uint16_t scanCode = 0;    // the keyboard's scan code
  // The key's character as a byte of the console's OEM code page, 0 for a
  // key without a character (or one the code page cannot show).
  unsigned char character = 0;
  bool enhanced = false;  // a key of the enhanced block (grey cursor keys, ...)
};

// Virtual key codes the mapping knows, as the console reports them.
namespace vk {
inline constexpr std::uint16_t kShift = 0x10, kControl = 0x11, kMenu = 0x12, kPause = 0x13;
inline constexpr std::uint16_t kCapital = 0x14, kEscape = 0x1B;
inline constexpr std::uint16_t kPrior = 0x21, kNext = 0x22, kEnd = 0x23, kHome = 0x24;
inline constexpr std::uint16_t kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28;
inline constexpr std::uint16_t kInsert = 0x2D, kDelete = 0x2E;
inline constexpr std::uint16_t kLeftWin = 0x5B, kRightWin = 0x5C, kApps = 0x5D;
inline constexpr std::uint16_t kF1 = 0x70, kF12 = 0x7B;
inline constexpr std::uint16_t kNumLock = 0x90, kScroll = 0x91;
inline constexpr std::uint16_t kLeftShift = 0xA0, kRightMenu = 0xA5;
}  // namespace vk

// The key code of a key press: its character byte; Esc as 27; a key without
// a character as kExtendedKey plus its scan code, the cursor and function
// keys with the codes of every platform (grey and keypad keys alike). No
// code for a key release, a modifier or lock key alone, or a key without a
// character and without a scan code.
std::optional<int> keyCodeOf(const KeyRecord& record);

}  // namespace orvex::console
