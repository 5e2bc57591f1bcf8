#pragma once

#include "Context.h"

namespace orvex::console {

// Runs one command per key until Esc or the end of input. Shows the help
// text first unless quiet.
void runCommandLoop(Context& ctx);

}  // namespace orvex::console
