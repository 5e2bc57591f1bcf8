#include "Report.h"

#include <cstdio>
#include <string>

#include "Tarvish.h"

namespace orvex::console {

namespace {

// The adapter's texts are only valid until the next call into it, so each is
// copied before the next one is fetched.
std::string adapterText(const char* text) { return text != nullptr ? text : ""; }

}  // namespace

void PrintError(const char* label) {
  const std::string io = adapterText(Tarvish_IO_ErrorMessage());
  const std::string error = adapterText(Tarvish_ErrorMessage());
  std::printf("Error at %s: %s, I/O Error Message: %s\n", label, error.c_str(), io.c_str());
}

void FlushBuffers(const Context& ctx) {
  if (ctx.modes.debug) std::printf("Flushing communication buffers of the Tarvish adapter...\n");
  if (Tarvish_Flush_LPT() != 0) {
    PrintError("Tarvish_Flush_LPT");
    return;
  }
  if (ctx.modes.debug) {
    std::printf("Communication buffers of the Tarvish adapter were flushed\n");
  } else if (!ctx.modes.quiet) {
    std::printf("Buffers flushed\n");
  }
}

void reportFailure(const Context& ctx, const char* label) {
  PrintError(label);
  FlushBuffers(ctx);
}

}  // namespace orvex::console
