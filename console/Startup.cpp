#include "Startup.h"

#include <cstdint>
#include <cstdio>

#include "CommandLine.h"
#include "CommandLoop.h"
#include "Orvex.h"
#include "Report.h"
#include "Tarvish.h"

namespace orvex::console {

namespace {

constexpr int kInvalidCommandLine = -1;
constexpr int kWrongVersion = -2;
constexpr int kPortNotOpened = 1;
constexpr unsigned kRequiredMajor = 1;

// A library is compatible when its major version is 1.
bool versionCompatible(const Context& ctx, const char* library, std::uint16_t word) {
  const unsigned major = word >> 8u;
  const unsigned minor = word & 0xFFu;
  if (major != kRequiredMajor) {
    std::printf("Wrong %s Version, expected 1.00, found %u.%02u\n", library, major, minor);
    return false;
  }
  if (ctx.modes.debug) std::printf("%s Version: %u.%02u\n", library, major, minor);
  return true;
}

// Key presses still waiting when the program ends are consumed here, so they
// do not reach the shell.
void discardWaitingKeys(Terminal& term) {
  while (term.keyWaiting()) {
    if (term.readKey() == kKeyEnd) break;
  }
}

}  // namespace

int runProgram(int argc, const char* const* argv) {
  const auto modes = parseCommandLine(argc, argv);
  if (!modes) {
    printUsage(programName(argc >= 1 && argv[0] != nullptr ? argv[0] : "Orvex-Test"));
    return kInvalidCommandLine;
  }
  auto terminal = openTerminal();
  Context ctx{*terminal, *modes};

  printDebug(ctx, "Checking Tarvish.dll Version...\n");
  if (!versionCompatible(ctx, "Tarvish.dll", Tarvish_Version())) return kWrongVersion;
  printDebug(ctx, "Checking Orvex.dll Version...\n");
  if (!versionCompatible(ctx, "Orvex.dll", Orvex_Version())) return kWrongVersion;

  printDebug(ctx, "Opening the communication port...\n");
  if (Tarvish_Open() != 0) {
    PrintError("Tarvish_Open");
    return kPortNotOpened;
  }
  if (!ctx.modes.quiet) std::printf("Communication port opened\n");
  FlushBuffers(ctx);

  runCommandLoop(ctx);

  discardWaitingKeys(ctx.term);
  if (!ctx.modes.quiet) std::printf("Program finished");
  return 0;
}

}  // namespace orvex::console
