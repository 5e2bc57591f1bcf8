// What every console command works with: the console, the output modes chosen
// on the command line and the state that lives across commands.
#pragma once

#include <cstdio>

#include "terminal/Terminal.h"

namespace orvex::console {

struct OutputModes {
  bool debug = false;
  bool quiet = false;
};

struct Context {
  Terminal& term;
  OutputModes modes;
  // The help text is shown once when the loop starts (unless quiet).
  bool helpPending = true;
  // The key being handled.
  int currentKey = 0;
};

// Channel 0 is shown as X, every other one as Y.
inline char channelLetter(unsigned channel) { return channel == 0 ? 'X' : 'Y'; }

// A command's heading and confirmation lines appear in debug mode only.
inline void printDebug(const Context& ctx, const char* text) {
  if (ctx.modes.debug) std::fputs(text, stdout);
}

}  // namespace orvex::console
