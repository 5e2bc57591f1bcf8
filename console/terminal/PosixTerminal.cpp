// The console on a POSIX system: standard input and output, which may be a
// terminal or not.
//
// On a terminal, keys are read raw and without echo, and escape sequences
// become extended key codes; entries are read a line at a time in the
// terminal's own line editing mode, into an entry buffer of their own, so what
// an entry leaves on its line never reaches the key loop. When standard input
// is not a terminal, keys and entries take bytes from one stream in order.
// Every wait is a poll() with a timeout or for readable input, so nothing
// spins, and the end of input or a lost terminal ends key and entry reads.

#include <poll.h>
#include <time.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ByteQueue.h"
#include "CursorReport.h"
#include "KeyDecoder.h"
#include "Terminal.h"
#include "TerminalGuard.h"

namespace orvex::console {

namespace {

// How long the rest of an escape sequence may take to arrive after its first
// bytes; an Esc key alone is known only when nothing follows in this time.
constexpr int kSequenceWaitMs = 50;
// How long the terminal may take to answer a cursor position request.
constexpr int kCursorReportWaitMs = 200;
// How long before its end a pause stops sleeping and watches the clock.
constexpr std::int64_t kPauseFinishNs = 20000;
constexpr std::size_t kReadChunk = 4096;

std::int64_t monotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

std::int64_t monotonicMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

class PosixTerminal final : public Terminal {
 public:
  PosixTerminal()
      : inputIsTerminal_(isatty(STDIN_FILENO) == 1),
        screen_(inputIsTerminal_ && isatty(STDOUT_FILENO) == 1),
        originNs_(monotonicNs()) {
#ifdef __linux__
    // Timers of this thread fire within 1 microsecond of their time, so a
    // pause of 1 ms lasts about 1 ms.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif
    if (isatty(STDOUT_FILENO) == 1) {
      // Prompts appear before the entry is read, and standard output and
      // direct output appear in the order they are written.
      std::setvbuf(stdout, nullptr, _IONBF, 0);
    }
    if (inputIsTerminal_) {
      guarded_ = guardTerminal();
      enterMode(TerminalMode::kKeys);
    }
  }

  ~PosixTerminal() override {
    if (guarded_) releaseTerminal();
  }

  PosixTerminal(const PosixTerminal&) = delete;
  PosixTerminal& operator=(const PosixTerminal&) = delete;

  bool keyWaiting() override {
    if (!inputEnded_) fillInput(0);
    dropSkippedBytes();
    return !input_.empty() || inputEnded_;
  }

  bool waitForKey(int timeoutMs) override {
    const std::int64_t deadline = monotonicMs() + timeoutMs;
    while (!keyWaiting()) {
      int wait = -1;
      if (timeoutMs >= 0) {
        const std::int64_t left = deadline - monotonicMs();
        if (left <= 0) return false;
        wait = static_cast<int>(left);
      }
      if (!waitForInput(wait)) return keyWaiting();
    }
    return true;
  }

  int readKey() override {
    for (;;) {
      if (!input_.empty()) {
        DecodedKey decoded = decode(inputEnded_);
        if (decoded.kind == DecodedKey::Kind::kNeedMore) {
          if (fillInput(kSequenceWaitMs)) continue;  // more bytes, or the end
          decoded = decode(true);
        }
        input_.pop(decoded.length);
        if (decoded.kind == DecodedKey::Kind::kKey) return decoded.key;
        continue;
      }
      if (inputEnded_) return kKeyEnd;
      fillInput(-1);
    }
  }

  int entryPeek() override {
    ByteQueue& buffer = entryBuffer();
    while (buffer.empty()) {
      if (inputEnded_ || entryEnded_) return kEntryEnd;
      if (inputIsTerminal_) {
        readEntryLine();
      } else {
        fillInput(-1);
      }
    }
    return buffer.front();
  }

  int entryGet() override {
    const int c = entryPeek();
    if (c == kEntryEnd) {
      entryEnded_ = false;  // the end is taken; a terminal may give more lines
    } else {
      ByteQueue& buffer = entryBuffer();
      buffer.pop(1);
    }
    return c;
  }

  void discardEntryLine() override {
    if (inputIsTerminal_) entry_.pop(entry_.view().size());
  }

  bool isScreen() const override { return screen_; }

  int column() override {
    if (!screen_) return 1;
    queryCursor();
    return column_;
  }

  int row() override {
    if (!screen_) return 1;
    queryCursor();
    return row_;
  }

  void moveTo(int column, int row) override {
    if (!screen_) return;
    std::fprintf(stdout, "\x1b[%d;%dH", row, column);
    std::fflush(stdout);
    column_ = column;
    row_ = row;
  }

  void moveToColumn(int column) override {
    if (!screen_) return;
    std::fprintf(stdout, "\x1b[%dG", column);
    std::fflush(stdout);
    column_ = column;
  }

  void clearToEndOfLine() override {
    if (!screen_) return;
    std::fputs("\x1b[K", stdout);
    std::fflush(stdout);
  }

  void writeDirect(std::string_view text) override {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
  }

  std::int64_t nowUs() override { return (monotonicNs() - originNs_) / 1000; }

  void sleepUs(std::int64_t us) override {
    if (us <= 0) return;
    const std::int64_t deadline = monotonicNs() + us * 1000;
    // The system wakes a sleeper a little late; the last stretch is waited out
    // on the clock, so that a short pause does not end early or late.
    const std::int64_t wake = deadline - kPauseFinishNs;
    timespec until{static_cast<time_t>(wake / 1000000000), static_cast<long>(wake % 1000000000)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
    while (monotonicNs() < deadline) {
    }
  }

  std::uint32_t millis() override {
    return static_cast<std::uint32_t>((monotonicNs() - originNs_) / 1000000);
  }

 private:
  // Entries on a terminal have a buffer of their own; otherwise they share the
  // one input stream with the keys.
  ByteQueue& entryBuffer() { return inputIsTerminal_ ? entry_ : input_; }

  // The first key of the input buffer. Bytes from a terminal are decoded;
  // otherwise every byte is a key.
  DecodedKey decode(bool complete) const {
    if (inputIsTerminal_) return decodeKey(input_.view(), complete);
    if (input_.front() == 0) return {DecodedKey::Kind::kSkip, 0, 1};  // no key has the code 0
    return {DecodedKey::Kind::kKey, input_.front(), 1};
  }

  // Drops leading bytes that form no key, so that a waiting key is one that
  // readKey will return.
  void dropSkippedBytes() {
    while (!input_.empty()) {
      const DecodedKey decoded = decode(inputEnded_);
      if (decoded.kind != DecodedKey::Kind::kSkip) return;
      input_.pop(decoded.length);
    }
  }

  // Waits until standard input is readable, at its end or lost, for at most
  // timeoutMs (negative: without limit). Signals do not cut the wait short.
  static bool waitForInput(int timeoutMs) {
    const std::int64_t deadline = monotonicMs() + timeoutMs;
    pollfd input{STDIN_FILENO, POLLIN, 0};
    for (;;) {
      int wait = -1;
      if (timeoutMs >= 0)
        wait = static_cast<int>(std::max<std::int64_t>(0, deadline - monotonicMs()));
      const int ready = poll(&input, 1, wait);
      if (ready > 0) return true;  // data, end, hang-up, error or closed: a read tells
      if (ready == 0) return false;
      if (errno != EINTR) return true;  // let the read report the failure
    }
  }

  // Reads what standard input holds into `into`. Returns false when nothing
  // was read and input goes on; the end of input or a lost terminal sets
  // inputEnded_.
  bool readInto(ByteQueue& into) {
    unsigned char chunk[kReadChunk];
    const ssize_t n = read(STDIN_FILENO, chunk, sizeof chunk);
    if (n > 0) {
      into.append(chunk, chunk + n);
      return true;
    }
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) return false;
    endInput();
    return false;
  }

  // Waits for input up to timeoutMs and reads it into the input buffer.
  // Returns true when bytes arrived or the input ended.
  bool fillInput(int timeoutMs) {
    if (!waitForInput(timeoutMs)) return false;
    return readInto(input_) || inputEnded_;
  }

  void endInput() {
    inputEnded_ = true;
    if (guarded_) enterMode(TerminalMode::kSaved);
  }

  // One line from the terminal, edited and echoed by the terminal itself.
  void readEntryLine() {
    enterMode(TerminalMode::kEntry);
    for (;;) {
      waitForInput(-1);
      unsigned char chunk[kReadChunk];
      const ssize_t n = read(STDIN_FILENO, chunk, sizeof chunk);
      if (n > 0) {
        entry_.append(chunk, chunk + n);
        break;
      }
      if (n == 0) {
        entryEnded_ = true;  // end of input typed on an empty line
        break;
      }
      if (errno != EINTR && errno != EAGAIN) {
        endInput();
        return;
      }
    }
    enterMode(TerminalMode::kKeys);
  }

  // Asks the terminal where the cursor is. Bytes that arrive around the
  // answer are typed keys and join the key input in order. Without an answer
  // the last known position stays.
  void queryCursor() {
    if (inputEnded_) return;
    std::fputs("\x1b[6n", stdout);
    std::fflush(stdout);
    ByteQueue incoming;
    const std::int64_t deadline = monotonicMs() + kCursorReportWaitMs;
    for (;;) {
      const std::span<const unsigned char> bytes = incoming.view();
      if (const auto report = findCursorReport(bytes)) {
        row_ = report->row;
        column_ = report->column;
        input_.append(bytes.data(), bytes.data() + report->start);
        input_.append(bytes.data() + report->start + report->length, bytes.data() + bytes.size());
        return;
      }
      const std::int64_t left = deadline - monotonicMs();
      if (left <= 0 || !waitForInput(static_cast<int>(left))) break;
      readInto(incoming);
      if (inputEnded_) break;
    }
    const std::span<const unsigned char> bytes = incoming.view();
    input_.append(bytes.data(), bytes.data() + bytes.size());
  }

  const bool inputIsTerminal_;
  const bool screen_;
  const std::int64_t originNs_;
  bool guarded_ = false;
  bool inputEnded_ = false;  // end of input or lost terminal: final
  bool entryEnded_ = false;  // an entry read met the end; taken by entryGet
  ByteQueue input_;          // keys (terminal), or the whole input stream
  ByteQueue entry_;          // the rest of the last entry line (terminal)
  int column_ = 1;           // last known cursor position
  int row_ = 1;
};

}  // namespace

std::unique_ptr<Terminal> openTerminal() { return std::make_unique<PosixTerminal>(); }

}  // namespace orvex::console
