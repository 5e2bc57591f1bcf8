#include "Screen.h"

#include <algorithm>
#include <cstdlib>

namespace orvex::test {

namespace {

constexpr char kEsc = '\x1b';
constexpr int kTabWidth = 8;

std::string trimmed(std::string line) {
  line.erase(line.find_last_not_of(' ') + 1);
  return line;
}

// The numeric parameters of a control sequence; missing ones are 0.
std::vector<int> numbers(const std::string& parameters) {
  std::vector<int> result{0};
  for (char c : parameters) {
    if (c == ';') {
      result.push_back(0);
    } else if (c >= '0' && c <= '9') {
      result.back() = result.back() * 10 + (c - '0');
    }
  }
  return result;
}

}  // namespace

Screen::Screen(int rows, int columns)
    : rows_(rows),
      columns_(columns),
      cells_(static_cast<std::size_t>(rows), std::string(columns, ' ')) {}

std::string Screen::feed(std::string_view bytes) {
  for (char c : bytes) {
    switch (state_) {
      case State::Escape:
        if (c == '[') {
          state_ = State::Sequence;
          parameters_.clear();
        } else {
          state_ = State::Text;  // other escapes are not used by the program
        }
        break;
      case State::Sequence:
        if (c >= 0x40 && c <= 0x7E) {
          control(c);
          state_ = State::Text;
        } else {
          parameters_.push_back(c);
        }
        break;
      case State::Text:
        if (c == kEsc) {
          state_ = State::Escape;
        } else if (c == '\r') {
          column_ = 1;
        } else if (c == '\n') {
          lineFeed();
        } else if (c == '\b') {
          column_ = std::max(1, std::min(column_, columns_) - 1);
        } else if (c == '\t') {
          column_ = std::min(columns_, ((column_ - 1) / kTabWidth + 1) * kTabWidth + 1);
        } else if (static_cast<unsigned char>(c) >= 0x20) {
          put(c);
        }
        break;
    }
  }
  std::string answers;
  answers.swap(answers_);
  return answers;
}

void Screen::put(char c) {
  if (column_ > columns_) {
    column_ = 1;
    lineFeed();
  }
  cells_[static_cast<std::size_t>(row_ - 1)][static_cast<std::size_t>(column_ - 1)] = c;
  ++column_;
}

void Screen::lineFeed() {
  if (row_ < rows_) {
    ++row_;
    return;
  }
  scrolled_.push_back(trimmed(cells_.front()));
  cells_.erase(cells_.begin());
  cells_.emplace_back(columns_, ' ');
}

void Screen::control(char final) {
  const std::vector<int> n = numbers(parameters_);
  const auto at = [&](std::size_t i) { return i < n.size() && n[i] > 0 ? n[i] : 1; };
  switch (final) {
    case 'H':
    case 'f':
      row_ = std::min(at(0), rows_);
      column_ = std::min(at(1), columns_);
      break;
    case 'G':
      column_ = std::min(at(0), columns_);
      break;
    case 'K':
      if (n.empty() || n[0] == 0) {
        std::string& line = cells_[static_cast<std::size_t>(row_ - 1)];
        const auto from = static_cast<std::size_t>(std::min(column_, columns_) - 1);
        line.replace(from, line.size() - from, line.size() - from, ' ');
      }
      break;
    case 'n':
      if (parameters_ == "6") {
        answers_ += "\x1b[" + std::to_string(row_) + ";" + std::to_string(cursorColumn()) + "R";
      }
      break;
    default:
      break;  // not used by the program
  }
}

std::string Screen::row(int row) const {
  return trimmed(cells_[static_cast<std::size_t>(row - 1)]);
}

std::string Screen::text() const {
  std::string result;
  std::string blankRows;
  for (int r = 1; r <= rows_; ++r) {
    const std::string line = row(r);
    if (line.empty()) {
      blankRows += "\n";
      continue;
    }
    result += blankRows + line + "\n";
    blankRows.clear();
  }
  return result;
}

std::string Screen::history() const {
  std::string result;
  for (const std::string& line : scrolled_) result += line + "\n";
  return result + text();
}

}  // namespace orvex::test
