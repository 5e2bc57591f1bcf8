// The program's command line: its switches and the name it shows.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "Context.h"

namespace orvex::console {

// Reads the switches after the program's path: '-' or '/' followed by exactly
// one letter, D or d for debug mode, Q or q for quiet mode. Debug mode clears
// quiet mode. Returns nothing for an invalid command line.
std::optional<OutputModes> parseCommandLine(int argc, const char* const* argv);

// The program's name from its path: after the last '\' or '/', up to the
// first '.' after that.
std::string programName(std::string_view path);

// Banner and usage for an invalid command line.
void printUsage(std::string_view name);

}  // namespace orvex::console
