#include "CursorAnswer.h"

#include <cstdlib>

namespace bench {

namespace {

constexpr int kRows = 24;
constexpr int kTab = 8;

}  // namespace

std::string CursorAnswer::feed(std::string_view output) {
  std::string answers;
  for (const char c : output) {
    const auto byte = static_cast<unsigned char>(c);
    switch (state_) {
      case State::kText:
        if (byte == 0x1b) {
          state_ = State::kEscape;
        } else if (byte < 0x20) {
          control(c);
        } else if (byte < 0x80 || byte >= 0xC0) {
          ++column_;  // one column per character, not per byte of its encoding
        }
        break;
      case State::kEscape:
        if (c == '[') {
          state_ = State::kSequence;
          parameters_.clear();
        } else {
          state_ = State::kText;
        }
        break;
      case State::kSequence:
        if (byte >= 0x40 && byte <= 0x7e) {
          sequenceEnd(c, answers);
          state_ = State::kText;
        } else {
          parameters_ += c;
        }
        break;
    }
  }
  return answers;
}

void CursorAnswer::control(char c) {
  if (c == '\r') column_ = 1;
  if (c == '\n' && row_ < kRows) ++row_;
  if (c == '\b' && column_ > 1) --column_;
  if (c == '\t') column_ = ((column_ - 1) / kTab + 1) * kTab + 1;
}

void CursorAnswer::sequenceEnd(char final, std::string& answers) {
  if (final == 'H' || final == 'f') {
    const char* text = parameters_.c_str();
    char* end = nullptr;
    const long row = std::strtol(text, &end, 10);
    const long column = *end == ';' ? std::strtol(end + 1, nullptr, 10) : 1;
    row_ = row > 0 ? static_cast<int>(row) : 1;
    column_ = column > 0 ? static_cast<int>(column) : 1;
  } else if (final == 'G') {
    const long column = std::strtol(parameters_.c_str(), nullptr, 10);
    column_ = column > 0 ? static_cast<int>(column) : 1;
  } else if (final == 'n' && parameters_ == "6") {
    ++requests_;
    answers += "\x1b[" + std::to_string(row_) + ";" + std::to_string(column_) + "R";
  }
}

int CursorAnswer::columnAfter(std::string_view output) {
  CursorAnswer fresh;
  fresh.feed(output);
  return fresh.column_;
}

}  // namespace bench
