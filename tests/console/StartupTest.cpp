// Start-up, command line, key loop and shutdown of the real program.
#include <gtest/gtest.h>

#include <regex>

#include "ProgramRun.h"

using orvex::test::helpText;
using orvex::test::normalStart;
using orvex::test::RunOptions;
using orvex::test::runProgram;

namespace {

const std::string kDebugStart =
    "Checking Tarvish.dll Version...\n"
    "Tarvish.dll Version: 1.00\n"
    "Checking Orvex.dll Version...\n"
    "Orvex.dll Version: 1.00\n"
    "Opening the communication port...\n"
    "Communication port opened\n"
    "Flushing communication buffers of the Tarvish adapter...\n"
    "Communication buffers of the Tarvish adapter were flushed\n";

TEST(Startup, OutputModesFromTheSwitches) {
  const struct {
    std::vector<std::string> args;
    std::string out;
  } cases[] = {
      {{}, normalStart() + "Program finished"},
      {{"-q"}, ""},
      {{"/Q"}, ""},
      {{"-d"}, kDebugStart + helpText() + "Program finished"},
      {{"-d", "-q"}, kDebugStart + helpText() + "Program finished"},
      {{"-q", "-d"}, kDebugStart + helpText() + "Program finished"},
      {{"/D", "/q"}, kDebugStart + helpText() + "Program finished"},
  };
  for (const auto& c : cases) {
    const auto run = runProgram({.args = c.args, .input = "\x1b"});
    EXPECT_EQ(run.out, c.out) << testing::PrintToString(c.args);
    EXPECT_EQ(run.status, 0);
  }
}

TEST(Startup, InvalidCommandLineShowsUsageAndCallsNoLibrary) {
  for (const char* arg : {"-dq", "-debug", "-x", "/?", "-", "1", "LPT1", "d"}) {
    const auto run = runProgram({.args = {"-d", arg},
                                 .env = {{"TARVISH_TRACE", "stderr"}},
                                 .argv0 = "/opt/bin/Orvex-Test"});
    const std::regex usage(
        "Orvex-Test ver\\. 1\\.20, compilation date: [A-Z][a-z][a-z] [ 123][0-9] [0-9]{4}\n"
        " [^\n]+\n"
        "\n"
        "Usage: Orvex-Test LPT-Number \\[Switches\\]\n"
        "  Switch: \\{ -option, /option \\}\n"
        "    options: Q, q: quiet mode          D, d: debug mode\n");
    EXPECT_TRUE(std::regex_match(run.out, usage)) << arg << "\n" << run.out;
    EXPECT_EQ(run.err, "") << arg;
    EXPECT_EQ(run.status, 255) << arg;
  }
}

TEST(Startup, ProgramNameEndsAtEitherSeparatorAndTheFirstDot) {
  const std::pair<const char*, const char*> cases[] = {
      {"./build/Orvex-Test", "Orvex-Test"}, {"C:\\tools\\Orvex-Test.exe", "Orvex-Test"},
      {"C:\\apps.old\\test", "test"},       {"..\\bin\\my.prog.exe", "my"},
      {"plainname", "plainname"},
  };
  for (const auto& [path, name] : cases) {
    const auto run = runProgram({.args = {"-x"}, .argv0 = path});
    EXPECT_EQ(run.out.substr(0, run.out.find(' ')), name) << path;
    EXPECT_NE(run.out.find("\nUsage: " + std::string(name) + " LPT-Number"), std::string::npos);
  }
}

TEST(Startup, AdapterVersionMustHaveMajorOne) {
  const struct {
    const char* word;
    std::string out;
    int status;
  } cases[] = {
      {"0x0200", "Wrong Tarvish.dll Version, expected 1.00, found 2.00\n", 254},
      {"0x00FF", "Wrong Tarvish.dll Version, expected 1.00, found 0.255\n", 254},
      {"0x01FF", "Checking Tarvish.dll Version...\nTarvish.dll Version: 1.255\n", 0},
      {"0x0114", "Checking Tarvish.dll Version...\nTarvish.dll Version: 1.20\n", 0},
  };
  for (const auto& c : cases) {
    const auto run =
        runProgram({.args = {"-d"}, .input = "\x1b", .env = {{"TARVISH_VERSION", c.word}}});
    EXPECT_EQ(run.status, c.status) << c.word;
    if (c.status == 0) {
      EXPECT_EQ(run.out.rfind(c.out, 0), 0u) << run.out;
    } else {
      // The mismatch is reported in every mode, and nothing else happens.
      EXPECT_EQ(run.out, "Checking Tarvish.dll Version...\n" + c.out);
      EXPECT_EQ(runProgram({.args = {"-q"}, .env = {{"TARVISH_VERSION", c.word}}}).out, c.out);
    }
  }
}

TEST(Startup, FailedOpenEndsWithStatusOneWithoutFlush) {
  const auto run = runProgram({.args = {"-q"},
                               .input = "\x1b",
                               .env = {{"TARVISH_FAIL", "Open"}, {"TARVISH_TRACE", "stderr"}}});
  EXPECT_EQ(run.out,
            "Error at Tarvish_Open: Injected failure of Tarvish_Open (call 1), I/O Error Message: "
            "Simulated I/O error\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err.find("Flush"), std::string::npos) << run.err;
}

TEST(Startup, FailedFirstFlushIsReportedAndTheLoopRuns) {
  const auto run = runProgram({.input = "\x1b", .env = {{"TARVISH_FAIL", "Flush_LPT@1"}}});
  EXPECT_EQ(run.out,
            "Communication port opened\n"
            "Error at Tarvish_Flush_LPT: Injected failure of Tarvish_Flush_LPT (call 1), I/O "
            "Error Message: Simulated I/O error\n" +
                helpText() + "Program finished");
  EXPECT_EQ(run.status, 0);
}

TEST(KeyLoop, EndOfInputEndsTheLoopLikeEsc) {
  const auto run = runProgram({.input = "x"});
  EXPECT_EQ(run.out, normalStart() + "Program finished");
  EXPECT_EQ(run.status, 0);
}

TEST(KeyLoop, HelpOnRequestOtherKeysSilentKeysAfterEscConsumed) {
  const auto run = runProgram({.args = {"-q"}, .input = "x\r\n?Z~\x1bvvv"});
  EXPECT_EQ(run.out, helpText());
  EXPECT_EQ(run.status, 0);
}

}  // namespace
