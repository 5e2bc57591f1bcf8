#include "TerminalGuard.h"

#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <iterator>

namespace orvex::console {

namespace {

// Everything below is read by signal handlers: settings prepared in advance,
// and flags they can test.
struct termios gSettings[3];  // indexed by TerminalMode
volatile std::sig_atomic_t gMode = static_cast<int>(TerminalMode::kSaved);
volatile std::sig_atomic_t gChanged = 0;  // the saved settings must be put back
bool gGuarding = false;
bool gExitHookInstalled = false;

// Signals that end the program: the terminal is restored, then the signal
// takes its usual course.
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
struct sigaction gPreviousEnding[std::size(kEndingSignals)];
struct sigaction gPreviousStop;
struct sigaction gPreviousContinue;

// Sets the terminal; async-signal-safe. A program in the background would be
// stopped by SIGTTOU when it changes its terminal, so SIGTTOU is held off.
void apply(const struct termios& settings) {
  sigset_t ttou;
  sigset_t previous;
  sigemptyset(&ttou);
  sigaddset(&ttou, SIGTTOU);
  sigprocmask(SIG_BLOCK, &ttou, &previous);
  tcsetattr(STDIN_FILENO, TCSANOW, &settings);
  sigprocmask(SIG_SETMASK, &previous, nullptr);
}

void restoreSaved() {
  if (gChanged) apply(gSettings[static_cast<int>(TerminalMode::kSaved)]);
}

void restoreAtExit() {
  restoreSaved();
  gChanged = 0;
}

void onEndingSignal(int signal) {
  // The handler was installed to run once and unblocked (SA_RESETHAND,
  // SA_NODEFER): the raise below meets the default action at once.
  const int savedErrno = errno;
  restoreSaved();
  raise(signal);
  errno = savedErrno;
}

void onStop(int) {
  const int savedErrno = errno;
  restoreSaved();
  struct sigaction stop {};
  stop.sa_handler = SIG_DFL;
  sigemptyset(&stop.sa_mask);
  struct sigaction ours {};
  sigaction(SIGTSTP, &stop, &ours);
  sigset_t tstp;
  sigemptyset(&tstp);
  sigaddset(&tstp, SIGTSTP);
  sigprocmask(SIG_UNBLOCK, &tstp, nullptr);
  raise(SIGTSTP);  // stops here until continued
  sigaction(SIGTSTP, &ours, nullptr);
  errno = savedErrno;
}

void onContinue(int) {
  const int savedErrno = errno;
  // Back in the mode the program was in, unless it was continued in the
  // background of its controlling terminal, where the shell owns the settings;
  // it comes here again when it is brought to the foreground.
  const pid_t foreground = tcgetpgrp(STDIN_FILENO);
  if (gChanged && (foreground == -1 || foreground == getpgrp())) apply(gSettings[gMode]);
  errno = savedErrno;
}

void install(int signal, void (*handler)(int), int flags, struct sigaction& previous) {
  sigaction(signal, nullptr, &previous);
  if (previous.sa_handler == SIG_IGN) return;  // ignored on purpose by whoever started us
  struct sigaction action {};
  action.sa_handler = handler;
  action.sa_flags = flags;
  sigemptyset(&action.sa_mask);
  sigaction(signal, &action, nullptr);
}

void installHandlers() {
  for (std::size_t i = 0; i < std::size(kEndingSignals); ++i) {
    install(kEndingSignals[i], onEndingSignal, SA_RESETHAND | SA_NODEFER, gPreviousEnding[i]);
  }
  install(SIGTSTP, onStop, SA_RESTART, gPreviousStop);
  install(SIGCONT, onContinue, SA_RESTART, gPreviousContinue);
}

void uninstallHandlers() {
  for (std::size_t i = 0; i < std::size(kEndingSignals); ++i) {
    sigaction(kEndingSignals[i], &gPreviousEnding[i], nullptr);
  }
  sigaction(SIGTSTP, &gPreviousStop, nullptr);
  sigaction(SIGCONT, &gPreviousContinue, nullptr);
}

}  // namespace

bool guardTerminal() {
  if (gGuarding) return true;
  struct termios saved {};
  if (tcgetattr(STDIN_FILENO, &saved) != 0) return false;

  struct termios keys = saved;
  keys.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
  keys.c_lflag |= ISIG;
  keys.c_cc[VMIN] = 1;
  keys.c_cc[VTIME] = 0;
  struct termios entry = saved;
  entry.c_lflag |= ICANON | ECHO;

  gSettings[static_cast<int>(TerminalMode::kSaved)] = saved;
  gSettings[static_cast<int>(TerminalMode::kKeys)] = keys;
  gSettings[static_cast<int>(TerminalMode::kEntry)] = entry;
  gMode = static_cast<int>(TerminalMode::kSaved);
  gGuarding = true;
  if (!gExitHookInstalled) {
    gExitHookInstalled = std::atexit(restoreAtExit) == 0;
  }
  installHandlers();
  return true;
}

void enterMode(TerminalMode mode) {
  if (!gGuarding) return;
  gMode = static_cast<int>(mode);
  if (mode == TerminalMode::kSaved && !gChanged) return;  // nothing to put back
  gChanged = 1;
  apply(gSettings[static_cast<int>(mode)]);
}

void releaseTerminal() {
  if (!gGuarding) return;
  enterMode(TerminalMode::kSaved);
  uninstallHandlers();
  gChanged = 0;
  gGuarding = false;
}

}  // namespace orvex::console
