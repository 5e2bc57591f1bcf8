// Runs the real Orvex-Test.exe on pipes on Windows (under Wine in the build's
// tests). Reader threads collect standard output and standard error, since
// anonymous pipes cannot be waited on; line ends "\r\n" of the program's text
// output read "\n", so that transcripts compare with those of every platform.
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <stdexcept>
#include <string_view>
#include <thread>

#include "ProgramRun.h"

namespace orvex::test {

namespace {

// One argument of a command line, quoted the way the C runtime splits it.
std::string quoted(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  std::string q = "\"";
  std::size_t backslashes = 0;
  for (const char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    q.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    q.push_back(c);
  }
  q.append(backslashes * 2, '\\');
  return q + "\"";
}

// This process's environment less the adapter's knobs, which each run sets
// itself (the bus selection TARVISH_I2C_ passes through), then the run's
// variables, as the block CreateProcess takes.
std::string environmentBlock(const std::map<std::string, std::string>& run) {
  std::string block;
  char* strings = GetEnvironmentStringsA();
  for (const char* e = strings; *e != '\0'; e += std::strlen(e) + 1) {
    const std::string_view entry = e;
    const std::string name(entry.substr(0, entry.find('=')));
    const bool knob = name.starts_with("TARVISH_") && !name.starts_with("TARVISH_I2C_");
    if (!knob && !run.contains(name)) block.append(entry).push_back('\0');
  }
  FreeEnvironmentStringsA(strings);
  for (const auto& [name, value] : run) block.append(name + "=" + value).push_back('\0');
  block.push_back('\0');
  return block;
}

std::string withLineFeeds(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out.push_back(text[i]);
  }
  return out;
}

}  // namespace

struct ProgramSession::Process {
  HANDLE process = nullptr;
  HANDLE input = nullptr;
  std::mutex mutex;
  std::condition_variable arrived;
  std::string texts[2];  // standard output, standard error, as they came
  bool open[2] = {true, true};
  std::size_t seen = 0;  // bytes of both outputs when readSome last returned
  std::thread readers[2];

  void read(HANDLE pipe, int which) {
    for (;;) {
      char buffer[4096];
      DWORD n = 0;
      const BOOL ok = ReadFile(pipe, buffer, sizeof buffer, &n, nullptr);
      const std::lock_guard lock(mutex);
      if (ok && n > 0) {
        texts[which].append(buffer, n);
      } else {
        open[which] = false;
      }
      arrived.notify_all();
      if (!open[which]) break;
    }
    CloseHandle(pipe);
  }
};

ProgramSession::ProgramSession(const RunOptions& options) : process_(new Process) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE pipes[3][2];  // [stdin, stdout, stderr][read, write]
  for (auto& pipe : pipes) {
    if (CreatePipe(&pipe[0], &pipe[1], &inherit, 0) == 0) throw std::runtime_error("CreatePipe");
  }
  // Our ends stay in this process.
  SetHandleInformation(pipes[0][1], HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(pipes[1][0], HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(pipes[2][0], HANDLE_FLAG_INHERIT, 0);

  std::string commandLine = quoted(options.argv0);
  for (const std::string& arg : options.args) commandLine += " " + quoted(arg);
  std::string environment = environmentBlock(options.env);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = pipes[0][0];
  startup.hStdOutput = pipes[1][1];
  startup.hStdError = pipes[2][1];
  PROCESS_INFORMATION info{};
  const BOOL started = CreateProcessA(ORVEX_TEST_PROGRAM, commandLine.data(), nullptr, nullptr,
                                      TRUE, 0, environment.data(), nullptr, &startup, &info);
  CloseHandle(pipes[0][0]);
  CloseHandle(pipes[1][1]);
  CloseHandle(pipes[2][1]);
  if (started == 0) {
    CloseHandle(pipes[0][1]);
    CloseHandle(pipes[1][0]);
    CloseHandle(pipes[2][0]);
    delete process_;
    throw std::runtime_error("CreateProcess " ORVEX_TEST_PROGRAM);
  }
  CloseHandle(info.hThread);
  process_->process = info.hProcess;
  process_->input = pipes[0][1];
  for (int i = 0; i < 2; ++i) {
    process_->readers[i] = std::thread(&Process::read, process_, pipes[i + 1][0], i);
  }
}

ProgramSession::~ProgramSession() {
  closeInput();
  if (process_->process != nullptr) {
    TerminateProcess(process_->process, 1);
    WaitForSingleObject(process_->process, INFINITE);
    CloseHandle(process_->process);
  }
  for (std::thread& reader : process_->readers) {
    if (reader.joinable()) reader.join();
  }
  delete process_;
}

bool ProgramSession::type(const std::string& bytes) {
  DWORD written = 0;
  return process_->input != nullptr &&
         WriteFile(process_->input, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                   nullptr) != 0 &&
         written == bytes.size();
}

void ProgramSession::closeInput() {
  if (process_->input != nullptr) CloseHandle(process_->input);
  process_->input = nullptr;
}

bool ProgramSession::readSome(int timeoutMs) {
  Process& p = *process_;
  std::unique_lock lock(p.mutex);
  const auto more = [&] {
    return p.texts[0].size() + p.texts[1].size() > p.seen || (!p.open[0] && !p.open[1]);
  };
  if (!p.arrived.wait_for(lock, std::chrono::milliseconds(timeoutMs), more)) return false;
  const std::size_t now = p.texts[0].size() + p.texts[1].size();
  if (now == p.seen) return false;  // both ended, nothing new
  p.seen = now;
  return true;
}

int ProgramSession::wait() {
  if (process_->process == nullptr) return -1;
  WaitForSingleObject(process_->process, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process_->process, &code);
  CloseHandle(process_->process);
  process_->process = nullptr;
  for (std::thread& reader : process_->readers) {
    if (reader.joinable()) reader.join();
  }
  return static_cast<int>(code & 0xFF);  // as a shell sees it: -1 is 255
}

std::string ProgramSession::out() const {
  const std::lock_guard lock(process_->mutex);
  return withLineFeeds(process_->texts[0]);
}

std::string ProgramSession::err() const {
  const std::lock_guard lock(process_->mutex);
  return withLineFeeds(process_->texts[1]);
}

RunResult runProgram(const RunOptions& options) {
  ProgramSession session(options);
  // Input goes in from a thread of its own, so that a program that does not
  // read it yet cannot hold up the deadline.
  std::thread feeder([&] {
    if (!options.input.empty()) session.type(options.input);
    if (options.closeInput) session.closeInput();
  });
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(options.timeoutMs);
  RunResult result;
  bool killed = false;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                          deadline - std::chrono::steady_clock::now())
                          .count();
    if (left <= 0) {
      killed = true;
      break;
    }
    if (!session.readSome(static_cast<int>(left))) {
      const std::lock_guard lock(session.process_->mutex);
      if (!session.process_->open[0] && !session.process_->open[1]) break;
    }
  }
  if (killed) TerminateProcess(session.process_->process, 1);
  feeder.join();
  result.status = session.wait();
  if (killed) result.status = -1;
  result.out = session.out();
  result.err = session.err();
  return result;
}

}  // namespace orvex::test
