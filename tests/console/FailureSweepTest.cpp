// Every adapter call of every command fails once, in each output mode: the
// command reports exactly that failure with its label, flushes, prints no
// result, and the key loop goes on with a working next command.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>

#include "ProgramRun.h"

using orvex::test::RunOptions;
using orvex::test::runProgram;

namespace {

struct Transaction {
  const char* label;  // the error label the command reports
  int calls;          // adapter calls the transaction makes
};

struct Command {
  const char* script;   // the key and its entries
  const char* prompts;  // what the command prints before its first library call (quiet mode)
  std::vector<Transaction> transactions;
  bool display = false;  // a continuous display, ended by the Esc that follows
};

const std::vector<Command>& commands() {
  static const std::vector<Command> all = {
      {"q", "", {{"Orvex_Check", 3}}},
      {"o", "", {{"Tarvish_GetSlot", 1}}},
      {"O5\n", "Enter the new ZPB slot number: ", {{"Tarvish_SetSlot", 1}}},
      {"d", "", {{"Orvex_FW_Date", 2}}},
      {"v", "", {{"Orvex_FW_Ver", 2}}},
      {"p", "", {{"Orvex_prod_ID", 2}}},
      {"n", "", {{"Orvex_prod_No", 2}}},
      {"u", "", {{"Orvex_GetUptime", 2}}},
      {"U", "", {{"Orvex_GetUptime", 2}}, true},
      {"k", "", {{"Orvex_Get5V", 2}, {"Orvex_Get3V", 2}, {"Orvex_GetTemp", 2}}},
      {"c",
       "",
       {{"Orvex_GetClkCPU", 2},
        {"Orvex_GetClkPer", 2},
        {"Orvex_GetClkADC", 2},
        {"Orvex_GetClkDAC", 2},
        {"Orvex_GetClkFilt", 2}}},
      {"a", "", {{"Orvex_GetAmplification", 4}}},
      {"A0\n1.5\n",
       "Enter the channel number (X=0, Y=1): "
       "Enter the new amplification (0-256): ",
       {{"Orvex_SetAmplification", 1}}},
      {"s", "", {{"Orvex_GetPolarity", 4}}},
      {"S1\n1\n",
       "Enter the channel number (X=0, Y=1): "
       "Enter the channel polarity (positive=0, negative=1): ",
       {{"Orvex_SetPolarity", 1}}},
      {"t", "", {{"Orvex_GetOffset", 4}}},
      {"T0\n-1\n",
       "Enter the channel number (X=0, Y=1): "
       "Enter the channel offset in V: ",
       {{"Orvex_SetOffset", 1}}},
      {"r", "", {{"Orvex_GetOffsetRange", 2}}},
      {"R5\n", "Enter the offset range in V: ", {{"Orvex_SetOffsetRange", 1}}},
      {"g", "", {{"Orvex_GetAmplitude", 4}}},
      {"G1\n1\n",
       "Enter the channel number (X=0, Y=1): "
       "Enter the new desired amplitude (0-5.000V): ",
       {{"Orvex_SetAmplitude", 1}}},
      {"e", "", {{"Orvex_GetOperMode", 4}}},
      {"E0\n2\n",
       "Enter the channel number (X=0, Y=1): "
       "Enter the operation mode (0:output off, 1:maximum damping, 2:amplitude control): ",
       {{"Orvex_SetOperMode", 1}}},
      {"l", "", {{"Orvex_GetLPF", 4}}},
      {"L0\n12\n",
       "Enter the channel number (X=0, Y=1): "
       "Enter the LPF Beta parameter (2-24): ",
       {{"Orvex_SetLPF", 1}}},
      {"h", "", {{"Orvex_GetHPF_Tau", 4}}},
      {"H1\n7\n",
       "Enter the channel number (X=0, Y=1): "
       "Enter the HPF tau parameter (1-20): ",
       {{"Orvex_SetHPF_Tau", 1}}},
      {"f", "", {{"Orvex_GetFLT", 4}}},
      {"F0\n12\n",
       "Enter the channel number (X=0, Y=1): "
       "Enter the amplitude LPF Beta parameter (2-24): ",
       {{"Orvex_SetFLT", 1}}},
      {"m", "", {{"Orvex_GetMeasAmplit", 4}}},
      {"M", "", {{"Orvex_GetMeasAmplit", 4}}, true},
  };
  return all;
}

// The adapter functions a command calls, in order, as the trace shows them
// after start-up, each with its call number counted from the program's start.
struct Call {
  std::string function;  // without the Tarvish_ prefix
  int number;
};

std::vector<Call> tracedCalls(const std::string& script) {
  // A fresh file of this run's own: the trace appends, and test processes
  // run side by side.
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("orvex-sweep-" + std::to_string(std::random_device{}()) + ".trace"))
                               .string();
  std::remove(path.c_str());
  const auto run =
      runProgram({.args = {"-q"}, .input = script + "\x1b", .env = {{"TARVISH_TRACE", path}}});
  std::ifstream trace(path);
  std::map<std::string, int> counts;
  std::vector<Call> calls;
  std::string line;
  const std::regex call("Tarvish_([A-Za-z_]+)\\(.*");
  bool started = false;
  while (std::getline(trace, line)) {
    std::smatch m;
    if (!std::regex_match(line, m, call)) continue;
    const std::string function = m[1];
    if (function == "Version" || function == "ErrorMessage" || function == "IO_ErrorMessage") {
      continue;
    }
    const int number = ++counts[function];
    if (started) calls.push_back({function, number});
    // Start-up ends with the first flush.
    if (function == "Flush_LPT") started = true;
  }
  std::remove(path.c_str());
  EXPECT_EQ(run.status, 0);
  return calls;
}

std::string errorLine(const std::string& label, const Call& call) {
  return "Error at " + label + ": Injected failure of Tarvish_" + call.function + " (call " +
         std::to_string(call.number) + "), I/O Error Message: Simulated I/O error\n";
}

class FailureSweep : public testing::TestWithParam<std::size_t> {};

TEST_P(FailureSweep, EveryCallFailsOnceInEveryMode) {
  const Command& command = commands()[GetParam()];
  const std::vector<Call> calls = tracedCalls(command.script);
  int expectedCalls = 0;
  for (const Transaction& t : command.transactions) expectedCalls += t.calls;
  ASSERT_EQ(static_cast<int>(calls.size()), expectedCalls) << command.script;

  const std::string flushFailed =
      "Error at Tarvish_Flush_LPT: Injected failure of Tarvish_Flush_LPT (call 2), I/O Error "
      "Message: Simulated I/O error\n";
  std::size_t index = 0;
  for (const Transaction& transaction : command.transactions) {
    for (int i = 0; i < transaction.calls; ++i, ++index) {
      const Call& call = calls[index];
      const std::string fail = call.function + "@" + std::to_string(call.number);
      const std::string error = errorLine(transaction.label, call);
      for (bool flushFails : {false, true}) {
        const std::string knob = flushFails ? fail + ",Flush_LPT@2" : fail;
        const std::string input =
            std::string(command.script) + (command.display ? "\x1b" : "") + "v\x1b";
        const std::string where = std::string(command.script) + " with " + knob;

        const auto quiet =
            runProgram({.args = {"-q"}, .input = input, .env = {{"TARVISH_FAIL", knob}}});
        EXPECT_EQ(quiet.out, command.prompts + error + (flushFails ? flushFailed : "") +
                                 "Firmware version: 1-05\n")
            << where;

        const auto normal = runProgram({.input = input, .env = {{"TARVISH_FAIL", knob}}});
        const std::string normalTail = error + (flushFails ? flushFailed : "Buffers flushed\n") +
                                       "Firmware version: 1-05\nProgram finished";
        ASSERT_GE(normal.out.size(), normalTail.size()) << where;
        EXPECT_EQ(normal.out.substr(normal.out.size() - normalTail.size()), normalTail) << where;
        EXPECT_EQ(normal.out.find("Error at "), normal.out.size() - normalTail.size()) << where;

        const auto debug =
            runProgram({.args = {"-d"}, .input = input, .env = {{"TARVISH_FAIL", knob}}});
        const std::string debugTail =
            error + "Flushing communication buffers of the Tarvish adapter...\n" +
            (flushFails ? flushFailed
                        : "Communication buffers of the Tarvish adapter were flushed\n") +
            "Getting firmware version:\nFirmware version: 1-05\nProgram finished";
        ASSERT_GE(debug.out.size(), debugTail.size()) << where;
        EXPECT_EQ(debug.out.substr(debug.out.size() - debugTail.size()), debugTail) << where;
        EXPECT_EQ(debug.out.find("Error at "), debug.out.size() - debugTail.size()) << where;
      }
    }
  }
}

std::string commandName(const testing::TestParamInfo<std::size_t>& info) {
  const char key = commands()[info.param].script[0];
  return std::string(key >= 'a' ? "lower_" : "upper_") + key;
}

INSTANTIATE_TEST_SUITE_P(Commands, FailureSweep, testing::Range<std::size_t>(0, commands().size()),
                         commandName);

}  // namespace
