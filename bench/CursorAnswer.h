// The terminal's side of cursor position requests, for a program run on a
// pseudo-terminal: follows the cursor through the program's output (printable
// bytes, line ends, tabs, backspaces, moves to a position or to a column) and answers each
// request for the position as a terminal does.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace bench {

class CursorAnswer {
 public:
  // Takes the next piece of output; returns the answers to the requests in
  // it, to be written to the program's input.
  std::string feed(std::string_view output);

  // Requests answered so far.
  std::int64_t requests() const { return requests_; }

  // The column a fresh terminal's cursor is in after output.
  static int columnAfter(std::string_view output);

 private:
  void control(char c);
  void sequenceEnd(char final, std::string& answers);

  enum class State { kText, kEscape, kSequence };
  State state_ = State::kText;
  std::string parameters_;
  int row_ = 1;
  int column_ = 1;
  std::int64_t requests_ = 0;
};

}  // namespace bench
