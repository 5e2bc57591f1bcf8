// The console's settings on Windows: the input mode of the console input and
// the console's output code page are saved when the console is opened and put
// back on every way out: release, normal exit, Ctrl+C, Ctrl+Break, closing
// the console window, logoff and shutdown.
#include <windows.h>

#include <cstdlib>

#include "TerminalGuard.h"

namespace orvex::console {

namespace {

// Read by the console's control handler, which runs on a thread of its own.
DWORD gSavedInputMode = 0;
UINT gSavedOutputCodePage = 0;
volatile LONG gChanged = 0;  // the saved settings must be put back
bool gGuarding = false;
bool gExitHookInstalled = false;

// Keys one by one without echo; Ctrl+C and Ctrl+Break still interrupt.
DWORD keyMode(DWORD saved) {
  return (saved & ~static_cast<DWORD>(ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT | ENABLE_WINDOW_INPUT |
                                      ENABLE_MOUSE_INPUT)) |
         ENABLE_PROCESSED_INPUT;
}

// Lines edited and echoed by the console.
DWORD entryMode(DWORD saved) {
  return (saved & ~static_cast<DWORD>(ENABLE_WINDOW_INPUT | ENABLE_MOUSE_INPUT)) |
         ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT | ENABLE_PROCESSED_INPUT;
}

void restoreSaved() {
  if (InterlockedExchange(&gChanged, 0) == 0) return;
  SetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), gSavedInputMode);
  if (gSavedOutputCodePage != 0) SetConsoleOutputCP(gSavedOutputCodePage);
}

void restoreAtExit() { restoreSaved(); }

// Every control event ends the program by its default handling, after the
// settings are back.
BOOL WINAPI onControl(DWORD) {
  restoreSaved();
  return FALSE;
}

}  // namespace

bool guardTerminal() {
  if (gGuarding) return true;
  DWORD saved = 0;
  if (GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &saved) == 0) return false;
  gSavedInputMode = saved;
  gSavedOutputCodePage = GetConsoleOutputCP();
  gGuarding = true;
  if (!gExitHookInstalled) gExitHookInstalled = std::atexit(restoreAtExit) == 0;
  SetConsoleCtrlHandler(onControl, TRUE);
  // The bytes the program writes are those of the OEM code page (the degree
  // sign 0xF8); a console set to another single-byte page is switched to it.
  // A UTF-8 console stays UTF-8, and the program writes UTF-8 to it.
  const UINT oem = GetOEMCP();
  if (gSavedOutputCodePage != CP_UTF8 && gSavedOutputCodePage != oem) {
    InterlockedExchange(&gChanged, 1);
    SetConsoleOutputCP(oem);
  }
  return true;
}

void enterMode(TerminalMode mode) {
  if (!gGuarding) return;
  if (mode == TerminalMode::kSaved) {
    restoreSaved();
    return;
  }
  InterlockedExchange(&gChanged, 1);
  SetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), mode == TerminalMode::kKeys
                                                     ? keyMode(gSavedInputMode)
                                                     : entryMode(gSavedInputMode));
}

void releaseTerminal() {
  if (!gGuarding) return;
  restoreSaved();
  SetConsoleCtrlHandler(onControl, FALSE);
  gGuarding = false;
}

}  // namespace orvex::console
