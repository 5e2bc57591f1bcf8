#include "CommandLoop.h"

#include "HelpText.h"
#include "KeyTable.h"

namespace orvex::console {

namespace {

// While idle the loop sleeps in the console's wait for a key; the limit only
// bounds a single wait.
constexpr int kIdleWaitMs = 1000;

}  // namespace

void runCommandLoop(Context& ctx) {
  for (;;) {
    if (ctx.modes.quiet) ctx.helpPending = false;
    if (!ctx.helpPending && !ctx.term.keyWaiting()) {
      ctx.term.waitForKey(kIdleWaitMs);
      continue;
    }
    const int key = ctx.helpPending ? '?' : ctx.term.readKey();
    ctx.currentKey = key;
    ctx.helpPending = false;
    if (key == kKeyEsc || key == kKeyEnd) return;
    if (key == '?') printHelp();
    if (const KeyBinding* command = findCommand(key)) command->run(ctx);
  }
}

}  // namespace orvex::console
