// The real Orvex-Test on a pseudo-terminal: a thread reads everything the
// program writes into a Screen and answers its cursor position requests at
// once; the test types keys and waits, with a deadline, for what it expects.
#pragma once

#include <sys/types.h>
#include <termios.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "Screen.h"

namespace orvex::test {

class TerminalSession {
 public:
  static constexpr int kRows = 24;
  static constexpr int kColumns = 132;
  static constexpr std::chrono::seconds kPatience{10};

  TerminalSession(const std::vector<std::string>& args,
                  const std::map<std::string, std::string>& env);
  ~TerminalSession();
  TerminalSession(const TerminalSession&) = delete;
  TerminalSession& operator=(const TerminalSession&) = delete;

  // Types bytes as the operator's keyboard would send them.
  void type(const std::string& keys);

  // Waits until the screen satisfies the condition; false after kPatience.
  bool waitFor(const std::function<bool(const Screen&)>& condition);
  // Waits until the text appears anywhere in the history of the screen.
  bool waitForText(const std::string& text);
  // Waits until the terminal's settings satisfy the condition.
  bool waitForSettings(const std::function<bool(const termios&)>& condition);
  // Waits until the program reads keys one by one without echo.
  bool waitForKeyMode();
  // Waits until the program reads an edited, echoed line.
  bool waitForLineMode();

  // A copy of the screen as it is now.
  Screen screen();
  // The terminal's current settings.
  termios settings() const;
  // The settings the terminal had before the program started.
  const termios& initialSettings() const { return initial_; }

  // Waits for the program's end; its exit status, or nothing when it is
  // still running after kPatience (it is then killed).
  std::optional<int> waitForExit();

 private:
  void readOutput();

  int master_ = -1;
  int slave_ = -1;  // kept open so the settings stay readable after the end
  pid_t pid_ = -1;
  termios initial_{};
  std::mutex mutex_;
  std::condition_variable changed_;
  Screen screen_{kRows, kColumns};
  std::atomic<bool> stop_{false};
  std::thread reader_;
};

}  // namespace orvex::test
