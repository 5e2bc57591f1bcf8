#include "ProgramRun.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
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

}  // namespace

RunResult runProgram(const RunOptions& options) {
  // A program that ends before reading all its input must not end the test.
  signal(SIGPIPE, SIG_IGN);
  int in[2], out[2], err[2];
  if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) {
    throw std::runtime_error("pipe");
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);

  std::vector<std::string> args{options.argv0};
  args.insert(args.end(), options.args.begin(), options.args.end());
  std::vector<std::string> env = inheritedEnvironment(options.env);
  auto argv = pointers(args);
  auto envp = pointers(env);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  pid_t pid = 0;
  const int spawned =
      posix_spawn(&pid, ORVEX_TEST_PROGRAM, &actions, &attributes, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  close(in[0]);
  close(out[1]);
  close(err[1]);
  if (spawned != 0) throw std::runtime_error("posix_spawn");

  RunResult result;
  std::size_t written = 0;
  int inFd = in[1];
  if (options.input.empty() && options.closeInput) {
    close(inFd);
    inFd = -1;
  }
  fcntl(in[1], F_SETFL, O_NONBLOCK);
  bool outOpen = true, errOpen = true;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(options.timeoutMs);
  while (outOpen || errOpen) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                          deadline - std::chrono::steady_clock::now())
                          .count();
    if (left <= 0) {
      kill(pid, SIGKILL);
      break;
    }
    pollfd fds[3] = {{outOpen ? out[0] : -1, POLLIN, 0},
                     {errOpen ? err[0] : -1, POLLIN, 0},
                     {inFd >= 0 && written < options.input.size() ? inFd : -1, POLLOUT, 0}};
    if (poll(fds, 3, static_cast<int>(left)) < 0) continue;
    char buffer[65536];
    for (int i = 0; i < 2; ++i) {
      if (fds[i].revents == 0) continue;
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        (i == 0 ? result.out : result.err).append(buffer, static_cast<std::size_t>(n));
      } else {
        (i == 0 ? outOpen : errOpen) = false;
      }
    }
    if (fds[2].revents != 0) {
      const ssize_t n = write(inFd, options.input.data() + written, options.input.size() - written);
      if (n > 0) written += static_cast<std::size_t>(n);
      if (n < 0 && errno != EAGAIN) written = options.input.size();
      if (written == options.input.size() && options.closeInput) {
        close(inFd);
        inFd = -1;
      }
    }
  }
  if (inFd >= 0) close(inFd);
  close(out[0]);
  close(err[0]);
  int wstatus = 0;
  waitpid(pid, &wstatus, 0);
  result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
  return result;
}

std::string helpText() {
  return "Press (if not explicitly specified, the case doesn't matter):\n"
         "    'q' to scan ZPB for the device,     'o/O' to get/set ZPB slot number,\n"
         "    'l/L' to get/set LPF frequency,     'h/H' to get/set HPF frequency,\n"
         "    'a/A' to get/set amplification,     's/S' to get/set polarity,\n"
         "    'r/R' to get/set offset range,      't/T' to get/set channel offset,\n"
         "    'f/F' to get/set amplitude LPF,     'g/G' to get/set channel amplitude,\n"
         "    'e/E' to get/set operation mode,\n"
         "    'm/M' to get measured amplitude, M: continuously,\n"
         "    'k' to get housekeeping data,       'c' to get clock frequencies,\n"
         "    'd' to get firmware date,           'v' to get firmware version,\n"
         "    'p' to get product identification,  'n' to get product number,\n"
         "    'u/U' to get uptime, U: continuously,\n"
         "    'Esc' to stop,                      '?' for this help...\n"
         "Note:\n"
         "  Integral values can be entered in decimal, hexadecimal, or binary formats.\n"
         "  The hexadecimal format can be specified by the postfix 'h', the binary format\n"
         "  by 'b'. Example: 123, 7Bh, and 1111011b specify the same number.\n";
}

std::string normalStart() { return "Communication port opened\nBuffers flushed\n" + helpText(); }

}  // namespace orvex::test
