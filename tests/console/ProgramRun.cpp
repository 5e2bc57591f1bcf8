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

// The program of the options, started with its standard input, output and
// error on pipes, and SIGPIPE at its default in the program. Sets the three
// pipe ends that stay here: the program's input, output and error.
pid_t spawnOnPipes(const RunOptions& options, int& input, int& output, int& error) {
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
  if (spawned != 0) {
    close(in[1]);
    close(out[0]);
    close(err[0]);
    throw std::runtime_error("posix_spawn");
  }
  input = in[1];
  output = out[0];
  error = err[0];
  return pid;
}

}  // namespace

RunResult runProgram(const RunOptions& options) {
  int input = -1, output = -1, error = -1;
  const pid_t pid = spawnOnPipes(options, input, output, error);

  RunResult result;
  std::size_t written = 0;
  int inFd = input;
  if (options.input.empty() && options.closeInput) {
    close(inFd);
    inFd = -1;
  }
  fcntl(input, F_SETFL, O_NONBLOCK);
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
    pollfd fds[3] = {{outOpen ? output : -1, POLLIN, 0},
                     {errOpen ? error : -1, POLLIN, 0},
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
  close(output);
  close(error);
  int wstatus = 0;
  waitpid(pid, &wstatus, 0);
  result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
  return result;
}

struct ProgramSession::Process {
  pid_t pid = -1;
  int input = -1;
  int fds[2] = {-1, -1};
  bool open[2] = {true, true};
  std::string texts[2];  // standard output, standard error
};

ProgramSession::ProgramSession(const RunOptions& options) : process_(new Process) {
  process_->pid = spawnOnPipes(options, process_->input, process_->fds[0], process_->fds[1]);
}

ProgramSession::~ProgramSession() {
  if (process_->input >= 0) close(process_->input);
  if (process_->pid > 0) {
    kill(process_->pid, SIGKILL);
    waitpid(process_->pid, nullptr, 0);
  }
  for (int fd : process_->fds) close(fd);
  delete process_;
}

bool ProgramSession::type(const std::string& bytes) {
  return process_->input >= 0 &&
         write(process_->input, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
}

void ProgramSession::closeInput() {
  if (process_->input >= 0) close(process_->input);
  process_->input = -1;
}

bool ProgramSession::readSome(int timeoutMs) {
  Process& p = *process_;
  pollfd fds[2] = {{p.open[0] ? p.fds[0] : -1, POLLIN, 0}, {p.open[1] ? p.fds[1] : -1, POLLIN, 0}};
  if (!p.open[0] && !p.open[1]) return false;
  if (poll(fds, 2, timeoutMs) <= 0) return false;
  for (int i = 0; i < 2; ++i) {
    if (fds[i].revents == 0) continue;
    char buffer[4096];
    const ssize_t n = read(p.fds[i], buffer, sizeof buffer);
    if (n > 0) {
      p.texts[i].append(buffer, static_cast<std::size_t>(n));
    } else {
      p.open[i] = false;
    }
  }
  return true;
}

int ProgramSession::wait() {
  if (process_->pid <= 0) return -1;
  int status = 0;
  waitpid(process_->pid, &status, 0);
  process_->pid = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ProgramSession::out() const { return process_->texts[0]; }
std::string ProgramSession::err() const { return process_->texts[1]; }

}  // namespace orvex::test
