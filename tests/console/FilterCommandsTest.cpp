// Filter commands of the real program over the simulated module: the LPF,
// HPF and amplitude LPF lines, the Beta and Tau entries with their limits and
// confirmations, and failures.
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
const std::string kLpf = kChannelPrompt + "Enter the LPF Beta parameter (2-24): ";
const std::string kFlt = kChannelPrompt + "Enter the amplitude LPF Beta parameter (2-24): ";
const std::string kHpf = kChannelPrompt + "Enter the HPF tau parameter (1-20): ";
const std::string kLpfRange =
    "Wrong value specified! The LPF Beta parameter must be in the range from 2 to 24.\n";
const std::string kFltRange =
    "Wrong value specified! The amplitude LPF Beta parameter must be in the range from 2 to 24.\n";
const std::string kHpfRange =
    "Wrong value specified! The HPF tau parameter must be in the range from 1 to 20.\n";

const std::string kLpfPowerOn =
    "Ch X LPF: 511.279Hz, Damping=0.87 (Alpha=108, Beta=10),\t"
    "Ch Y LPF: 511.279Hz, Damping=0.87 (Alpha=108, Beta=10)\n";
const std::string kFltPowerOn =
    "Ch X FLT: 10.226Hz, Damping=0.87 (Alpha=108, Beta=10),\t"
    "Ch Y FLT: 10.226Hz, Damping=0.87 (Alpha=108, Beta=10)\n";
const std::string kHpfPowerOn = "Ch X HPF: 497.359Hz (Tau=5),\tCh Y HPF: 497.359Hz (Tau=5)\n";

TEST(FilterCommands, ShowLines) {
  const struct {
    std::string input;
    const char* replies;
    std::string out;
  } cases[] = {
      {"lfh", "", kLpfPowerOn + kFltPowerOn + kHpfPowerOn},
      // Y's Beta set to 2: the module derives Alpha 4.
      {"L1 2\nl", "",
       kLpf + "Ch X LPF: 511.279Hz, Damping=0.87 (Alpha=108, Beta=10),\t"
              "Ch Y LPF: 15915.494Hz, Damping=1.00 (Alpha=4, Beta=2)\n"},
      {"H0 1\nH1 20\nh", "",
       kHpf + kHpf + "Ch X HPF: 7957.747Hz (Tau=1),\tCh Y HPF: 0.015Hz (Tau=20)\n"},
      {"F1 24\nf", "",
       kFlt + "Ch X FLT: 10.226Hz, Damping=0.87 (Alpha=108, Beta=10),\t"
              "Ch Y FLT: 0.078Hz, Damping=0.87 (Alpha=14186, Beta=24)\n"},
      // Pairs straight from the module, one without a positive radicand.
      {"l", "11=020001,12=040002",
       "Ch X LPF: 0.000Hz, Damping=0.00 (Alpha=2, Beta=1),\t"
       "Ch Y LPF: 15915.494Hz, Damping=1.00 (Alpha=4, Beta=2)\n"},
      {"f", "1B=040002,1C=FFFF0F",
       "Ch X FLT: 318.310Hz, Damping=1.00 (Alpha=4, Beta=2),\t"
       "Ch Y FLT: 0.000Hz, Damping=0.00 (Alpha=65535, Beta=15)\n"},
      {"h", "13=00,14=14", "Ch X HPF: 15915.494Hz (Tau=0),\tCh Y HPF: 0.015Hz (Tau=20)\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(run(Mode::Quiet, c.input, {{"TARVISH_REPLY", c.replies}}).out, c.out) << c.input;
  }
  EXPECT_EQ(run(Mode::Debug, "lhf").out, "Getting LPF frequency:\n" + kLpfPowerOn +
                                             "Getting HPF frequency:\n" + kHpfPowerOn +
                                             "Getting amplitude LPF frequency:\n" + kFltPowerOn);
}

// One set command; an accepted one is read back with the matching show key.
struct SetCase {
  const char* key;
  std::string entries;
  std::string prompts;
  std::string rejected;      // the range message, empty when accepted
  std::string confirmation;  // debug mode, accepted only
  std::string sent;          // the setting transaction, accepted only
  const char* show;
  std::string readBack;
};

const SetCase kSetCases[] = {
    {"L", "0 10", kLpf, "",
     "LPF frequency set: Ch X LPF: 511.279Hz, Damping=0.87 (Alpha=108, Beta=10)\n",
     "Tarvish_Send(1, [11 0A], 2, 1) = 0", "l", kLpfPowerOn},
    {"L", "1 2", kLpf, "",
     "LPF frequency set: Ch Y LPF: 15915.494Hz, Damping=1.00 (Alpha=4, Beta=2)\n",
     "Tarvish_Send(1, [12 02], 2, 1) = 0", "l",
     "Ch X LPF: 511.279Hz, Damping=0.87 (Alpha=108, Beta=10),\t"
     "Ch Y LPF: 15915.494Hz, Damping=1.00 (Alpha=4, Beta=2)\n"},
    {"L", "0 24", kLpf, "",
     "LPF frequency set: Ch X LPF: 3.886Hz, Damping=0.87 (Alpha=14186, Beta=24)\n",
     "Tarvish_Send(1, [11 18], 2, 1) = 0", "l",
     "Ch X LPF: 3.886Hz, Damping=0.87 (Alpha=14186, Beta=24),\t"
     "Ch Y LPF: 511.279Hz, Damping=0.87 (Alpha=108, Beta=10)\n"},
    {"L", "0 1", kLpf, kLpfRange, "", "", "l", kLpfPowerOn},
    {"L", "1 25", kLpf, kLpfRange, "", "", "l", kLpfPowerOn},
    {"L", "1 -3", kLpf, kLpfRange, "", "", "l", kLpfPowerOn},
    {"L", "0 z", kLpf, kLpfRange, "", "", "l", kLpfPowerOn},
    {"F", "1 24", kFlt, "",
     "FLT frequency set: Ch Y FLT: 0.078Hz, Damping=0.87 (Alpha=14186, Beta=24)\n",
     "Tarvish_Send(1, [1C 18], 2, 1) = 0", "f",
     "Ch X FLT: 10.226Hz, Damping=0.87 (Alpha=108, Beta=10),\t"
     "Ch Y FLT: 0.078Hz, Damping=0.87 (Alpha=14186, Beta=24)\n"},
    {"F", "0 2", kFlt, "",
     "FLT frequency set: Ch X FLT: 318.310Hz, Damping=1.00 (Alpha=4, Beta=2)\n",
     "Tarvish_Send(1, [1B 02], 2, 1) = 0", "f",
     "Ch X FLT: 318.310Hz, Damping=1.00 (Alpha=4, Beta=2),\t"
     "Ch Y FLT: 10.226Hz, Damping=0.87 (Alpha=108, Beta=10)\n"},
    {"F", "0 1", kFlt, kFltRange, "", "", "f", kFltPowerOn},
    {"F", "1 25", kFlt, kFltRange, "", "", "f", kFltPowerOn},
    {"F", "1 z", kFlt, kFltRange, "", "", "f", kFltPowerOn},
    {"H", "0 5", kHpf, "", "HPF frequency set: Ch X HPF: 497.359Hz (Tau=5)\n",
     "Tarvish_Send(1, [13 05], 2, 1) = 0", "h", kHpfPowerOn},
    {"H", "0 1", kHpf, "", "HPF frequency set: Ch X HPF: 7957.747Hz (Tau=1)\n",
     "Tarvish_Send(1, [13 01], 2, 1) = 0", "h",
     "Ch X HPF: 7957.747Hz (Tau=1),\tCh Y HPF: 497.359Hz (Tau=5)\n"},
    {"H", "1 20", kHpf, "", "HPF frequency set: Ch Y HPF: 0.015Hz (Tau=20)\n",
     "Tarvish_Send(1, [14 14], 2, 1) = 0", "h",
     "Ch X HPF: 497.359Hz (Tau=5),\tCh Y HPF: 0.015Hz (Tau=20)\n"},
    {"H", "0 0", kHpf, kHpfRange, "", "", "h", kHpfPowerOn},
    {"H", "1 21", kHpf, kHpfRange, "", "", "h", kHpfPowerOn},
    {"H", "1 z", kHpf, kHpfRange, "", "", "h", kHpfPowerOn},
};

std::string heading(const char* key) {
  const std::string k = key;
  return k == "L"   ? "Setting LPF frequency:\n"
         : k == "F" ? "Setting amplitude LPF frequency:\n"
                    : "Setting HPF frequency:\n";
}

TEST(FilterCommands, SetCommandsInNormalModePrintOnlyPromptsAndRangeMessages) {
  for (const auto& c : kSetCases) {
    expectSetCommand(c.key + c.entries + "\n" + c.show, c.prompts + c.rejected + c.readBack,
                     c.rejected.empty(), c.sent, std::string(c.key) + " " + c.entries);
  }
}

TEST(FilterCommands, SetCommandsInDebugModeConfirmWithoutReadingBack) {
  for (const auto& c : kSetCases) {
    const auto t = run(Mode::Debug, c.key + c.entries + "\n");
    EXPECT_EQ(t.out, heading(c.key) + c.prompts + c.rejected + c.confirmation)
        << c.key << " " << c.entries;
    EXPECT_EQ(t.trace.find("Tarvish_Receive"), std::string::npos) << c.key << " " << c.entries;
  }
  // The confirmation shows the filter for the module's damping even when the
  // module holds another Alpha.
  EXPECT_EQ(run(Mode::Debug, "L1 2\nl", {{"TARVISH_REPLY", "12=000002"}}).out,
            heading("L") + kLpf +
                "LPF frequency set: Ch Y LPF: 15915.494Hz, Damping=1.00 (Alpha=4, Beta=2)\n"
                "Getting LPF frequency:\n"
                "Ch X LPF: 511.279Hz, Damping=0.87 (Alpha=108, Beta=10),\t"
                "Ch Y LPF: 9188.814Hz, Damping=0.00 (Alpha=0, Beta=2)\n");
}

TEST(FilterCommands, WrongChannelEndsTheCommand) {
  for (const char* key : {"L", "H", "F"}) {
    for (const char* channel : {"2", "-1"}) {
      const auto t = run(Mode::Normal, std::string(key) + channel + "\n5\n");
      EXPECT_EQ(t.out, kChannelPrompt + "Wrong value specified!\n") << key << channel;
      EXPECT_FALSE(anySetting(t.trace)) << key << channel;
    }
  }
}

TEST(FilterCommands, FailuresAreReportedOnceAndTheLoopGoesOn) {
  const auto error = [](const char* label, const char* function, int call) {
    return "Error at " + std::string(label) + ": Injected failure of Tarvish_" + function +
           " (call " + std::to_string(call) + "), I/O Error Message: Simulated I/O error\n";
  };
  // A failure on channel X: channel Y is not queried.
  auto t = run(Mode::Normal, "lh", {{"TARVISH_FAIL", "Receive@1"}});
  EXPECT_EQ(t.out, error("Orvex_GetLPF", "Receive", 1) + "Buffers flushed\n" + kHpfPowerOn);
  EXPECT_EQ(t.trace.find("Tarvish_Send(1, [12]"), std::string::npos) << t.trace;
  t = run(Mode::Normal, "hh", {{"TARVISH_FAIL", "Send@1"}});
  EXPECT_EQ(t.out, error("Orvex_GetHPF_Tau", "Send", 1) + "Buffers flushed\n" + kHpfPowerOn);
  // Channel Y is queried only by the second 'h'.
  EXPECT_EQ(t.trace.find("Tarvish_Send(1, [14]"), t.trace.rfind("Tarvish_Send(1, [14]")) << t.trace;
  const struct {
    const char* input;
    const char* fail;
    std::string out;  // quiet mode
  } cases[] = {
      {"ff", "Receive@2", error("Orvex_GetFLT", "Receive", 2) + kFltPowerOn},
      {"hl", "Receive@2", error("Orvex_GetHPF_Tau", "Receive", 2) + kLpfPowerOn},
      {"L0 3\nl", "Send@1", kLpf + error("Orvex_SetLPF", "Send", 1) + kLpfPowerOn},
      {"F1 3\nf", "Send@1", kFlt + error("Orvex_SetFLT", "Send", 1) + kFltPowerOn},
      {"H1 3\nh", "Send@1", kHpf + error("Orvex_SetHPF_Tau", "Send", 1) + kHpfPowerOn},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(run(Mode::Quiet, c.input, {{"TARVISH_FAIL", c.fail}}).out, c.out) << c.input;
  }
  // Debug mode: no confirmation after a failed set.
  EXPECT_EQ(run(Mode::Debug, "H0 3\n", {{"TARVISH_FAIL", "Send"}}).out,
            heading("H") + kHpf + error("Orvex_SetHPF_Tau", "Send", 1) +
                "Flushing communication buffers of the Tarvish adapter...\n"
                "Communication buffers of the Tarvish adapter were flushed\n");
}

}  // namespace
