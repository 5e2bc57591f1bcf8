// The error report and the adapter flush that every command uses when a
// library call fails.
#pragma once

#include "Context.h"

namespace orvex::console {

// "Error at <label>: <error text>, I/O Error Message: <I/O error text>",
// with both texts fetched from the adapter library now.
void PrintError(const char* label);

// Empties the adapter's buffers and says so according to the output mode.
void FlushBuffers(const Context& ctx);

// A failed call inside a command: the report, then the flush.
void reportFailure(const Context& ctx, const char* label);

}  // namespace orvex::console
