// The console as the program needs it: keys, entry input, cursor, direct
// output and time. Commands talk to the console only through this interface;
// the platform's implementation owns every escape sequence and system call.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "Clock.h"

namespace orvex::console {

// Key codes: a character key gives its code (1..255); a key without a
// character gives kExtendedKey plus its scan code.
inline constexpr int kExtendedKey = 0x100;
// A failed key read. It carries the extended-key mark, so it never matches a
// command.
inline constexpr int kKeyFailed = -1;
// End of input or a lost terminal: the key loop ends as on Esc.
inline constexpr int kKeyEnd = -2;
inline constexpr int kKeyEsc = 27;

// End of the entry input, from entryPeek and entryGet.
inline constexpr int kEntryEnd = -1;

class Terminal : public Clock {
 public:
  virtual ~Terminal() = default;

  // Reports without blocking and without consuming whether a key (or the end
  // of input) is waiting.
  virtual bool keyWaiting() = 0;
  // Waits until a key (or the end of input) is waiting or timeoutMs passed;
  // a negative timeout waits without limit. Returns keyWaiting().
  virtual bool waitForKey(int timeoutMs) = 0;
  // Reads one key without echo. Blocks until one is there.
  virtual int readKey() = 0;

  // Entry input (standard input): on a terminal line-buffered and echoed, so
  // the operator can edit the line; what an entry leaves unread on its line
  // stays for the next entry. When standard input is not a terminal, keys
  // and entries read one stream in order. entryPeek returns the next byte
  // without consuming it, entryGet consumes it; both block for input and
  // return kEntryEnd at the end of input.
  virtual int entryPeek() = 0;
  virtual int entryGet() = 0;
  // Drops what is left of the current entry line where entries have lines of
  // their own (a terminal), so that a word that is no number does not answer
  // every later entry. In scripted use nothing is dropped.
  virtual void discardEntryLine() = 0;

  // True when standard output is a console whose cursor can be read and
  // moved. Otherwise the cursor operations do nothing and report column 1.
  virtual bool isScreen() const = 0;
  // The cursor's 1-based column and row.
  virtual int column() = 0;
  virtual int row() = 0;
  virtual void moveTo(int column, int row) = 0;
  // Moves to a column of the cursor's current row, without asking where the
  // cursor is.
  virtual void moveToColumn(int column) = 0;
  // Blanks the current line from the cursor to its end; the cursor stays.
  virtual void clearToEndOfLine() = 0;
  // Writes text straight to the console at the cursor, in order with
  // standard output.
  virtual void writeDirect(std::string_view text) = 0;

  // Milliseconds from a fixed origin (the program's start).
  virtual std::uint32_t millis() = 0;
};

// The console of this platform, set up on standard input and output: raw key
// mode on a terminal, restored on every way out.
// Open it before anything is written to standard output (it makes standard
// output unbuffered at a terminal), and keep one open at a time. Standard
// input then belongs to it: read entries through entryPeek and entryGet, not
// through the C or C++ input streams.
std::unique_ptr<Terminal> openTerminal();

}  // namespace orvex::console
