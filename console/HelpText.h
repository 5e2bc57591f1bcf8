#pragma once

namespace orvex::console {

// The key overview printed at start and on '?'.
void printHelp();

}  // namespace orvex::console
