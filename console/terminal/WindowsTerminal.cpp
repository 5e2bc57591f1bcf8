// The console on Windows: standard input and output, each of which may be a
// console or not.
//
// At a console, keys come from the console's input records, waited for on the
// console input handle, and are mapped to key codes by keyCodeOf; entries are
// read a line at a time in the console's own line editing mode, into an entry
// buffer of their own, so what an entry leaves on its line never reaches the
// key loop. Cursor, clearing and direct output go to the console screen
// buffer.
//
// When standard input is not a console (a pipe or a file), keys and entries
// take bytes from one stream in order. A pipe cannot be waited on without
// reading it, so a reader thread moves its bytes into a queue that the
// program waits on; the end of input ends key and entry reads.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>

#include "ByteQueue.h"
#include "KeyRecord.h"
#include "Terminal.h"
#include "TerminalGuard.h"

namespace orvex::console {

namespace {

constexpr std::size_t kReadChunk = 4096;
// Windows 10 1803 and later; older headers do not name it, older systems
// refuse it.
#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif
// How long before its end a pause stops sleeping and watches the clock.
constexpr std::int64_t kPauseFinishUs = 60;

class PerformanceCounter {
 public:
  PerformanceCounter() {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    frequency_ = frequency.QuadPart;
  }
  std::int64_t nowUs() const {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return now.QuadPart / frequency_ * 1000000 + now.QuadPart % frequency_ * 1000000 / frequency_;
  }

 private:
  std::int64_t frequency_ = 1;
};

// A waitable timer for the coarse part of a pause: a high-resolution one
// where the system has it, otherwise a plain one with the system's timer
// resolution raised to 1 ms while the program runs.
class PauseTimer {
 public:
  PauseTimer() {
    timer_ = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                    TIMER_ALL_ACCESS);
    if (timer_ == nullptr) {
      timer_ = CreateWaitableTimerW(nullptr, TRUE, nullptr);
      raisedResolution_ = timeBeginPeriod(1) == TIMERR_NOERROR;
    }
  }
  ~PauseTimer() {
    if (raisedResolution_) timeEndPeriod(1);
    if (timer_ != nullptr) CloseHandle(timer_);
  }
  PauseTimer(const PauseTimer&) = delete;
  PauseTimer& operator=(const PauseTimer&) = delete;

  void sleepUs(std::int64_t us) {
    if (us <= 0) return;
    LARGE_INTEGER due{};
    due.QuadPart = -us * 10;  // relative, in units of 100 ns
    if (timer_ != nullptr && SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE)) {
      WaitForSingleObject(timer_, INFINITE);
    } else {
      Sleep(static_cast<DWORD>(us / 1000));
    }
  }

 private:
  HANDLE timer_ = nullptr;
  bool raisedResolution_ = false;
};

// Standard input that is not a console: its bytes as one stream, read by a
// thread of its own. The state is shared with that thread and outlives the
// terminal, since a thread blocked in a read cannot be stopped.
struct StreamInput {
  std::mutex mutex;
  std::condition_variable arrived;
  ByteQueue bytes;
  bool ended = false;

  static void read(const std::shared_ptr<StreamInput>& input, HANDLE handle) {
    for (;;) {
      unsigned char chunk[kReadChunk];
      DWORD n = 0;
      const BOOL ok = ReadFile(handle, chunk, sizeof chunk, &n, nullptr);
      const std::lock_guard lock(input->mutex);
      if (ok && n > 0) {
        input->bytes.append(chunk, chunk + n);
      } else {
        input->ended = true;  // end of input (0 bytes), a broken pipe or a failure
      }
      input->arrived.notify_all();
      if (input->ended) return;
    }
  }
};

class WindowsTerminal final : public Terminal {
 public:
  WindowsTerminal()
      : in_(GetStdHandle(STD_INPUT_HANDLE)),
        out_(GetStdHandle(STD_OUTPUT_HANDLE)),
        inputIsConsole_(isConsoleInput(in_)),
        outputIsConsole_(isConsoleOutput(out_)),
        screen_(inputIsConsole_ && outputIsConsole_),
        origin_(clock_.nowUs()) {
    if (outputIsConsole_) {
      // Prompts appear before the entry is read, and standard output and
      // direct output appear in the order they are written.
      std::setvbuf(stdout, nullptr, _IONBF, 0);
      // The bytes reach the console unchanged, which reads them in its
      // output code page (0xF8 the degree sign); in text mode the C runtime
      // may take them for the ANSI code page instead. The console starts a
      // new line at a line feed alone.
      _setmode(_fileno(stdout), _O_BINARY);
    }
    if (inputIsConsole_) {
      guarded_ = guardTerminal();
      enterMode(TerminalMode::kKeys);
    } else {
      stream_ = std::make_shared<StreamInput>();
      std::thread(StreamInput::read, stream_, in_).detach();
    }
  }

  ~WindowsTerminal() override {
    if (guarded_) releaseTerminal();
  }

  WindowsTerminal(const WindowsTerminal&) = delete;
  WindowsTerminal& operator=(const WindowsTerminal&) = delete;

  bool keyWaiting() override {
    if (stream_) {
      const std::lock_guard lock(stream_->mutex);
      dropZeroBytes();
      return !stream_->bytes.empty() || stream_->ended;
    }
    takeConsoleKeys();
    return !keys_.empty() || inputEnded_;
  }

  bool waitForKey(int timeoutMs) override {
    const std::int64_t deadline = clock_.nowUs() + static_cast<std::int64_t>(timeoutMs) * 1000;
    const auto left = [&]() -> DWORD {
      if (timeoutMs < 0) return INFINITE;
      const std::int64_t us = deadline - clock_.nowUs();
      return us <= 0 ? 0 : static_cast<DWORD>((us + 999) / 1000);
    };
    if (stream_) {
      std::unique_lock lock(stream_->mutex);
      const auto ready = [&] {
        dropZeroBytes();
        return !stream_->bytes.empty() || stream_->ended;
      };
      if (timeoutMs < 0) {
        stream_->arrived.wait(lock, ready);
        return true;
      }
      return stream_->arrived.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
    }
    while (!keyWaiting()) {
      const DWORD wait = left();
      if (wait == 0) return false;
      // Signalled while any input record waits; keyWaiting takes them all,
      // so records that give no key do not make this spin.
      const DWORD result = WaitForSingleObject(in_, wait);
      if (result == WAIT_FAILED) {
        endInput();
        return true;
      }
    }
    return true;
  }

  int readKey() override {
    if (stream_) {
      std::unique_lock lock(stream_->mutex);
      stream_->arrived.wait(lock, [&] {
        dropZeroBytes();
        return !stream_->bytes.empty() || stream_->ended;
      });
      if (stream_->bytes.empty()) return kKeyEnd;
      const int key = stream_->bytes.front();
      stream_->bytes.pop(1);
      return key;
    }
    while (keys_.empty()) {
      if (inputEnded_) return kKeyEnd;
      waitForKey(-1);
    }
    const int key = keys_.front();
    keys_.pop_front();
    return key;
  }

  int entryPeek() override {
    if (stream_) {
      std::unique_lock lock(stream_->mutex);
      stream_->arrived.wait(lock, [&] { return !stream_->bytes.empty() || stream_->ended; });
      return stream_->bytes.empty() ? kEntryEnd : stream_->bytes.front();
    }
    while (entry_.empty()) {
      if (inputEnded_ || entryEnded_) return kEntryEnd;
      readEntryLine();
    }
    return entry_.front();
  }

  int entryGet() override {
    const int c = entryPeek();
    if (c == kEntryEnd) {
      entryEnded_ = false;  // the end is taken; the console may give more lines
    } else if (stream_) {
      const std::lock_guard lock(stream_->mutex);
      stream_->bytes.pop(1);
    } else {
      entry_.pop(1);
    }
    return c;
  }

  void discardEntryLine() override {
    if (!stream_) entry_.pop(entry_.view().size());
  }

  bool isScreen() const override { return screen_; }

  int column() override {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!screen_ || GetConsoleScreenBufferInfo(out_, &info) == 0) return 1;
    return info.dwCursorPosition.X + 1;
  }

  int row() override {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!screen_ || GetConsoleScreenBufferInfo(out_, &info) == 0) return 1;
    return info.dwCursorPosition.Y + 1;
  }

  void moveTo(int column, int row) override {
    if (!screen_) return;
    SetConsoleCursorPosition(out_, {static_cast<SHORT>(column - 1), static_cast<SHORT>(row - 1)});
  }

  void moveToColumn(int column) override {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!screen_ || GetConsoleScreenBufferInfo(out_, &info) == 0) return;
    SetConsoleCursorPosition(out_, {static_cast<SHORT>(column - 1), info.dwCursorPosition.Y});
  }

  void clearToEndOfLine() override {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!screen_ || GetConsoleScreenBufferInfo(out_, &info) == 0) return;
    const COORD at = info.dwCursorPosition;
    const DWORD length = static_cast<DWORD>(info.dwSize.X - at.X);
    DWORD written = 0;
    FillConsoleOutputCharacterA(out_, ' ', length, at, &written);
    FillConsoleOutputAttribute(out_, info.wAttributes, length, at, &written);
  }

  void writeDirect(std::string_view text) override {
    if (outputIsConsole_) {
      std::fflush(stdout);
      DWORD written = 0;
      WriteConsoleA(out_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
      return;
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
  }

  std::int64_t nowUs() override { return clock_.nowUs() - origin_; }

  void sleepUs(std::int64_t us) override {
    if (us <= 0) return;
    const std::int64_t deadline = clock_.nowUs() + us;
    // The system wakes a sleeper a little late; the last stretch is waited out
    // on the clock, so that a short pause does not end early or late.
    timer_.sleepUs(deadline - kPauseFinishUs - clock_.nowUs());
    while (clock_.nowUs() < deadline) {
    }
  }

  std::uint32_t millis() override {
    return static_cast<std::uint32_t>((clock_.nowUs() - origin_) / 1000);
  }

 private:
  static bool isConsoleInput(HANDLE handle) {
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) != 0;
  }

  static bool isConsoleOutput(HANDLE handle) {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    return GetConsoleScreenBufferInfo(handle, &info) != 0;
  }

  // No key has the code 0; such bytes of the stream are dropped.
  void dropZeroBytes() {
    while (!stream_->bytes.empty() && stream_->bytes.front() == 0) stream_->bytes.pop(1);
  }

  // Moves every waiting console input record into the key queue, without
  // blocking. Records that are no key press are dropped.
  void takeConsoleKeys() {
    while (!inputEnded_) {
      DWORD waiting = 0;
      if (GetNumberOfConsoleInputEvents(in_, &waiting) == 0) {
        endInput();
        return;
      }
      if (waiting == 0) return;
      INPUT_RECORD records[64];
      DWORD n = 0;
      if (ReadConsoleInputW(in_, records, static_cast<DWORD>(std::size(records)), &n) == 0) {
        endInput();
        return;
      }
      for (DWORD i = 0; i < n; ++i) {
        if (records[i].EventType != KEY_EVENT) continue;
        const KEY_EVENT_RECORD& event = records[i].Event.KeyEvent;
        const KeyRecord record{event.bKeyDown != 0, event.wVirtualKeyCode, event.wVirtualScanCode,
                               oemByte(event.uChar.UnicodeChar),
                               (event.dwControlKeyState & ENHANCED_KEY) != 0};
        if (const auto key = keyCodeOf(record)) {
          for (WORD r = 0; r < (event.wRepeatCount > 0 ? event.wRepeatCount : 1); ++r) {
            keys_.push_back(*key);
          }
        }
      }
    }
  }

  // The character of a key record as a byte of the OEM code page; 0 when
  // there is none or the code page cannot show it.
  static unsigned char oemByte(WCHAR character) {
    if (character == 0) return 0;
    char byte = 0;
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(CP_OEMCP, 0, &character, 1, &byte, 1, nullptr, &usedDefault);
    if (n != 1 || usedDefault) return 0;
    return static_cast<unsigned char>(byte);
  }

  void endInput() {
    inputEnded_ = true;
    if (guarded_) enterMode(TerminalMode::kSaved);
  }

  // One line from the console, edited and echoed by the console itself; the
  // line end becomes "\n". Ctrl+Z at the start of a line ends the entry input.
  void readEntryLine() {
    enterMode(TerminalMode::kEntry);
    char chunk[kReadChunk];
    DWORD n = 0;
    if (ReadConsoleA(in_, chunk, sizeof chunk, &n, nullptr) == 0) {
      endInput();
      return;
    }
    enterMode(TerminalMode::kKeys);
    if (n == 0 || chunk[0] == '\x1a') {
      entryEnded_ = true;
      return;
    }
    for (DWORD i = 0; i < n; ++i) {
      if (chunk[i] == '\r') continue;
      const auto byte = static_cast<unsigned char>(chunk[i]);
      entry_.append(&byte, &byte + 1);
    }
  }

  const HANDLE in_;
  const HANDLE out_;
  const bool inputIsConsole_;
  const bool outputIsConsole_;
  const bool screen_;
  PerformanceCounter clock_;
  PauseTimer timer_;
  const std::int64_t origin_;
  bool guarded_ = false;
  bool inputEnded_ = false;              // the console input is lost: final
  bool entryEnded_ = false;              // an entry read met the end; taken by entryGet
  std::deque<int> keys_;                 // keys taken from the console's input records
  ByteQueue entry_;                      // the rest of the last entry line (console)
  std::shared_ptr<StreamInput> stream_;  // standard input when it is no console
};

}  // namespace

std::unique_ptr<Terminal> openTerminal() { return std::make_unique<WindowsTerminal>(); }

}  // namespace orvex::console
