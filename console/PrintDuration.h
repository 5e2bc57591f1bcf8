#pragma once

#include <string>

#include "terminal/Terminal.h"

namespace orvex::console {

// The text of a duration, without line end.
std::string formatDuration(double seconds);

// Seconds as hours, minutes, seconds and hundredths: "1:00:00.00",
// "1:00.00" or "0.00s". With a terminal, the text goes straight to the
// console at the cursor; without, to standard output with a line end.
void PrintDuration(double seconds, Terminal* console);

}  // namespace orvex::console
