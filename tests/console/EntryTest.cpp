#include <gtest/gtest.h>

#include <cmath>

#include "Entry.h"
#include "StringTerminal.h"

using namespace orvex::console;
using orvex::test::StringTerminal;

namespace {

struct ULongCase {
  const char* text;
  int result;
  std::uint32_t value;  // expected when result is 0
};

TEST(String2ULong, NotationsOverflowAndRejections) {
  const ULongCase cases[] = {
      {"123", 0, 123},
      {"7Bh", 0, 123},
      {"7bh", 0, 123},
      {"1111011b", 0, 123},
      {"0x7Bh", 0, 123},
      {"Bh", 0, 11},
      {"-1", 0, 0xFFFFFFFF},
      {"4294967296", 0, 0xFFFFFFFF},
      {"+5", 0, 5},
      {"0", 0, 0},
      {"FFFFFFFFFh", 0, 0xFFFFFFFF},
      {"-2", 0, 0xFFFFFFFE},
      {"", -1, 0},
      {"h", -2, 0},
      {"b", -2, 0},
      {"hh", -2, 0},
      {"2b", -2, 0},
      {"7BH", -2, 0},
      {"1111011B", -2, 0},
      {"12h3", -2, 0},
      {"12x", -2, 0},
      {"12b", -2, 0},
      {"0xh", -2, 0},
      {"-", -2, 0},
      {"1 2", -2, 0},
  };
  for (const ULongCase& c : cases) {
    std::uint32_t value = 0xA5A5A5A5;
    EXPECT_EQ(String2ULong(c.text, value), c.result) << c.text;
    EXPECT_EQ(value, c.result == 0 ? c.value : 0xA5A5A5A5) << c.text;
  }
}

TEST(Entry, IntegerTakesTheLongestNumberAndLeavesTheRest) {
  StringTerminal term("  \n 12abc -7 +3 x 99999999999 -99999999999 -");
  int v = 0;
  EXPECT_EQ(readInteger(term, v), EntryResult::Value);
  EXPECT_EQ(v, 12);
  EXPECT_EQ(term.rest(), "abc -7 +3 x 99999999999 -99999999999 -");
  v = 5;
  EXPECT_EQ(readInteger(term, v), EntryResult::NotNumber);
  EXPECT_EQ(v, 5);
  EXPECT_EQ(term.rest(), "abc -7 +3 x 99999999999 -99999999999 -");
  term.entryGet(), term.entryGet(), term.entryGet();
  EXPECT_EQ(readInteger(term, v), EntryResult::Value);
  EXPECT_EQ(v, -7);
  EXPECT_EQ(readInteger(term, v), EntryResult::Value);
  EXPECT_EQ(v, 3);
  EXPECT_EQ(readInteger(term, v), EntryResult::NotNumber);
  term.entryGet();
  EXPECT_EQ(readInteger(term, v), EntryResult::Value);
  EXPECT_EQ(v, INT_MAX);
  EXPECT_EQ(readInteger(term, v), EntryResult::Value);
  EXPECT_EQ(v, INT_MIN);
  EXPECT_EQ(readInteger(term, v), EntryResult::NotNumber);
  EXPECT_EQ(readInteger(term, v), EntryResult::End);
}

TEST(Entry, RealNumbers) {
  struct Case {
    const char* input;
    EntryResult result;
    float value;
    const char* rest;
  };
  const Case cases[] = {
      {"1.5\n", EntryResult::Value, 1.5f, "\n"},
      {"-10", EntryResult::Value, -10.0f, ""},
      {"255.5V", EntryResult::Value, 255.5f, "V"},
      {".25", EntryResult::Value, 0.25f, ""},
      {"4.999e0x", EntryResult::Value, 4.999f, "x"},
      {"1e-3", EntryResult::Value, 0.001f, ""},
      {"2E+2", EntryResult::Value, 200.0f, ""},
      {"0000000000000000000000000000000000000000000000000000000000000000000001.5",
       EntryResult::Value, 1.5f, ""},
      {"abc", EntryResult::NotNumber, 0.0f, "abc"},
      {"nan", EntryResult::NotNumber, 0.0f, "nan"},
      {"inf", EntryResult::NotNumber, 0.0f, "inf"},
      {"   ", EntryResult::End, 0.0f, ""},
  };
  for (const Case& c : cases) {
    StringTerminal term(c.input);
    float v = 0;
    EXPECT_EQ(readReal(term, v), c.result) << c.input;
    EXPECT_FLOAT_EQ(v, c.value) << c.input;
    EXPECT_EQ(term.rest(), c.rest) << c.input;
  }
}

TEST(Entry, RealNumbersOfAnySizeStayFinite) {
  StringTerminal big(std::string(5000, '9') + ".5 " + "1e999999999");
  float v = 0;
  EXPECT_EQ(readReal(big, v), EntryResult::Value);
  EXPECT_TRUE(std::isinf(v));
  EXPECT_EQ(readReal(big, v), EntryResult::Value);
  EXPECT_TRUE(std::isinf(v));
  StringTerminal tiny("0." + std::string(5000, '0') + "1");
  EXPECT_EQ(readReal(tiny, v), EntryResult::Value);
  EXPECT_EQ(v, 0.0f);
  EXPECT_EQ(tiny.rest(), "");
}

TEST(Entry, RealNumbersRoundLikeTheFullText) {
  // Leading zeros of a fraction only scale; digits far past a float's
  // precision still decide a halfway case.
  const std::pair<std::string, float> cases[] = {
      {"0." + std::string(70, '0') + "5e75", 50000.0f},
      {"+." + std::string(78, '0') + "12e4916637933970772", INFINITY},
      {"1.000000059604644775390625" + std::string(40, '0') + "1", std::nextafter(1.0f, 2.0f)},
      {"1.000000059604644775390625", 1.0f},
      {std::string(300, '0') + "3." + std::string(300, '0'), 3.0f},
      {"1" + std::string(300, '0') + "e-300", 1.0f},
  };
  for (const auto& [input, expected] : cases) {
    StringTerminal term(input);
    float v = 0;
    EXPECT_EQ(readReal(term, v), EntryResult::Value) << input;
    EXPECT_EQ(v, expected) << input;
    EXPECT_EQ(term.rest(), "") << input;
  }
}

TEST(Entry, WordIsCutAtTenCharacters) {
  StringTerminal term("\n 123456789012 next");
  std::string word;
  EXPECT_EQ(readWord(term, word, 10), EntryResult::Value);
  EXPECT_EQ(word, "1234567890");
  EXPECT_EQ(readWord(term, word, 10), EntryResult::Value);
  EXPECT_EQ(word, "12");
  EXPECT_EQ(readWord(term, word, 10), EntryResult::Value);
  EXPECT_EQ(word, "next");
  EXPECT_EQ(readWord(term, word, 10), EntryResult::End);
}

}  // namespace
