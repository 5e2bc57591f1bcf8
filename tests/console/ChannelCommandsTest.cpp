// Channel setting commands of the real program over the simulated module:
// read lines, set commands with their prompts, limits and confirmations, and
// failures.
#include <gtest/gtest.h>

#include <regex>

#include "ProgramRun.h"
#include "Transcript.h"

using orvex::test::anySetting;
using orvex::test::expectSetCommand;
using orvex::test::helpText;
using orvex::test::Mode;
using orvex::test::run;
using orvex::test::runProgram;

namespace {

using Env = std::map<std::string, std::string>;

const std::string kChannelPrompt = "Enter the channel number (X=0, Y=1): ";
const std::string kModePrompt =
    "Enter the operation mode (0:output off, 1:maximum damping, 2:amplitude control): ";

TEST(ChannelCommands, ReadLinesShowBothChannels) {
  const struct {
    const char* keys;
    const char* replies;
    std::string out;
  } cases[] = {
      // Power-on values of the module.
      {"astrge", "",
       "Ch X: 1.0000,\tCh Y: 1.0000\n"
       "Ch X: positive,\tCh Y: positive\n"
       "Ch X: +0.0000V,\tCh Y: +0.0000V\n"
       "Offset Range: 10.00V\n"
       "Ch X: 1.000V,\tCh Y: 1.000V\n"
       "Ch X: output off       \tCh Y: output off       \n"},
      {"a", "15=8001,16=0000", "Ch X: 1.5000,\tCh Y: 0.0000\n"},
      {"s", "17=01,18=07", "Ch X: negative,\tCh Y: negative\n"},
      {"t", "0F=0080,10=FF7F", "Ch X: -10.0000V,\tCh Y: +9.9997V\n"},
      // The offset range is read signed.
      {"r", "0E=FFFF", "Offset Range: -0.01V\n"},
      {"g", "19=C409,1A=8713", "Ch X: 2.500V,\tCh Y: 4.999V\n"},
      {"e", "21=07,22=01", "Ch X: invalid mode     \tCh Y: maximum damping  \n"},
      {"e", "21=02,22=FF", "Ch X: amplitude control\tCh Y: invalid mode     \n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(run(Mode::Quiet, c.keys, {{"TARVISH_REPLY", c.replies}}).out, c.out) << c.keys;
  }
}

TEST(ChannelCommands, ReadHeadingsInDebugMode) {
  EXPECT_EQ(run(Mode::Debug, "asrtge").out,
            "Getting channel amplification:\nCh X: 1.0000,\tCh Y: 1.0000\n"
            "Getting channel polarity:\nCh X: positive,\tCh Y: positive\n"
            "Getting offset range:\nOffset Range: 10.00V\n"
            "Getting channel offset:\nCh X: +0.0000V,\tCh Y: +0.0000V\n"
            "Getting desired channel amplitude:\nCh X: 1.000V,\tCh Y: 1.000V\n"
            "Getting operation mode:\n"
            "Ch X: output off       \tCh Y: output off       \n");
}

// One set command with an entry; an accepted one is read back with the
// matching get, a rejected one leaves the power-on value.
struct SetCase {
  const char* key;
  std::string entries;       // channel (if any) and value
  std::string prompts;       // everything the command asks
  std::string rejected;      // the range message, empty when accepted
  std::string confirmation;  // debug mode, accepted only
  std::string sent;          // the setting transaction in the trace, accepted only
  const char* get;           // the read-back key
  std::string readBack;      // its line afterwards
};

const std::string kAmp = kChannelPrompt + "Enter the new amplification (0-256): ";
const std::string kAmpRange =
    "Wrong value specified! The amplification must not be negative and must be lower than 256.\n";
const std::string kPol = kChannelPrompt + "Enter the channel polarity (positive=0, negative=1): ";
const std::string kOff = kChannelPrompt + "Enter the channel offset in V: ";
const std::string kOffRange =
    "Wrong value specified! The offset must be in the range from -10 to 10.\n";
const std::string kRng = "Enter the offset range in V: ";
const std::string kRngRange =
    "Wrong value specified! The offset range must be positive and not greater than 10.\n";
const std::string kAmpl = kChannelPrompt + "Enter the new desired amplitude (0-5.000V): ";
const std::string kAmplRange =
    "Wrong value specified! The amplitude must not be negative and must be lower than 5.000V.\n";
const std::string kMode = kChannelPrompt + kModePrompt;
const std::string kModeRange =
    "Wrong value specified! The mode must not be negative and must be lower than 3.\n";

const SetCase kSetCases[] = {
    {"A", "0 255.5", kAmp, "", "Channel amplification set: Ch X = 255.5000\n",
     "Tarvish_Send(1, [15 80 FF], 3, 1) = 0", "a", "Ch X: 255.5000,\tCh Y: 1.0000\n"},
    {"A", "1 0", kAmp, "", "Channel amplification set: Ch Y = 0.0000\n",
     "Tarvish_Send(1, [16 00 00], 3, 1) = 0", "a", "Ch X: 1.0000,\tCh Y: 0.0000\n"},
    // Not a number: the value stays 0, which is a valid amplification.
    {"A", "1 z", kAmp, "", "Channel amplification set: Ch Y = 0.0000\n",
     "Tarvish_Send(1, [16 00 00], 3, 1) = 0", "a", "Ch X: 1.0000,\tCh Y: 0.0000\n"},
    {"A", "1 256", kAmp, kAmpRange, "", "", "a", "Ch X: 1.0000,\tCh Y: 1.0000\n"},
    {"A", "0 -0.5", kAmp, kAmpRange, "", "", "a", "Ch X: 1.0000,\tCh Y: 1.0000\n"},
    {"S", "1 1", kPol, "", "Channel polarity set: Ch Y = negative\n",
     "Tarvish_Send(1, [18 01], 2, 1) = 0", "s", "Ch X: positive,\tCh Y: negative\n"},
    {"S", "0 0", kPol, "", "Channel polarity set: Ch X = positive\n",
     "Tarvish_Send(1, [17 00], 2, 1) = 0", "s", "Ch X: positive,\tCh Y: positive\n"},
    {"S", "0 2", kPol, "Wrong value specified!\n", "", "", "s",
     "Ch X: positive,\tCh Y: positive\n"},
    {"S", "0 -1", kPol, "Wrong value specified!\n", "", "", "s",
     "Ch X: positive,\tCh Y: positive\n"},
    {"T", "0 -10", kOff, "", "Channel offset set: Ch X = -10.0000V\n",
     "Tarvish_Send(1, [0F 00 80], 3, 1) = 0", "t", "Ch X: -10.0000V,\tCh Y: +0.0000V\n"},
    {"T", "1 10", kOff, "", "Channel offset set: Ch Y = 10.0000V\n",
     "Tarvish_Send(1, [10 FF 7F], 3, 1) = 0", "t", "Ch X: +0.0000V,\tCh Y: +9.9997V\n"},
    {"T", "0 10.001", kOff, kOffRange, "", "", "t", "Ch X: +0.0000V,\tCh Y: +0.0000V\n"},
    {"T", "1 -10.001", kOff, kOffRange, "", "", "t", "Ch X: +0.0000V,\tCh Y: +0.0000V\n"},
    {"R", "2.5", kRng, "", "Offset range set: 2.50V\n", "Tarvish_Send(1, [0E FA 00], 3, 1) = 0",
     "r", "Offset Range: 2.50V\n"},
    {"R", "10", kRng, "", "Offset range set: 10.00V\n", "Tarvish_Send(1, [0E E8 03], 3, 1) = 0",
     "r", "Offset Range: 10.00V\n"},
    {"R", "0", kRng, kRngRange, "", "", "r", "Offset Range: 10.00V\n"},
    {"R", "10.01", kRng, kRngRange, "", "", "r", "Offset Range: 10.00V\n"},
    // Not a number: 0, which the offset range rejects.
    {"R", "z", kRng, kRngRange, "", "", "r", "Offset Range: 10.00V\n"},
    {"G", "1 4.999", kAmpl, "", "Desired channel amplitude set: Ch Y = 4.999V\n",
     "Tarvish_Send(1, [1A 87 13], 3, 1) = 0", "g", "Ch X: 1.000V,\tCh Y: 4.999V\n"},
    {"G", "0 5", kAmpl, kAmplRange, "", "", "g", "Ch X: 1.000V,\tCh Y: 1.000V\n"},
    {"G", "0 -0.001", kAmpl, kAmplRange, "", "", "g", "Ch X: 1.000V,\tCh Y: 1.000V\n"},
    {"E", "1 2", kMode, "", "Operation mode set: Ch Y: amplitude control\n",
     "Tarvish_Send(1, [22 02], 2, 1) = 0", "e",
     "Ch X: output off       \tCh Y: amplitude control\n"},
    {"E", "0 1", kMode, "", "Operation mode set: Ch X: maximum damping\n",
     "Tarvish_Send(1, [21 01], 2, 1) = 0", "e",
     "Ch X: maximum damping  \tCh Y: output off       \n"},
    // Not a number: mode 0.
    {"E", "1 z", kMode, "", "Operation mode set: Ch Y: output off\n",
     "Tarvish_Send(1, [22 00], 2, 1) = 0", "e",
     "Ch X: output off       \tCh Y: output off       \n"},
    {"E", "0 3", kMode, kModeRange, "", "", "e",
     "Ch X: output off       \tCh Y: output off       \n"},
    {"E", "1 -1", kMode, kModeRange, "", "", "e",
     "Ch X: output off       \tCh Y: output off       \n"},
};

const char* kHeadings[][2] = {
    {"A", "Setting channel amplification:\n"},
    {"S", "Setting channel polarity:\n"},
    {"T", "Setting channel offset:\n"},
    {"R", "Setting offset range:\n"},
    {"G", "Setting desired channel amplitude:\n"},
    {"E", "Setting operation mode:\n"},
};

std::string heading(const char* key) {
  for (const auto& [k, text] : kHeadings) {
    if (std::string(k) == key) return text;
  }
  return "<no heading>";
}

TEST(ChannelCommands, SetCommandsInNormalModePrintOnlyPromptsAndRangeMessages) {
  for (const auto& c : kSetCases) {
    expectSetCommand(c.key + c.entries + "\n" + c.get, c.prompts + c.rejected + c.readBack,
                     c.rejected.empty(), c.sent, std::string(c.key) + " " + c.entries);
  }
}

TEST(ChannelCommands, SetCommandsInDebugModeConfirm) {
  for (const auto& c : kSetCases) {
    const auto t = run(Mode::Debug, c.key + c.entries + "\n");
    EXPECT_EQ(t.out, heading(c.key) + c.prompts + c.rejected + c.confirmation)
        << c.key << " " << c.entries;
  }
}

TEST(ChannelCommands, WrongChannelEndsTheCommand) {
  for (const char* key : {"A", "S", "T", "G", "E"}) {
    for (const char* channel : {"2", "-1"}) {
      const auto t = run(Mode::Normal, std::string(key) + channel + "\n1\n");
      EXPECT_EQ(t.out, kChannelPrompt + "Wrong value specified!\n") << key << channel;
      EXPECT_FALSE(anySetting(t.trace)) << key << channel;
    }
  }
  // Debug mode: the heading, then the refusal and nothing more.
  EXPECT_EQ(run(Mode::Debug, "A2\n").out,
            "Setting channel amplification:\n" + kChannelPrompt + "Wrong value specified!\n");
}

TEST(ChannelCommands, LeftoversReachTheNextRead) {
  // The channel entry stops at the '.', and ".5" is the amplification.
  EXPECT_EQ(run(Mode::Quiet, "A1.5\na").out, kAmp + "Ch X: 1.0000,\tCh Y: 0.5000\n");
  // What follows the number stays unread; in a script the key loop meets it:
  // "xyz" are no commands, the 'a' after them reads the new value.
  const auto t = run(Mode::Quiet, "A0 1.5xyza");
  EXPECT_EQ(t.out, kAmp + "Ch X: 1.5000,\tCh Y: 1.0000\n");
  EXPECT_NE(t.trace.find("Tarvish_Send(1, [15 80 01], 3, 1) = 0\n"), std::string::npos);
  // The polarity entry is a whole number: "1.5" sets negative and ".5" is
  // left over, which is no command.
  EXPECT_EQ(run(Mode::Quiet, "S0 1.5s").out, kPol + "Ch X: negative,\tCh Y: positive\n");
}

TEST(ChannelCommands, FailuresAreReportedOnceAndTheLoopGoesOn) {
  const auto error = [](const char* label, const char* function, int call) {
    return "Error at " + std::string(label) + ": Injected failure of Tarvish_" + function +
           " (call " + std::to_string(call) + "), I/O Error Message: Simulated I/O error\n";
  };
  // A failure on channel X: channel Y is not queried.
  auto t = run(Mode::Normal, "ao", {{"TARVISH_FAIL", "Receive@1"}});
  EXPECT_EQ(t.out, error("Orvex_GetAmplification", "Receive", 1) +
                       "Buffers flushed\nZPB slot number: 00h (0)\n");
  EXPECT_EQ(t.trace.find("Tarvish_Send(1, [16]"), std::string::npos) << t.trace;
  // A failure on channel Y suppresses the whole line.
  t = run(Mode::Normal, "ss", {{"TARVISH_FAIL", "Receive@2"}});
  EXPECT_EQ(t.out, error("Orvex_GetPolarity", "Receive", 2) +
                       "Buffers flushed\nCh X: positive,\tCh Y: positive\n");
  const struct {
    const char* input;
    const char* fail;
    std::string out;  // quiet mode
  } cases[] = {
      {"tr", "Send@1", error("Orvex_GetOffset", "Send", 1) + "Offset Range: 10.00V\n"},
      {"rr", "Receive@1", error("Orvex_GetOffsetRange", "Receive", 1) + "Offset Range: 10.00V\n"},
      {"ge", "Receive@2",
       error("Orvex_GetAmplitude", "Receive", 2) +
           "Ch X: output off       \tCh Y: output off       \n"},
      {"ee", "Receive@1",
       error("Orvex_GetOperMode", "Receive", 1) +
           "Ch X: output off       \tCh Y: output off       \n"},
      {"A1 2\na", "Send@1",
       kAmp + error("Orvex_SetAmplification", "Send", 1) + "Ch X: 1.0000,\tCh Y: 1.0000\n"},
      {"S1 1\ns", "Send@1",
       kPol + error("Orvex_SetPolarity", "Send", 1) + "Ch X: positive,\tCh Y: positive\n"},
      {"T0 1\nt", "Send@1",
       kOff + error("Orvex_SetOffset", "Send", 1) + "Ch X: +0.0000V,\tCh Y: +0.0000V\n"},
      {"R5\nr", "Send@1",
       kRng + error("Orvex_SetOffsetRange", "Send", 1) + "Offset Range: 10.00V\n"},
      {"G0 2\ng", "Send@1",
       kAmpl + error("Orvex_SetAmplitude", "Send", 1) + "Ch X: 1.000V,\tCh Y: 1.000V\n"},
      {"E0 2\ne", "Send@1",
       kMode + error("Orvex_SetOperMode", "Send", 1) +
           "Ch X: output off       \tCh Y: output off       \n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(run(Mode::Quiet, c.input, {{"TARVISH_FAIL", c.fail}}).out, c.out) << c.input;
  }
  // Debug mode: no confirmation after a failed set, the two flush lines.
  EXPECT_EQ(run(Mode::Debug, "A1 2\n", {{"TARVISH_FAIL", "Send"}}).out,
            "Setting channel amplification:\n" + kAmp + error("Orvex_SetAmplification", "Send", 1) +
                "Flushing communication buffers of the Tarvish adapter...\n"
                "Communication buffers of the Tarvish adapter were flushed\n");
}

}  // namespace
