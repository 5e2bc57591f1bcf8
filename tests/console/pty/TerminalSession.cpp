#include "TerminalSession.h"

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utmp.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "InheritedEnvironment.h"

namespace orvex::test {

namespace {

std::vector<char*> pointers(std::vector<std::string>& strings) {
  std::vector<char*> p;
  for (auto& s : strings) p.push_back(s.data());
  p.push_back(nullptr);
  return p;
}

bool writeAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

TerminalSession::TerminalSession(const std::vector<std::string>& args,
                                 const std::map<std::string, std::string>& env) {
  winsize size{};
  size.ws_row = kRows;
  size.ws_col = kColumns;
  if (openpty(&master_, &slave_, nullptr, nullptr, &size) != 0) throw std::runtime_error("openpty");
  tcgetattr(slave_, &initial_);

  // Everything the child needs is prepared before the fork.
  std::vector<std::string> argStrings{ORVEX_TEST_PROGRAM};
  argStrings.insert(argStrings.end(), args.begin(), args.end());
  std::vector<std::string> envStrings = orvex::test::inheritedEnvironment(env);
  auto argv = pointers(argStrings);
  auto envp = pointers(envStrings);

  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork");
  if (pid_ == 0) {
    close(master_);
    if (login_tty(slave_) != 0) _exit(126);
    execve(ORVEX_TEST_PROGRAM, argv.data(), envp.data());
    _exit(127);
  }
  reader_ = std::thread([this] { readOutput(); });
}

TerminalSession::~TerminalSession() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  stop_ = true;
  reader_.join();
  close(master_);
  close(slave_);
}

void TerminalSession::readOutput() {
  while (!stop_) {
    pollfd fd{master_, POLLIN, 0};
    if (poll(&fd, 1, 20) <= 0) continue;
    char buffer[4096];
    const ssize_t n = read(master_, buffer, sizeof buffer);
    if (n <= 0) continue;
    std::string answers;
    {
      std::lock_guard lock(mutex_);
      answers = screen_.feed(std::string_view(buffer, static_cast<std::size_t>(n)));
    }
    if (!answers.empty()) writeAll(master_, answers);
    changed_.notify_all();
  }
}

void TerminalSession::type(const std::string& keys) {
  if (!writeAll(master_, keys)) throw std::runtime_error("typing on the terminal failed");
}

bool TerminalSession::waitFor(const std::function<bool(const Screen&)>& condition) {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, kPatience, [&] { return condition(screen_); });
}

bool TerminalSession::waitForText(const std::string& text) {
  return waitFor([&](const Screen& s) { return s.history().find(text) != std::string::npos; });
}

bool TerminalSession::waitForSettings(const std::function<bool(const termios&)>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (!condition(settings())) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

bool TerminalSession::waitForKeyMode() {
  return waitForSettings([](const termios& t) { return (t.c_lflag & (ICANON | ECHO)) == 0; });
}

bool TerminalSession::waitForLineMode() {
  return waitForSettings(
      [](const termios& t) { return (t.c_lflag & (ICANON | ECHO)) == (ICANON | ECHO); });
}

Screen TerminalSession::screen() {
  std::lock_guard lock(mutex_);
  return screen_;
}

termios TerminalSession::settings() const {
  termios t{};
  tcgetattr(slave_, &t);
  return t;
}

std::optional<int> TerminalSession::waitForExit() {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  for (;;) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      if (!WIFEXITED(status)) return std::nullopt;
      return WEXITSTATUS(status);
    }
    if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

}  // namespace orvex::test
