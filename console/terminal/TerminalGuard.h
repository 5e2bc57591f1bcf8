// Keeps the settings of the terminal on standard input safe while the console
// switches it between its modes, and puts them back on every way out: release,
// normal exit, and the signals that end or stop the program. One terminal at a
// time; its state lives in static storage so that signal handlers can reach it.
#pragma once

namespace orvex::console {

enum class TerminalMode {
  kSaved,  // the settings found at start, as the program leaves them
  kKeys,   // keys one by one, without echo; Ctrl-C still interrupts
  kEntry,  // lines edited and echoed by the terminal
};

// Saves the settings of the terminal on standard input, installs the exit hook
// and the signal handlers. Returns false (and changes nothing) when the
// settings cannot be read.
bool guardTerminal();

// Switches the terminal to `mode`; a signal that stops and continues the
// program comes back to it.
void enterMode(TerminalMode mode);

// Puts the saved settings back and removes the signal handlers.
void releaseTerminal();

}  // namespace orvex::console
