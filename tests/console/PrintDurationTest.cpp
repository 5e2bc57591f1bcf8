#include <gtest/gtest.h>

#include "PrintDuration.h"
#include "StringTerminal.h"

using namespace orvex::console;

TEST(PrintDuration, FormsAndRounding) {
  const std::pair<double, const char*> cases[] = {
      {0, "0.00s"},
      {0.004, "0.00s"},
      {0.005, "0.01s"},
      {59.994, "59.99s"},
      {59.996, "1:00.00"},
      {3599.994, "59:59.99"},
      {3600, "1:00:00.00"},
      {90061.5, "25:01:01.50"},
      // Uptimes beyond 32 bits of whole seconds.
      {4294967295.0 + 65535 / 1024.0, "1193046:29:19.00"},
      {8589934592.0, "2386092:56:32.00"},
      {-3, "0.00s"},
  };
  for (const auto& [seconds, text] : cases) {
    EXPECT_EQ(formatDuration(seconds), text) << seconds;
  }
}

TEST(PrintDuration, ToConsoleWritesNoLineEnd) {
  orvex::test::StringTerminal term("");
  PrintDuration(3600.5, &term);
  EXPECT_EQ(term.direct, "1:00:00.50");
  testing::internal::CaptureStdout();
  PrintDuration(59.996, nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "1:00.00\n");
}
