#include "CursorReport.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace orvex::console {
namespace {

std::optional<CursorReport> find(const std::string& text) {
  const std::vector<unsigned char> bytes(text.begin(), text.end());
  return findCursorReport(bytes);
}

TEST(CursorReport, FoundAmongTypedKeys) {
  struct Case {
    std::string bytes;
    std::size_t start, length;
    int row, column;
  };
  const Case cases[] = {
      {"\x1b[5;9R", 0, 6, 5, 9},
      {"ab\x1b[12;140Rcd", 2, 9, 12, 140},
      {"\x1b[A\x1b[3;1R", 3, 6, 3, 1},     // an arrow key typed before the answer
      {"\x1b[1;5A\x1b[7;2R", 6, 6, 7, 2},  // a modified arrow key is no answer
  };
  for (const Case& c : cases) {
    const auto report = find(c.bytes);
    ASSERT_TRUE(report.has_value()) << c.bytes.substr(1);
    EXPECT_EQ(report->start, c.start);
    EXPECT_EQ(report->length, c.length);
    EXPECT_EQ(report->row, c.row);
    EXPECT_EQ(report->column, c.column);
  }
}

TEST(CursorReport, IncompleteOrMalformedIsNoAnswer) {
  for (const std::string bytes : {"", "\x1b[5;9", "\x1b[5;R", "\x1b[;9R", "\x1b[0;9R", "\x1b[5:9R",
                                  "\x1b[123456;1R", "5;9R"}) {
    EXPECT_FALSE(find(bytes).has_value()) << bytes;
  }
}

}  // namespace
}  // namespace orvex::console
