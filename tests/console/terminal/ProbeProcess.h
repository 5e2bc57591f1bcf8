// Runs the terminal probe in a child process: with standard input (and
// usually standard output) on a fresh pseudo-terminal, or on pipes.
#pragma once

#include <sys/types.h>
#include <termios.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvex::console::test {

// Generous limit for every wait on the probe; reached only when it misbehaves.
inline constexpr int kWaitMs = 10000;

enum class Output { kTerminal, kPipe };

class PtyProbe {
 public:
  // `withoutLocalFlags` are cleared from the terminal's settings before the
  // probe starts, so that they differ from every mode the probe sets.
  explicit PtyProbe(std::string_view steps, Output output = Output::kTerminal,
                    tcflag_t withoutLocalFlags = 0);
  ~PtyProbe();
  PtyProbe(const PtyProbe&) = delete;
  PtyProbe& operator=(const PtyProbe&) = delete;

  // The terminal's settings as the probe's side sees them, now and as they
  // were before the probe started.
  termios settings() const;
  const termios& initialSettings() const { return initial_; }
  // Waits until the terminal is (or is not) in line mode with echo.
  bool waitForLineMode(bool on) const;

  // Types bytes on the terminal.
  void type(std::string_view bytes);
  // Waits for `text` in the output after what earlier waits matched.
  bool expect(std::string_view text);
  // Everything the probe wrote so far.
  const std::string& output() const { return output_; }
  // Reads the output to its end or up to the wait limit.
  void drainOutput();

  // Hangs the terminal up, as when its window is closed.
  void hangUp();
  pid_t pid() const { return pid_; }
  // Waits for the probe to end (or stop) and returns its wait status.
  std::optional<int> wait(bool orStop = false);

 private:
  bool readMore(int timeoutMs);

  int master_ = -1;
  int slave_ = -1;
  int outRead_ = -1;  // master_, or the pipe from the probe's standard output
  pid_t pid_ = -1;
  termios initial_{};
  std::string output_;
  std::size_t matched_ = 0;
};

struct ScriptedRun {
  std::string out;
  int status = -1;  // wait status
};

// Runs the probe with `input` on a pipe as standard input (then its end) and
// standard output on a pipe.
ScriptedRun runScripted(std::string_view steps, std::string_view input);

// The key codes in "key <code>" lines of the probe's output.
std::vector<int> keysIn(const std::string& output);

bool sameSettings(const termios& a, const termios& b);

}  // namespace orvex::console::test
