#include "KeyRecord.h"

#include <array>

#include "ScanCodes.h"
#include "Terminal.h"

namespace orvex::console {

namespace {

struct NamedKey {
  std::uint16_t virtualKey;
  int scanCode;
};

// Keys without a character whose codes do not depend on the keyboard's own
// scan codes (which differ for F11 and F12, and between keyboards).
constexpr std::array kNamedKeys{
    NamedKey{vk::kUp, scancode::kUp},         NamedKey{vk::kDown, scancode::kDown},
    NamedKey{vk::kLeft, scancode::kLeft},     NamedKey{vk::kRight, scancode::kRight},
    NamedKey{vk::kHome, scancode::kHome},     NamedKey{vk::kEnd, scancode::kEnd},
    NamedKey{vk::kPrior, scancode::kPageUp},  NamedKey{vk::kNext, scancode::kPageDown},
    NamedKey{vk::kInsert, scancode::kInsert}, NamedKey{vk::kDelete, scancode::kDelete},
    NamedKey{vk::kF1, scancode::kF1},         NamedKey{vk::kF1 + 1, scancode::kF2},
    NamedKey{vk::kF1 + 2, scancode::kF3},     NamedKey{vk::kF1 + 3, scancode::kF4},
    NamedKey{vk::kF1 + 4, scancode::kF5},     NamedKey{vk::kF1 + 5, scancode::kF6},
    NamedKey{vk::kF1 + 6, scancode::kF7},     NamedKey{vk::kF1 + 7, scancode::kF8},
    NamedKey{vk::kF1 + 8, scancode::kF9},     NamedKey{vk::kF1 + 9, scancode::kF10},
    NamedKey{vk::kF1 + 10, scancode::kF11},   NamedKey{vk::kF12, scancode::kF12},
};

// Keys that only change or lock others: they give no key of their own.
constexpr std::array kSilentKeys{
    vk::kShift,  vk::kControl, vk::kMenu,     vk::kCapital, vk::kNumLock,
    vk::kScroll, vk::kLeftWin, vk::kRightWin, vk::kApps,    vk::kPause,
};

bool isSilent(std::uint16_t virtualKey) {
  if (virtualKey >= vk::kLeftShift && virtualKey <= vk::kRightMenu) return true;
  for (const std::uint16_t silent : kSilentKeys) {
    if (virtualKey == silent) return true;
  }
  return false;
}

}  // namespace

std::optional<int> keyCodeOf(const KeyRecord& record) {
  if (!record.keyDown) return std::nullopt;
  if (record.character != 0) return record.character;
  // The console reports Esc by its virtual key alone.
  if (record.virtualKey == vk::kEscape) return kKeyEsc;
  for (const NamedKey& key : kNamedKeys) {
    if (record.virtualKey == key.virtualKey) return kExtendedKey + key.scanCode;
  }
  if (isSilent(record.virtualKey)) return std::nullopt;
  if ((record.scanCode & 0xFF) == 0) return std::nullopt;
  return kExtendedKey + (record.scanCode & 0xFF);
}

}  // namespace orvex::console
