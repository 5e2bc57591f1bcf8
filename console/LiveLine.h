// One display line whose values are kept up to date in place: the labels are
// written once and each value is written over the old one at the column
// recorded after its label. When standard output is not a console, each
// refresh is written as a line of its own instead, with no cursor movement.
#pragma once

#include <string>
#include <vector>

#include "terminal/Terminal.h"

namespace orvex::console {

class LiveLine {
 public:
  LiveLine(Terminal& term, std::vector<const char*> labels);

  // Writes a field's value; on a console at once, at its column on the
  // cursor's current row (moving along the row needs no cursor query, so a
  // fast display does not wait for the terminal's answers).
  void set(std::size_t field, const std::string& text);
  // Ends one refresh: without a console, writes the line if a value changed.
  void refreshed();
  // The display ends (Esc): the console's line is ended.
  void close();

 private:
  Terminal& term_;
  std::vector<const char*> labels_;
  std::vector<int> columns_;
  std::vector<std::string> values_;
  bool changed_ = false;
};

std::string format(const char* fmt, double value);

}  // namespace orvex::console
