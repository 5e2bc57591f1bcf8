// Hostile standard input end to end: huge lines, binary and NUL bytes, and
// the end of input at every prompt. The program never crashes or hangs and
// ends cleanly.
#include <gtest/gtest.h>

#include <random>

#include "ProgramRun.h"

using orvex::test::runProgram;

namespace {

// Every key that asks for an entry.
const char* const kPromptKeys[] = {"O", "A", "S", "T", "R", "G", "E", "L", "H", "F"};

TEST(BadInput, MegabyteLineAtEveryPrompt) {
  const std::string digits(1 << 20, '9');
  const std::string letters(1 << 20, 'x');
  for (const char* key : kPromptKeys) {
    for (const std::string* line : {&digits, &letters}) {
      // Three entries' worth, so that every prompt of the command meets it.
      const std::string input = key + *line + "\n" + *line + "\n" + "v\x1b";
      const auto run = runProgram({.args = {"-q"}, .input = input, .timeoutMs = 60000});
      EXPECT_EQ(run.status, 0) << key;
      EXPECT_NE(run.out.find("Firmware version: 1-05\n"), std::string::npos) << key;
    }
  }
}

TEST(BadInput, BinaryAndNulBytesEverywhere) {
  std::mt19937 random(20261211);
  for (int round = 0; round < 20; ++round) {
    std::string input(4096, '\0');
    for (char& c : input) c = static_cast<char>(random());
    // The continuous displays wait for Esc; keep them out of the noise.
    for (char& c : input) {
      if (c == 'U' || c == 'M') c = '\0';
    }
    const auto run = runProgram({.input = input, .timeoutMs = 60000});
    EXPECT_EQ(run.status, 0) << round;
    const std::string end = "Program finished";
    EXPECT_EQ(run.out.substr(run.out.size() - std::min(run.out.size(), end.size())), end) << round;
  }
}

TEST(BadInput, EndOfInputAtEveryPromptSetsNothing) {
  // The key alone, and the key with a channel: input ends at each prompt.
  for (const char* key : kPromptKeys) {
    // The slot entry is the only one; a channel would already be its value.
    for (const std::string tail : {"", std::string(key) == "O" ? "" : "0\n"}) {
      const auto run = runProgram({.input = key + tail, .env = {{"TARVISH_TRACE", "stderr"}}});
      EXPECT_EQ(run.status, 0) << key << tail;
      EXPECT_EQ(run.err.find("Tarvish_Send"), std::string::npos) << key << tail;
      EXPECT_EQ(run.err.find("Tarvish_SetSlot"), std::string::npos) << key << tail;
      EXPECT_EQ(run.out.substr(run.out.size() - 17), "\nProgram finished") << key << tail;
    }
  }
}

}  // namespace
