// The scan codes that keys without a character carry in their key codes
// (kExtendedKey plus the scan code), the same on every platform.
#pragma once

namespace orvex::console::scancode {

inline constexpr int kUp = 0x48, kDown = 0x50, kLeft = 0x4B, kRight = 0x4D;
inline constexpr int kHome = 0x47, kEnd = 0x4F, kPageUp = 0x49, kPageDown = 0x51;
inline constexpr int kInsert = 0x52, kDelete = 0x53;
inline constexpr int kF1 = 0x3B, kF2 = 0x3C, kF3 = 0x3D, kF4 = 0x3E, kF5 = 0x3F;
inline constexpr int kF6 = 0x40, kF7 = 0x41, kF8 = 0x42, kF9 = 0x43, kF10 = 0x44;
inline constexpr int kF11 = 0x85, kF12 = 0x86;

}  // namespace orvex::console::scancode
