// The real program on a terminal: the continuous displays at their columns,
// keys that are not commands, the end on Esc, the terminal's settings, and
// entries that the operator edits.
#include <gtest/gtest.h>

#include <regex>

#include "TerminalSession.h"

using orvex::test::Screen;
using orvex::test::TerminalSession;

namespace {

// The row that starts with the text, or 0.
int rowStartingWith(const Screen& screen, const std::string& text) {
  for (int r = 1; r <= screen.rows(); ++r) {
    if (screen.row(r).starts_with(text)) return r;
  }
  return 0;
}

// The text of a row from a 1-based column on, as long as given.
std::string at(const Screen& screen, int row, int column, std::size_t length) {
  const std::string line = screen.row(row) + std::string(length + column, ' ');
  return line.substr(static_cast<std::size_t>(column - 1), length);
}

const std::string kSlotLine = "ZPB slot number: 00h (0)";

TEST(ProgramOnTerminal, UptimeDisplayWritesItsValuesAtTheRecordedColumns) {
  TerminalSession program({}, {{"TARVISH_REPLY", "05=100E00000002"}});
  ASSERT_TRUE(program.waitForText("specify the same number.")) << program.screen().text();
  program.type("U");
  // The rate is the last value to appear, after more than 100 ms.
  ASSERT_TRUE(program.waitFor([](const Screen& s) {
    const int r = rowStartingWith(s, "Device uptime: ");
    return r != 0 && std::regex_match(at(s, r, 72, 8), std::regex("[0-9]+\\.[0-9]{2} *"));
  })) << program.screen().text();
  // Keys other than Esc are taken by the display and do nothing.
  program.type("ax");
  program.type("\x1b");
  program.type("o");
  ASSERT_TRUE(program.waitForText(kSlotLine)) << program.screen().text();

  const Screen screen = program.screen();
  const int r = rowStartingWith(screen, "Device uptime: ");
  ASSERT_NE(r, 0);
  EXPECT_EQ(screen.row(r - 1), "Press 'Esc' to quit");
  EXPECT_EQ(at(screen, r, 16, 10), "1:00:00.50");
  EXPECT_EQ(at(screen, r, 31, 15), "Diff. to PC/s: ");
  EXPECT_TRUE(std::regex_match(at(screen, r, 46, 6), std::regex("[ -][0-9]\\.[0-9]{2}s")))
      << screen.row(r);
  EXPECT_EQ(at(screen, r, 61, 11), "Queries/s: ");
  // The display's line ends with Esc; the next command's output follows.
  EXPECT_EQ(screen.row(r + 1), kSlotLine);
  EXPECT_EQ(screen.history().find("Ch X"), std::string::npos) << screen.history();
  program.type("\x1b");
  EXPECT_EQ(program.waitForExit(), 0);
}

TEST(ProgramOnTerminal, AmplitudeDisplayWritesItsValuesAtTheRecordedColumns) {
  TerminalSession program({"-q"}, {{"TARVISH_REPLY", "1F=D204,20=1027"}});
  ASSERT_TRUE(program.waitForKeyMode());
  program.type("M");
  ASSERT_TRUE(program.waitFor([](const Screen& s) {
    const int r = rowStartingWith(s, "Measured amplitude: Ch X: ");
    return r != 0 && at(s, r, 43, 7) == "10.000V";
  })) << program.screen().text();
  program.type("g\x1bo");
  ASSERT_TRUE(program.waitForText(kSlotLine)) << program.screen().text();
  // Quiet mode: no hint line; the display is the first line.
  EXPECT_EQ(program.screen().text(),
            "Measured amplitude: Ch X: 1.234V    Ch Y: 10.000V\n" + kSlotLine + "\n");
}

// Every query fails: the display reports each failure and still ends on Esc.
TEST(ProgramOnTerminal, DisplayWhoseQueriesAllFailEndsOnEsc) {
  for (const auto& [key, label] :
       {std::pair{"U", "Orvex_GetUptime"}, {"M", "Orvex_GetMeasAmplit"}}) {
    TerminalSession program({"-q"}, {{"TARVISH_FAIL", "Receive"}});
    ASSERT_TRUE(program.waitForKeyMode());
    program.type(key);
    ASSERT_TRUE(program.waitForText("Error at " + std::string(label) +
                                    ": Injected failure of Tarvish_Receive (call 3)"))
        << program.screen().text();
    program.type("\x1b");
    program.type("o");
    ASSERT_TRUE(program.waitForText(kSlotLine)) << key << "\n" << program.screen().text();
    const Screen screen = program.screen();
    EXPECT_EQ(screen.row(screen.cursorRow() - 1), kSlotLine) << screen.text();
    EXPECT_EQ(screen.row(screen.cursorRow() - 2), "") << screen.text();  // the display's line end
    EXPECT_TRUE(screen.row(screen.cursorRow() - 3).starts_with("Error at " + std::string(label)))
        << screen.text();
  }
}

// Cursor and function keys arrive as escape sequences; none of them is a
// command, none is taken for Esc or for the letter of its scan code (up is
// 'H', down is 'P', left is 'K', right is 'M', F1 is ';').
TEST(ProgramOnTerminal, CursorAndFunctionKeysDoNothing) {
  TerminalSession program({"-q"}, {});
  ASSERT_TRUE(program.waitForKeyMode());
  for (const char* key : {"\x1b[A", "\x1b[B", "\x1b[D", "\x1b[C", "\x1bOA", "\x1b[1;5A", "\x1bOP",
                          "\x1b[15~", "\x1b[3~", "\x1b[6~"}) {
    program.type(key);
  }
  program.type("o");
  ASSERT_TRUE(program.waitForText(kSlotLine)) << program.screen().text();
  EXPECT_EQ(program.screen().text(), kSlotLine + "\n");
  program.type("\x1b");
  EXPECT_EQ(program.waitForExit(), 0);
}

TEST(ProgramOnTerminal, LoneEscEndsTheProgramAndRestoresTheTerminal) {
  TerminalSession program({}, {});
  ASSERT_TRUE(program.waitForText("specify the same number.")) << program.screen().text();
  ASSERT_TRUE(program.waitForKeyMode());
  program.type("\x1b");
  EXPECT_EQ(program.waitForExit(), 0);
  EXPECT_TRUE(program.waitForText("Program finished")) << program.screen().text();
  const Screen screen = program.screen();
  EXPECT_EQ(screen.row(screen.cursorRow()), "Program finished");

  const termios before = program.initialSettings();
  const termios after = program.settings();
  EXPECT_EQ(after.c_lflag, before.c_lflag);
  EXPECT_EQ(after.c_iflag, before.c_iflag);
  EXPECT_EQ(after.c_oflag, before.c_oflag);
  EXPECT_EQ(after.c_cc[VMIN], before.c_cc[VMIN]);
  EXPECT_EQ(after.c_cc[VTIME], before.c_cc[VTIME]);
}

TEST(ProgramOnTerminal, EntriesAreEchoedAndEditable) {
  TerminalSession program({"-q"}, {});
  ASSERT_TRUE(program.waitForKeyMode());
  const std::string channelPrompt = "Enter the channel number (X=0, Y=1): ";
  program.type("A");
  // Trailing blanks of a row are not kept: the prompt's blank is not searched.
  ASSERT_TRUE(program.waitForText("Enter the channel number (X=0, Y=1):"))
      << program.screen().text();
  ASSERT_TRUE(program.waitForLineMode());
  program.type("1");
  ASSERT_TRUE(program.waitFor([&](const Screen& s) { return s.row(1) == channelPrompt + "1"; }))
      << program.screen().text();
  program.type("\x7f");  // the erase key
  ASSERT_TRUE(program.waitFor([&](const Screen& s) { return s.row(1) + " " == channelPrompt; }))
      << program.screen().text();
  program.type("0\n");

  const std::string valuePrompt = "Enter the new amplification (0-256): ";
  ASSERT_TRUE(program.waitForText("Enter the new amplification (0-256):"))
      << program.screen().text();
  ASSERT_TRUE(program.waitForLineMode());
  // " a" stays on the entry's line: it does not reach the key loop.
  program.type("25\x7f.5 a\n");
  ASSERT_TRUE(program.waitForKeyMode());
  program.type("o");
  ASSERT_TRUE(program.waitForText(kSlotLine)) << program.screen().text();
  program.type("a");
  ASSERT_TRUE(program.waitForText("Ch X: 2.5000,")) << program.screen().text();

  const Screen screen = program.screen();
  EXPECT_EQ(screen.row(1), channelPrompt + "0");
  EXPECT_EQ(screen.row(2), valuePrompt + "2.5 a");
  EXPECT_EQ(screen.row(3), kSlotLine);
  EXPECT_EQ(screen.row(4), "Ch X: 2.5000,   Ch Y: 1.0000");
  EXPECT_EQ(screen.row(5), "");
}

// The end-of-input key on an empty entry line ends that entry only; the
// next entry reads a new line from the terminal.
TEST(ProgramOnTerminal, EndOfInputAtAPromptEndsOnlyThatEntry) {
  TerminalSession program({"-q"}, {});
  ASSERT_TRUE(program.waitForKeyMode());
  program.type("A");
  ASSERT_TRUE(program.waitForLineMode());
  program.type("\x04");  // the terminal's end-of-input key
  ASSERT_TRUE(program.waitForKeyMode());
  program.type("A");
  ASSERT_TRUE(program.waitFor([](const Screen& s) {
    return s.row(2).starts_with("Enter the channel number");
  })) << program.screen().text();
  ASSERT_TRUE(program.waitForLineMode()) << program.screen().text();
  program.type("1\n");
  ASSERT_TRUE(program.waitForText("Enter the new amplification")) << program.screen().text();
  program.type("3\n");
  ASSERT_TRUE(program.waitForKeyMode());
  program.type("a");
  ASSERT_TRUE(program.waitForText("Ch X: 1.0000,   Ch Y: 3.0000")) << program.screen().text();
}

// A word that is no number answers its own entry only: the rest of its line
// is dropped, and the next entry waits for a new line.
TEST(ProgramOnTerminal, NonNumberAnswersOnlyItsOwnEntry) {
  TerminalSession program({"-q"}, {});
  ASSERT_TRUE(program.waitForKeyMode());
  program.type("A");
  ASSERT_TRUE(program.waitForLineMode());
  program.type("x y\n");
  ASSERT_TRUE(program.waitForText("Enter the new amplification")) << program.screen().text();
  ASSERT_TRUE(program.waitForLineMode()) << program.screen().text();
  program.type("2\n");
  ASSERT_TRUE(program.waitForKeyMode());
  program.type("a");
  ASSERT_TRUE(program.waitForText("Ch X: 2.0000,   Ch Y: 1.0000")) << program.screen().text();
}

}  // namespace
