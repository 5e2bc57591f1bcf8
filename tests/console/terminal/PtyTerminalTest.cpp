// The terminal layer on a real (pseudo-)terminal: what the operator types
// goes in at the master side, what the probe writes comes out there.

#include <sys/wait.h>

#include <gtest/gtest.h>

#include <csignal>
#include <ostream>
#include <string>
#include <vector>

#include "ProbeProcess.h"
#include "Terminal.h"

namespace orvex::console::test {
namespace {

constexpr int ext(int scan) { return kExtendedKey + scan; }

bool inKeyMode(const termios& t) {
  return (t.c_lflag & (ICANON | ECHO)) == 0 && (t.c_lflag & ISIG) != 0;
}

int exitCode(std::optional<int> status) {
  if (!status || !WIFEXITED(*status)) return -1;
  return WEXITSTATUS(*status);
}

TEST(PtyTerminal, KeysAreReadRawAndSequencesDecoded) {
  PtyProbe probe("K");
  ASSERT_TRUE(probe.expect("ready"));
  EXPECT_TRUE(inKeyMode(probe.settings()));
  // Arrows (plain and with Ctrl), a function key, an unknown sequence, a
  // letter, Esc directly before a letter.
  probe.type("\x1b[A\x1b[1;5B\x1bOP\x1b[Z\x1b[15~x\x1bz");
  ASSERT_TRUE(probe.expect("key 122"));
  probe.type("\x1b");  // Esc alone: nothing follows until it is reported
  ASSERT_TRUE(probe.expect("key 27"));
  probe.type("q");
  EXPECT_EQ(exitCode(probe.wait()), 0);
  probe.drainOutput();
  const std::vector<int> expected{ext(0x48), ext(0x50), ext(0x3B), ext(0x3F), 'x',
                                  27,        'z',       27,        'q'};
  EXPECT_EQ(keysIn(probe.output()), expected);
  // Keys are not echoed.
  EXPECT_EQ(probe.output().find("[A"), std::string::npos);
}

TEST(PtyTerminal, EntryLinesAreEditedAndTheirRestNeverReachesKeys) {
  PtyProbe probe("lwkl");
  ASSERT_TRUE(probe.expect("prompt: "));
  ASSERT_TRUE(probe.waitForLineMode(true));
  probe.type(
      "12\x7f"
      "3\n");  // backspace erases the 2
  ASSERT_TRUE(probe.expect("line 13"));
  EXPECT_NE(probe.output().find("12\b \b3\r\n"), std::string::npos) << "the line is echoed";

  ASSERT_TRUE(probe.expect("prompt: "));
  ASSERT_TRUE(probe.waitForLineMode(true));
  probe.type("45abc\n");
  ASSERT_TRUE(probe.expect("word 45"));
  EXPECT_TRUE(inKeyMode(probe.settings()));
  probe.type("z");
  ASSERT_TRUE(probe.expect("key 122")) << "the key read got the rest of the entry line";
  // The rest of the line is where the next entry begins, without new input.
  ASSERT_TRUE(probe.expect("line abc"));
  EXPECT_EQ(exitCode(probe.wait()), 0);
}

TEST(PtyTerminal, EndOfInputOnAnEmptyEntryLine) {
  PtyProbe probe("ll");
  ASSERT_TRUE(probe.expect("prompt: "));
  ASSERT_TRUE(probe.waitForLineMode(true));
  probe.type("\x04");
  ASSERT_TRUE(probe.expect("line-end"));
  // A terminal gives lines again after the end was taken.
  ASSERT_TRUE(probe.expect("prompt: "));
  ASSERT_TRUE(probe.waitForLineMode(true));
  probe.type("7\n");
  ASSERT_TRUE(probe.expect("line 7"));
  EXPECT_EQ(exitCode(probe.wait()), 0);
}

TEST(PtyTerminal, CursorIsAskedForAndMoved) {
  PtyProbe probe("ckmc");
  ASSERT_TRUE(probe.expect("\x1b[6n"));
  probe.type("x\x1b[5;9R");  // a key typed before the answer
  ASSERT_TRUE(probe.expect("\x1b[6n"));
  probe.type("\x1b[5;9R");
  ASSERT_TRUE(probe.expect("col 9 row 5"));
  ASSERT_TRUE(probe.expect("key 120")) << "the key typed before the answer is kept";
  ASSERT_TRUE(probe.expect("\x1b[4;3H\x1b[K"));
  // Unanswered: the position last moved to.
  ASSERT_TRUE(probe.expect("col 3 row 4"));
  EXPECT_EQ(exitCode(probe.wait()), 0);
}

TEST(PtyTerminal, OutputNotATerminalGetsNoEscapeSequences) {
  PtyProbe probe("mdcK", Output::kPipe);
  ASSERT_TRUE(probe.expect("ready"));
  EXPECT_TRUE(inKeyMode(probe.settings()));
  probe.type("\x1b[Aq");
  EXPECT_EQ(exitCode(probe.wait()), 0);
  probe.drainOutput();
  EXPECT_EQ(probe.output(), "ready\n<direct>col 1 row 1\nkey 328\nkey 113\n");
}

TEST(PtyTerminal, LostTerminalEndsKeyReads) {
  PtyProbe probe("K");
  ASSERT_TRUE(probe.expect("ready"));
  probe.hangUp();
  EXPECT_EQ(exitCode(probe.wait()), 3);
}

// How the probe leaves, and the wait status that shows it.
struct WayOut {
  const char* name;
  const char* steps;
  int signal;  // 0: no signal
  bool viaQuitKey;
};

void PrintTo(const WayOut& way, std::ostream* os) { *os << way.name; }

class PtyTerminalWayOut : public ::testing::TestWithParam<WayOut> {};

TEST_P(PtyTerminalWayOut, SettingsAreRestored) {
  const WayOut& way = GetParam();
  PtyProbe probe(way.steps);
  const termios before = probe.initialSettings();
  ASSERT_TRUE(probe.expect("ready"));
  ASSERT_TRUE(probe.waitForLineMode(false));
  EXPECT_TRUE(inKeyMode(probe.settings()));
  if (way.signal != 0) kill(probe.pid(), way.signal);
  if (way.viaQuitKey) probe.type("q");
  const auto status = probe.wait();
  ASSERT_TRUE(status.has_value());
  if (way.signal != 0) {
    ASSERT_TRUE(WIFSIGNALED(*status));
    EXPECT_EQ(WTERMSIG(*status), way.signal);
  } else {
    EXPECT_EQ(exitCode(status), 0);
  }
  EXPECT_TRUE(sameSettings(probe.settings(), before));
}

INSTANTIATE_TEST_SUITE_P(
    Ways, PtyTerminalWayOut,
    ::testing::Values(WayOut{"Return", "K", 0, true}, WayOut{"Exit", "kX", 0, true},
                      WayOut{"Interrupt", "K", SIGINT, false},
                      WayOut{"Terminate", "K", SIGTERM, false},
                      WayOut{"HangUp", "K", SIGHUP, false}, WayOut{"Quit", "K", SIGQUIT, false}),
    [](const ::testing::TestParamInfo<WayOut>& info) { return std::string(info.param.name); });

TEST(PtyTerminal, StopRestoresSettingsAndContinueReturnsToKeyMode) {
  PtyProbe probe("K");
  const termios before = probe.initialSettings();
  ASSERT_TRUE(probe.expect("ready"));
  ASSERT_TRUE(probe.waitForLineMode(false));

  kill(probe.pid(), SIGTSTP);
  const auto stopped = probe.wait(true);
  ASSERT_TRUE(stopped.has_value());
  ASSERT_TRUE(WIFSTOPPED(*stopped));
  EXPECT_TRUE(sameSettings(probe.settings(), before));

  kill(probe.pid(), SIGCONT);
  ASSERT_TRUE(probe.waitForLineMode(false));
  EXPECT_TRUE(inKeyMode(probe.settings()));
  probe.type("\x1b[A");
  ASSERT_TRUE(probe.expect("key 328"));
  probe.type("q");
  EXPECT_EQ(exitCode(probe.wait()), 0);
  EXPECT_TRUE(sameSettings(probe.settings(), before));
}

TEST(PtyTerminal, StopDuringAnEntryReturnsToLineMode) {
  // Found without echo, so that the saved settings differ from line mode.
  PtyProbe probe("lk", Output::kTerminal, ECHO);
  const termios before = probe.initialSettings();
  ASSERT_TRUE(probe.expect("prompt: "));
  ASSERT_TRUE(probe.waitForLineMode(true));
  kill(probe.pid(), SIGTSTP);
  const auto stopped = probe.wait(true);
  ASSERT_TRUE(stopped.has_value());
  ASSERT_TRUE(WIFSTOPPED(*stopped));
  EXPECT_TRUE(sameSettings(probe.settings(), before));
  kill(probe.pid(), SIGCONT);
  ASSERT_TRUE(probe.waitForLineMode(true));
  probe.type(
      "1\x7f"
      "5\n");  // edited by the terminal
  ASSERT_TRUE(probe.expect("line 5"));
  probe.type("q");
  ASSERT_TRUE(probe.expect("key 113"));
  EXPECT_EQ(exitCode(probe.wait()), 0);
  EXPECT_TRUE(sameSettings(probe.settings(), before));
}

}  // namespace
}  // namespace orvex::console::test
