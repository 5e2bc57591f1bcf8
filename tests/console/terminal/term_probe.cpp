// A small program on the console's terminal layer, for tests that drive it
// through a pseudo-terminal or pipes. Its one argument is a list of steps,
// each one letter; it reports each result on a line of its own.
//
//   k  read a key:                 "key <code>"
//   K  read keys until 'q' or the end, each as "key <code>"
//   l  read an entry line:         "line <text>" or "line-end"
//   w  read a number word (blanks skipped, then digits): "word <digits>"
//   W  report whether a key waits: "waiting <0|1>"
//   c  report the cursor:          "col <column> row <row>"
//   m  move the cursor to column 3, row 4 and clear to the end of the line
//   d  write "<direct>" directly
//   X  leave through exit() with the terminal still open
//
// "ready" is printed once the terminal is set up; "prompt" before every
// entry. Exit status 3 when a key read met the end of input.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Terminal.h"

using namespace orvex::console;

namespace {

// Keeps the terminal reachable when the probe leaves through exit(), so that
// leak checkers do not report it.
Terminal* gKept = nullptr;

void readLine(Terminal& term) {
  std::string text;
  std::fputs("prompt: ", stdout);
  std::fflush(stdout);
  for (;;) {
    const int c = term.entryGet();
    if (c == kEntryEnd) {
      if (text.empty()) {
        std::puts("line-end");
        return;
      }
      break;
    }
    if (c == '\n') break;
    text.push_back(static_cast<char>(c));
  }
  std::printf("line %s\n", text.c_str());
}

void readWord(Terminal& term) {
  std::fputs("prompt: ", stdout);
  std::fflush(stdout);
  while (term.entryPeek() == ' ' || term.entryPeek() == '\n') term.entryGet();
  std::string digits;
  while (term.entryPeek() >= '0' && term.entryPeek() <= '9') {
    digits.push_back(static_cast<char>(term.entryGet()));
  }
  std::printf("word %s\n", digits.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  auto term = openTerminal();
  std::puts("ready");
  std::fflush(stdout);
  bool ended = false;
  for (const char* step = argv[1]; *step != '\0'; ++step) {
    switch (*step) {
      case 'k': {
        const int key = term->readKey();
        ended = ended || key == kKeyEnd;
        std::printf("key %d\n", key);
        break;
      }
      case 'K':
        for (;;) {
          const int key = term->readKey();
          std::printf("key %d\n", key);
          if (key == kKeyEnd) ended = true;
          if (key == kKeyEnd || key == 'q') break;
        }
        break;
      case 'l':
        readLine(*term);
        break;
      case 'w':
        readWord(*term);
        break;
      case 'W':
        std::printf("waiting %d\n", term->keyWaiting() ? 1 : 0);
        break;
      case 'c': {
        const int column = term->column();
        const int row = term->row();
        std::printf("col %d row %d\n", column, row);
        break;
      }
      case 'm':
        term->moveTo(3, 4);
        term->clearToEndOfLine();
        break;
      case 'd':
        term->writeDirect("<direct>");
        break;
      case 'X':
        gKept = term.release();
        std::exit(0);
      default:
        return 2;
    }
    std::fflush(stdout);  // each result is seen at once, also through a pipe
  }
  return ended ? 3 : 0;
}
