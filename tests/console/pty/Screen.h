// A small text terminal: a grid of character cells that interprets what the
// program writes (printable bytes, CR, LF, BS, TAB, cursor positioning, erase
// to the end of the line) and answers cursor position requests, as a real
// terminal would. Lines that scroll off the top are kept, so that a test can
// still find them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvex::test {

class Screen {
 public:
  Screen(int rows, int columns);

  // Interprets output bytes; returns what the terminal sends back (cursor
  // position reports). A sequence may be split across calls.
  std::string feed(std::string_view bytes);

  // One row, 1-based, without trailing blanks.
  std::string row(int row) const;
  // The rows on the screen, each ended by '\n', with trailing blank rows left
  // out.
  std::string text() const;
  // Every line ever shown: those scrolled off, then the screen's rows.
  std::string history() const;

  int rows() const { return rows_; }
  int cursorRow() const { return row_; }
  int cursorColumn() const { return column_ > columns_ ? columns_ : column_; }

 private:
  void put(char c);
  void lineFeed();
  void control(char final);

  enum class State { Text, Escape, Sequence };

  int rows_;
  int columns_;
  std::vector<std::string> cells_;  // one string of `columns_` cells per row
  std::vector<std::string> scrolled_;
  int row_ = 1;
  int column_ = 1;  // columns_ + 1: the next printable wraps first
  State state_ = State::Text;
  std::string parameters_;
  std::string answers_;
};

}  // namespace orvex::test
