// Measures the console program as a separate process over the simulated
// module:
//   idle      CPU time of the key loop over a span with no key pressed, on a
//             pseudo-terminal and with standard input an open, empty pipe;
//             afterwards Esc (terminal) or the end of input (pipe) must end
//             the program with status 0;
//   uptime    the continuous uptime display's query rate, from its own rate
//             column (standard input and output pipes), and on a
//             pseudo-terminal whose cursor reports this program answers,
//             with the share of a core the program uses meanwhile;
//   amplitude the continuous amplitude display's cycles per second, counted
//             in the adapter library's call trace;
//   pacing    what the display rates are measured against: how late the
//             system wakes a 940 us sleep, and the time of the displays'
//             queries over the simulated module, made by this program;
//   startup   time from process start until the help text's last line has
//             arrived, next to starting /bin/true, as medians.
// Usage: orvex_console_bench PROGRAM [idle|pacing|uptime|amplitude|startup]...
// Prints one "RESULT name value" line per figure; the exit status is 0 when
// every run ended as it should.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <dirent.h>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "CursorAnswer.h"
#include "Orvex.h"
#include "Tarvish.h"

extern char** environ;

namespace {

constexpr const char* kHelpLastLine =
    "  by 'b'. Example: 123, 7Bh, and 1111011b specify the same number.";
constexpr int kIdleSeconds = 10;
constexpr int kDisplaySeconds = 3;
constexpr int kStartupRuns = 20;
constexpr int kExitWaitMs = 5000;
constexpr int kLatenessSamples = 2000;
constexpr std::int64_t kLatenessSleepNs = 940000;
constexpr int kQuerySamples = 20000;

std::int64_t nowNs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

void result(const char* name, double value) { std::printf("RESULT %s %.6g\n", name, value); }

// The simulated module starts afresh for every run: no variable of the
// adapter library reaches the program except those given here.
void cleanEnvironment(const std::vector<std::string>& extra) {
  std::vector<std::string> names;
  for (char** e = environ; *e != nullptr; ++e) {
    if (std::strncmp(*e, "TARVISH_", 8) == 0) {
      names.emplace_back(*e, std::strcspn(*e, "="));
    }
  }
  for (const std::string& name : names) unsetenv(name.c_str());
  for (const std::string& setting : extra) {
    const auto eq = setting.find('=');
    setenv(setting.substr(0, eq).c_str(), setting.substr(eq + 1).c_str(), 1);
  }
}

[[noreturn]] void execute(const std::string& program) {
  char* const argv[] = {const_cast<char*>(program.c_str()), nullptr};
  execv(program.c_str(), argv);
  _exit(127);
}

// A running program with its output (and, on pipes, its input) in our hands.
struct Child {
  pid_t pid = -1;
  int output = -1;  // the terminal's master side, or the read end of stdout
  int input = -1;   // the same master, or the write end of stdin
  bool terminal = false;
  std::string seen;  // everything read from output so far
};

Child startOnTerminal(const std::string& program, const std::vector<std::string>& env) {
  Child child;
  child.terminal = true;
  int master = -1;
  const pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
  if (pid == 0) {
    cleanEnvironment(env);
    execute(program);
  }
  child.pid = pid;
  child.output = child.input = master;
  return child;
}

Child startOnPipes(const std::string& program, const std::vector<std::string>& env) {
  int in[2];
  int out[2];
  if (pipe(in) != 0 || pipe(out) != 0) return {};
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(in[0], STDIN_FILENO);
    dup2(out[1], STDOUT_FILENO);
    close(in[0]);
    close(in[1]);
    close(out[0]);
    close(out[1]);
    cleanEnvironment(env);
    execute(program);
  }
  close(in[0]);
  close(out[1]);
  Child child;
  child.pid = pid;
  child.output = out[0];
  child.input = in[1];
  return child;
}

void send(const Child& child, std::string_view bytes) {
  if (write(child.input, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
    std::perror("write");
  }
}

// Reads what the program writes until deadline (monotonic ns), or until
// `until` returns true. On a terminal, cursor position requests are answered
// when answer is given. Returns false at the end of output.
template <class Until>
bool pump(Child& child, std::int64_t deadline, Until until, bench::CursorAnswer* answer = nullptr) {
  while (!until()) {
    const std::int64_t left = deadline - nowNs();
    if (left <= 0) return true;
    pollfd p{child.output, POLLIN, 0};
    const int ready = poll(&p, 1, static_cast<int>(left / 1000000 + 1));
    if (ready <= 0) continue;
    char chunk[4096];
    const ssize_t n = read(child.output, chunk, sizeof chunk);
    if (n <= 0) return false;  // end of output (EIO on a terminal whose program ended)
    child.seen.append(chunk, static_cast<std::size_t>(n));
    if (answer != nullptr) {
      const std::string reply = answer->feed(std::string_view(chunk, static_cast<std::size_t>(n)));
      if (!reply.empty()) send(child, reply);
    }
  }
  return true;
}

bool pumpFor(Child& child, std::int64_t ns, bench::CursorAnswer* answer = nullptr) {
  return pump(
      child, nowNs() + ns, [] { return false; }, answer);
}

// Waits for the program to end, reading its output meanwhile; its exit status,
// or nothing when it did not end in time (it is then killed).
std::optional<int> finish(Child& child) {
  const std::int64_t deadline = nowNs() + std::int64_t{kExitWaitMs} * 1000000;
  int status = 0;
  for (;;) {
    const pid_t done = waitpid(child.pid, &status, WNOHANG);
    if (done == child.pid) break;
    if (nowNs() > deadline) {
      kill(child.pid, SIGKILL);
      waitpid(child.pid, &status, 0);
      close(child.output);
      if (child.input != child.output) close(child.input);
      return std::nullopt;
    }
    if (!pumpFor(child, 5000000)) {
      waitpid(child.pid, &status, 0);
      break;
    }
  }
  pumpFor(child, 0);
  close(child.output);
  if (child.input != child.output && child.input >= 0) close(child.input);
  if (!WIFEXITED(status)) return std::nullopt;
  return WEXITSTATUS(status);
}

// CPU time the process has used, in nanoseconds: the scheduler's run time of
// every thread, or user plus system time at tick resolution where the
// scheduler's statistics are not available.
std::int64_t cpuNs(pid_t pid) {
  const std::string taskDir = "/proc/" + std::to_string(pid) + "/task";
  std::int64_t total = 0;
  bool any = false;
  if (DIR* dir = opendir(taskDir.c_str())) {
    while (const dirent* entry = readdir(dir)) {
      if (entry->d_name[0] == '.') continue;
      std::ifstream stat(taskDir + "/" + entry->d_name + "/schedstat");
      std::int64_t runNs = 0;
      if (stat >> runNs) {
        total += runNs;
        any = true;
      }
    }
    closedir(dir);
  }
  if (any) return total;
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  std::istringstream fields(text.substr(text.rfind(')') + 2));
  std::string field;
  long long utime = 0;
  long long stime = 0;
  for (int i = 3; fields >> field; ++i) {
    if (i == 14) utime = std::atoll(field.c_str());
    if (i == 15) {
      stime = std::atoll(field.c_str());
      break;
    }
  }
  return (utime + stime) * (1000000000LL / sysconf(_SC_CLK_TCK));
}

bool contains(const std::string& text, std::string_view what) {
  return text.find(what) != std::string::npos;
}

// The share of one core the program used since cpu0 and wall0.
void cpuShare(const char* name, const Child& child, std::int64_t cpu0, std::int64_t wall0) {
  const std::int64_t cpu1 = cpuNs(child.pid);
  const std::int64_t wall1 = nowNs();
  result(name, 100.0 * static_cast<double>(cpu1 - cpu0) / static_cast<double>(wall1 - wall0));
}

// ---- Idle ------------------------------------------------------------------

// Percent of one core used over the idle span; the program must end with 0.
bool idleRun(const std::string& program, bool terminal) {
  Child child = terminal ? startOnTerminal(program, {}) : startOnPipes(program, {});
  const char* name = terminal ? "idle_terminal_percent" : "idle_pipe_percent";
  if (terminal) {
    pump(child, nowNs() + 5000000000LL, [&] { return contains(child.seen, kHelpLastLine); });
  } else {
    pumpFor(child, 500000000);  // standard output is a pipe: the help text arrives at the end
  }
  pumpFor(child, 200000000);  // let start-up settle
  const std::int64_t cpu0 = cpuNs(child.pid);
  const std::int64_t wall0 = nowNs();
  pumpFor(child, std::int64_t{kIdleSeconds} * 1000000000);
  const std::int64_t cpu1 = cpuNs(child.pid);
  const std::int64_t wall1 = nowNs();
  const double percent =
      100.0 * static_cast<double>(cpu1 - cpu0) / static_cast<double>(wall1 - wall0);
  result(name, percent);
  std::printf("  %s: %.3f ms CPU in %.2f s\n", name, (cpu1 - cpu0) / 1e6, (wall1 - wall0) / 1e9);

  if (terminal) {
    send(child, "\x1b");
  } else {
    close(child.input);
    child.input = -1;
  }
  const std::optional<int> status = finish(child);
  const bool ok = status == 0 && contains(child.seen, kHelpLastLine) &&
                  contains(child.seen, "Program finished");
  std::printf("  %s: %s ends it with status %d%s\n", name, terminal ? "Esc" : "end of input",
              status.value_or(-1), ok ? "" : " -- UNEXPECTED");
  return ok;
}

// ---- Continuous displays ---------------------------------------------------------

// The number after the last occurrence of label, or -1.
double lastNumberAfter(const std::string& text, std::string_view label) {
  const auto at = text.rfind(label);
  if (at == std::string::npos) return -1;
  return std::atof(text.c_str() + at + label.size());
}

// U with standard input and output pipes: one line per refresh, with the
// display's own rate since its start.
bool uptimeOnPipes(const std::string& program) {
  Child child = startOnPipes(program, {});
  pumpFor(child, 300000000);
  send(child, "U");
  const std::int64_t cpu0 = cpuNs(child.pid);
  const std::int64_t wall0 = nowNs();
  pumpFor(child, std::int64_t{kDisplaySeconds} * 1000000000);
  cpuShare("uptime_cpu_percent_pipe", child, cpu0, wall0);
  send(child, "\x1b");
  close(child.input);
  child.input = -1;
  const std::optional<int> status = finish(child);
  const double rate = lastNumberAfter(child.seen, "Queries/s: ");
  result("uptime_queries_per_s_pipe", rate);
  return status == 0 && rate > 0;
}

// U on a terminal that answers cursor position requests: the rate as the
// display writes it into its rate column.
bool uptimeOnTerminal(const std::string& program) {
  Child child = startOnTerminal(program, {});
  bench::CursorAnswer answer;
  pump(
      child, nowNs() + 5000000000LL, [&] { return contains(child.seen, kHelpLastLine); }, &answer);
  pumpFor(child, 100000000, &answer);
  const std::size_t before = child.seen.size();
  const std::int64_t requests0 = answer.requests();
  send(child, "U");
  const std::int64_t cpu0 = cpuNs(child.pid);
  const std::int64_t wall0 = nowNs();
  pumpFor(child, std::int64_t{kDisplaySeconds} * 1000000000, &answer);
  cpuShare("uptime_cpu_percent_terminal", child, cpu0, wall0);
  const std::int64_t requests = answer.requests() - requests0;
  send(child, "\x1b");
  pumpFor(child, 200000000, &answer);
  send(child, "\x1b");
  const std::optional<int> status = finish(child);
  // The rate is the text written after the last move to the rate column,
  // which is the cursor's column after the third label.
  const std::string display = child.seen.substr(before);
  const auto label = display.find("Queries/s: ");
  double rate = -1;
  if (label != std::string::npos) {
    const int column = bench::CursorAnswer::columnAfter(display.substr(0, label + 11));
    // A move to the column: to a row and column, or to a column of the row.
    const std::string toPosition = ";" + std::to_string(column) + "H";
    const std::string toColumn = "[" + std::to_string(column) + "G";
    const auto position = display.rfind(toPosition);
    const auto columnOnly = display.rfind(toColumn);
    rate =
        lastNumberAfter(display, position != std::string::npos &&
                                         (columnOnly == std::string::npos || position > columnOnly)
                                     ? toPosition
                                     : toColumn);
  }
  result("uptime_queries_per_s_terminal", rate);
  result("uptime_cursor_requests_per_s_terminal", requests / double(kDisplaySeconds));
  return status == 0 && rate > 0;
}

// M with the adapter's call trace: each cycle queries channel X once.
bool amplitudeCycles(const std::string& program) {
  char tracePath[] = "/tmp/orvex-bench-trace-XXXXXX";
  const int fd = mkstemp(tracePath);
  if (fd < 0) return false;
  close(fd);
  Child child = startOnPipes(program, {std::string("TARVISH_TRACE=") + tracePath});
  pumpFor(child, 300000000);
  const std::int64_t start = nowNs();
  send(child, "M");
  const std::int64_t cpu0 = cpuNs(child.pid);
  pumpFor(child, std::int64_t{kDisplaySeconds} * 1000000000);
  cpuShare("amplitude_cpu_percent", child, cpu0, start);
  send(child, "\x1b");
  const std::int64_t end = nowNs();
  close(child.input);
  child.input = -1;
  const std::optional<int> status = finish(child);
  std::ifstream trace(tracePath);
  std::string line;
  long cycles = 0;
  while (std::getline(trace, line)) {
    if (line.rfind("Tarvish_Send(1, [1F], 1, 0)", 0) == 0) ++cycles;
  }
  unlink(tracePath);
  // The first cycle starts as the key arrives and the last one may end just
  // before Esc, so the span holds cycles - 1 whole periods.
  const double rate = (cycles - 1) / ((end - start) / 1e9);
  result("amplitude_cycles_per_s", rate);
  return status == 0 && cycles > 1;
}

// ---- Pacing ----------------------------------------------------------------

// The value below which the given percent of sorted values lie.
double percentile(const std::vector<double>& sorted, int percent) {
  return sorted[std::min(sorted.size() - 1, sorted.size() * percent / 100)];
}

// How late the system wakes a sleeper, with the timer slack the console
// program sets for itself, and how long one query of each display takes over
// the simulated module (in this process, through the same libraries).
bool pacing() {
  prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
  std::vector<double> late;
  for (int i = 0; i < kLatenessSamples; ++i) {
    const std::int64_t t0 = nowNs();
    timespec pause{0, kLatenessSleepNs};
    nanosleep(&pause, nullptr);
    late.push_back(static_cast<double>(nowNs() - t0 - kLatenessSleepNs) / 1000);
  }
  std::sort(late.begin(), late.end());
  result("sleep_late_us_median", percentile(late, 50));
  result("sleep_late_us_p90", percentile(late, 90));
  result("sleep_late_us_p99", percentile(late, 99));

  if (Tarvish_Open() != 0) return false;
  double uptime = 0;
  const std::int64_t u0 = nowNs();
  for (int i = 0; i < kQuerySamples; ++i) {
    if (Orvex_GetUptime(&uptime) != 0) return false;
  }
  result("uptime_query_us", static_cast<double>(nowNs() - u0) / 1000 / kQuerySamples);
  float amplitude = 0;
  const std::int64_t a0 = nowNs();
  for (int i = 0; i < kQuerySamples; ++i) {
    if (Orvex_GetMeasAmplit(0, &amplitude) != 0) return false;
  }
  result("amplitude_query_us", static_cast<double>(nowNs() - a0) / 1000 / kQuerySamples);
  return true;
}

// ---- Start-up --------------------------------------------------------------

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

bool startup(const std::string& program) {
  std::vector<double> orvex;
  std::vector<double> trivial;
  bool ok = true;
  for (int run = 0; run < kStartupRuns; ++run) {
    const std::int64_t t0 = nowNs();
    Child child = startOnTerminal(program, {});
    pump(child, t0 + 5000000000LL, [&] { return contains(child.seen, kHelpLastLine); });
    const std::int64_t t1 = nowNs();
    send(child, "\x1b");
    ok = ok && finish(child) == 0 && contains(child.seen, kHelpLastLine);
    orvex.push_back((t1 - t0) / 1e6);

    const std::int64_t u0 = nowNs();
    Child other = startOnTerminal("/bin/true", {});
    int status = 0;
    waitpid(other.pid, &status, 0);
    trivial.push_back((nowNs() - u0) / 1e6);
    close(other.output);
  }
  result("startup_ms", median(orvex));
  result("startup_true_ms", median(trivial));
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s PROGRAM [idle|pacing|uptime|amplitude|startup]...\n", argv[0]);
    return 2;
  }
  const std::string program = argv[1];
  std::vector<std::string> parts(argv + 2, argv + argc);
  if (parts.empty()) parts = {"idle", "pacing", "uptime", "amplitude", "startup"};
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  bool ok = true;
  for (const std::string& part : parts) {
    bool partOk = false;
    if (part == "idle") {
      partOk = idleRun(program, true);
      partOk = idleRun(program, false) && partOk;
    } else if (part == "pacing") {
      partOk = pacing();
    } else if (part == "uptime") {
      partOk = uptimeOnPipes(program);
      partOk = uptimeOnTerminal(program) && partOk;
    } else if (part == "amplitude") {
      partOk = amplitudeCycles(program);
    } else if (part == "startup") {
      partOk = startup(program);
    } else {
      std::fprintf(stderr, "unknown part %s\n", part.c_str());
    }
    if (!partOk) std::printf("  %s: a run did not end as expected\n", part.c_str());
    ok = ok && partOk;
  }
  return ok ? 0 : 1;
}
