// A console whose input is a fixed text: entries and keys read it as one
// stream, as in scripted use; nothing is a screen.
#pragma once

#include <string>

#include "terminal/Terminal.h"

namespace orvex::test {

class StringTerminal : public console::Terminal {
 public:
  explicit StringTerminal(std::string input) : input_(std::move(input)) {}

  bool keyWaiting() override { return true; }
  bool waitForKey(int) override { return true; }
  int readKey() override {
    return pos_ < input_.size() ? static_cast<unsigned char>(input_[pos_++]) : console::kKeyEnd;
  }
  int entryPeek() override {
    return pos_ < input_.size() ? static_cast<unsigned char>(input_[pos_]) : console::kEntryEnd;
  }
  int entryGet() override {
    const int c = entryPeek();
    if (c != console::kEntryEnd) ++pos_;
    return c;
  }
  bool isScreen() const override { return false; }
  int column() override { return 1; }
  int row() override { return 1; }
  void moveTo(int, int) override {}
  void moveToColumn(int) override {}
  void discardEntryLine() override {}
  void clearToEndOfLine() override {}
  void writeDirect(std::string_view text) override { direct += text; }
  std::int64_t nowUs() override { return 0; }
  void sleepUs(std::int64_t) override {}
  std::uint32_t millis() override { return 0; }

  std::string rest() const { return input_.substr(pos_); }
  std::string direct;

 private:
  std::string input_;
  std::size_t pos_ = 0;
};

}  // namespace orvex::test
