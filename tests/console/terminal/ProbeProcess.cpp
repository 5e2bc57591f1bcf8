#include "ProbeProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace orvex::console::test {

namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void fail(const char* what) {
  throw std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

// In the child: a clean signal state, no core files, then the probe.
[[noreturn]] void execProbe(std::string_view steps) {
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP, SIGCONT, SIGTTOU, SIGPIPE}) {
    std::signal(signal, SIG_DFL);
  }
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  const rlimit noCore{0, 0};
  setrlimit(RLIMIT_CORE, &noCore);
  const std::string stepText(steps);
  execl(TERM_PROBE_PATH, "term_probe", stepText.c_str(), static_cast<char*>(nullptr));
  _exit(127);
}

// Reads from `fd` into `into` for up to timeoutMs; false on timeout or end.
bool readSome(int fd, std::string& into, int timeoutMs) {
  pollfd p{fd, POLLIN, 0};
  const int ready = poll(&p, 1, timeoutMs);
  if (ready <= 0) return false;
  char chunk[4096];
  const ssize_t n = read(fd, chunk, sizeof chunk);
  if (n <= 0) return false;
  into.append(chunk, static_cast<std::size_t>(n));
  return true;
}

int remainingMs(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

PtyProbe::PtyProbe(std::string_view steps, Output output, tcflag_t withoutLocalFlags) {
  master_ = posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) fail("pseudo-terminal");
  slave_ = open(ptsname(master_), O_RDWR | O_NOCTTY);
  if (slave_ < 0) fail("pseudo-terminal slave");
  if (withoutLocalFlags != 0) {
    termios t = settings();
    t.c_lflag &= ~withoutLocalFlags;
    if (tcsetattr(slave_, TCSANOW, &t) != 0) fail("terminal settings");
  }
  initial_ = settings();
  int pipeFds[2] = {-1, -1};
  if (output == Output::kPipe && pipe(pipeFds) != 0) fail("pipe");

  pid_ = fork();
  if (pid_ < 0) fail("fork");
  if (pid_ == 0) {
    // Its own process group in this session, so that a stop signal stops it.
    setpgid(0, 0);
    dup2(slave_, STDIN_FILENO);
    dup2(output == Output::kPipe ? pipeFds[1] : slave_, STDOUT_FILENO);
    close(master_);
    close(slave_);
    if (output == Output::kPipe) {
      close(pipeFds[0]);
      close(pipeFds[1]);
    }
    execProbe(steps);
  }
  if (output == Output::kPipe) {
    close(pipeFds[1]);
    outRead_ = pipeFds[0];
  } else {
    outRead_ = master_;
  }
}

PtyProbe::~PtyProbe() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (outRead_ != master_ && outRead_ >= 0) close(outRead_);
  if (master_ >= 0) close(master_);
  if (slave_ >= 0) close(slave_);
}

termios PtyProbe::settings() const {
  termios t{};
  tcgetattr(slave_, &t);
  return t;
}

bool PtyProbe::waitForLineMode(bool on) const {
  const auto deadline = Clock::now() + std::chrono::milliseconds(kWaitMs);
  while (Clock::now() < deadline) {
    const termios t = settings();
    const bool lineMode = (t.c_lflag & ICANON) != 0 && (t.c_lflag & ECHO) != 0;
    if (lineMode == on) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

void PtyProbe::type(std::string_view bytes) {
  if (write(master_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
    fail("type");
}

bool PtyProbe::readMore(int timeoutMs) { return readSome(outRead_, output_, timeoutMs); }

bool PtyProbe::expect(std::string_view text) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(kWaitMs);
  for (;;) {
    const std::size_t at = output_.find(text, matched_);
    if (at != std::string::npos) {
      matched_ = at + text.size();
      return true;
    }
    const int left = remainingMs(deadline);
    if (left == 0 || !readMore(left)) return false;
  }
}

void PtyProbe::drainOutput() {
  const auto deadline = Clock::now() + std::chrono::milliseconds(kWaitMs);
  while (remainingMs(deadline) > 0 && readMore(outRead_ == master_ ? 100 : remainingMs(deadline))) {
  }
}

void PtyProbe::hangUp() {
  if (outRead_ == master_) outRead_ = -1;
  close(master_);
  master_ = -1;
}

std::optional<int> PtyProbe::wait(bool orStop) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(kWaitMs);
  while (Clock::now() < deadline) {
    int status = 0;
    const pid_t done = waitpid(pid_, &status, WNOHANG | (orStop ? WUNTRACED : 0));
    if (done == pid_) {
      if (!WIFSTOPPED(status)) pid_ = -1;
      return status;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return std::nullopt;
}

ScriptedRun runScripted(std::string_view steps, std::string_view input) {
  int in[2];
  int out[2];
  if (pipe(in) != 0 || pipe(out) != 0) fail("pipe");
  // The input is small enough for the pipe: all of it and its end are there
  // before the probe starts.
  if (write(in[1], input.data(), input.size()) != static_cast<ssize_t>(input.size())) fail("input");
  close(in[1]);
  const pid_t pid = fork();
  if (pid < 0) fail("fork");
  if (pid == 0) {
    dup2(in[0], STDIN_FILENO);
    dup2(out[1], STDOUT_FILENO);
    for (int fd : {in[0], out[0], out[1]}) close(fd);
    execProbe(steps);
  }
  close(in[0]);
  close(out[1]);
  ScriptedRun run;
  const auto deadline = Clock::now() + std::chrono::milliseconds(kWaitMs);
  while (remainingMs(deadline) > 0 && readSome(out[0], run.out, remainingMs(deadline))) {
  }
  close(out[0]);
  while (waitpid(pid, &run.status, WNOHANG) == 0) {
    if (remainingMs(deadline) == 0) {
      kill(pid, SIGKILL);  // still running after the wait limit
      waitpid(pid, nullptr, 0);
      run.status = -1;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return run;
}

std::vector<int> keysIn(const std::string& output) {
  std::vector<int> keys;
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind("key ", 0) == 0) keys.push_back(std::atoi(line.c_str() + 4));
  }
  return keys;
}

bool sameSettings(const termios& a, const termios& b) {
  return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
         a.c_lflag == b.c_lflag && std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0;
}

}  // namespace orvex::console::test
