#pragma once

namespace orvex::console {

// The whole program: command line, version checks, opening the port, the
// command loop and the shutdown. Returns the exit status: -1 for an invalid
// command line, -2 for an incompatible library, 1 when the port does not
// open, 0 after Esc.
int runProgram(int argc, const char* const* argv);

}  // namespace orvex::console
