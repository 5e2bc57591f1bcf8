#pragma once

namespace orvex::console {

// The number of defined operation modes: they are listed in the mode prompt
// and bound the mode entry.
inline constexpr int kOperModeCount = 3;

// Writes the name of an operation mode to standard output, plain or padded
// to the width of the longest name; undefined modes are "invalid mode".
void PrintOperMode(int mode, bool padded);

}  // namespace orvex::console
