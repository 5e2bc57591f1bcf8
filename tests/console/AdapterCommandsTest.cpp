// Bus scan, ZPB slot and identification commands over the simulated module.
#include <gtest/gtest.h>

#include "ProgramRun.h"

using orvex::test::RunOptions;
using orvex::test::runProgram;

namespace {

// Runs one key script in quiet mode, so that only the commands' output shows.
std::string quiet(const std::string& input, std::map<std::string, std::string> env = {}) {
  return runProgram({.args = {"-q"}, .input = input, .env = std::move(env)}).out;
}

TEST(AdapterCommands, ScanFindsTheModuleOnlyInItsSlot) {
  EXPECT_EQ(quiet("qQ"), "Device found\nDevice found\n");
  EXPECT_EQ(quiet("q", {{"TARVISH_MODULE_SLOT", "5"}}), "Device not found\n");
  EXPECT_EQ(quiet("qO5\nq", {{"TARVISH_MODULE_SLOT", "5"}}),
            "Device not found\nEnter the new ZPB slot number: Device found\n");
  EXPECT_EQ(quiet("q", {{"TARVISH_MODULE_SLOT", "none"}}), "Device not found\n");
  const auto debug = runProgram({.args = {"-d"}, .input = "q\x1b"}).out;
  EXPECT_NE(debug.find("Scanning the bus for the device:\nDevice found\nScan finished\n"),
            std::string::npos);
}

TEST(AdapterCommands, GetSlotShowsHexAndDecimal) {
  EXPECT_EQ(quiet("o"), "ZPB slot number: 00h (0)\n");
  EXPECT_EQ(quiet("o", {{"TARVISH_SLOT", "10"}}), "ZPB slot number: 0Ah (10)\n");
  EXPECT_EQ(quiet("o", {{"TARVISH_SLOT", "255"}}), "ZPB slot number: FFh (255)\n");
}

TEST(AdapterCommands, SetSlotEntries) {
  const std::string prompt = "Enter the new ZPB slot number: ";
  const std::string range =
      "Wrong value specified! The ZPB slot number must be lower than 100h (256)\n";
  const struct {
    std::string entry;
    std::string reply;  // after the prompt
    const char* slot;   // what 'o' shows afterwards
  } cases[] = {
      {"255", "", "FFh (255)"},
      {"FFh", "", "FFh (255)"},
      {"11111111b", "", "FFh (255)"},
      {"0", "", "00h (0)"},
      {"1Fh", "", "1Fh (31)"},
      {"256", range, "07h (7)"},
      {"100h", range, "07h (7)"},
      {"-1", range, "07h (7)"},
      {"12x", "Wrong value specified!\n", "07h (7)"},
      {"7BH", "Wrong value specified!\n", "07h (7)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(quiet("O" + c.entry + "\no", {{"TARVISH_SLOT", "7"}}),
              prompt + c.reply + "ZPB slot number: " + c.slot + "\n")
        << c.entry;
  }
  // Standard input ends at the prompt: nothing is set, the program ends.
  const auto ended =
      runProgram({.args = {"-q"}, .input = "O", .env = {{"TARVISH_TRACE", "stderr"}}});
  EXPECT_EQ(ended.out, prompt + "Wrong value specified!\n");
  EXPECT_EQ(ended.err.find("SetSlot"), std::string::npos);
  // The debug confirmation; normal mode says nothing on success.
  const auto debug = runProgram({.args = {"-d"}, .input = "O 1fh\n\x1b"}).out;
  EXPECT_NE(
      debug.find("Setting the ZPB slot number:\n" + prompt + "ZPB slot number set to 1Fh (31)\n"),
      std::string::npos);
}

TEST(AdapterCommands, Identification) {
  EXPECT_EQ(quiet("dvpnDVPN"),
            "Firmware date: Nov 27 2026\nFirmware version: 1-05\n"
            "Product identification: Orvex two-channel signal module, simulated\n"
            "Product number: 4711\n"
            "Firmware date: Nov 27 2026\nFirmware version: 1-05\n"
            "Product identification: Orvex two-channel signal module, simulated\n"
            "Product number: 4711\n");
  EXPECT_EQ(quiet("vn", {{"TARVISH_REPLY", "03=0F0A,02=01020304"}}),
            "Firmware version: 10-15\nProduct number: 67305985\n");
  EXPECT_EQ(quiet("d", {{"TARVISH_REPLY", "04=" + std::string(40, '4') + "41"}}),
            "Firmware date: " + std::string(15, 'D') + "\n");
}

TEST(AdapterCommands, DebugHeadings) {
  const auto out = runProgram({.args = {"-d"}, .input = "odvpn\x1b"}).out;
  for (const char* heading :
       {"Getting the ZPB slot number:\nZPB slot number", "Getting firmware date:\nFirmware date",
        "Getting firmware version:\nFirmware version",
        "Getting product identification:\nProduct identification",
        "Getting product number:\nProduct number"}) {
    EXPECT_NE(out.find(heading), std::string::npos) << heading;
  }
}

// Every command of this group reports a failed call with its label, then
// flushes according to the output mode; the loop goes on.
TEST(AdapterCommands, FailuresAreReportedWithTheCommandsLabel) {
  const std::string error =
      ": Injected failure of Tarvish_Receive (call 1), I/O Error Message: Simulated I/O error\n";
  const std::pair<const char*, const char*> commands[] = {
      {"v", "Orvex_FW_Ver"}, {"n", "Orvex_prod_No"}, {"q", "Orvex_Check"}};
  for (const auto& [key, label] : commands) {
    const auto env = std::map<std::string, std::string>{{"TARVISH_FAIL", "Receive@1"}};
    EXPECT_EQ(quiet(std::string(key) + "o", env),
              "Error at " + std::string(label) + error + "ZPB slot number: 00h (0)\n")
        << key;
    const auto normal = runProgram({.input = std::string(key) + "\x1b", .env = env}).out;
    EXPECT_NE(normal.find("Error at " + std::string(label) + error + "Buffers flushed\nProgram"),
              std::string::npos)
        << normal;
  }
  const std::string stringError =
      ": Injected failure of Tarvish_ReceiveString (call 1), I/O Error Message: Simulated I/O "
      "error\n";
  EXPECT_EQ(quiet("d", {{"TARVISH_FAIL", "ReceiveString"}}),
            "Error at Orvex_FW_Date" + stringError);
  EXPECT_EQ(quiet("p", {{"TARVISH_FAIL", "ReceiveString"}}),
            "Error at Orvex_prod_ID" + stringError);
  EXPECT_EQ(quiet("o", {{"TARVISH_FAIL", "GetSlot=-7"}}),
            "Error at Tarvish_GetSlot: Injected failure of Tarvish_GetSlot (call 1), I/O Error "
            "Message: Simulated I/O error\n");
  EXPECT_EQ(quiet("O3\n", {{"TARVISH_FAIL", "SetSlot"}}),
            "Enter the new ZPB slot number: Error at Tarvish_SetSlot: Injected failure of "
            "Tarvish_SetSlot (call 1), I/O Error Message: Simulated I/O error\n");
  // Debug mode: the two flush lines; a failing flush: a second report instead.
  const auto debug =
      runProgram({.args = {"-d"}, .input = "v\x1b", .env = {{"TARVISH_FAIL", "Receive"}}}).out;
  EXPECT_NE(debug.find("Error at Orvex_FW_Ver" + error +
                       "Flushing communication buffers of the Tarvish adapter...\n"
                       "Communication buffers of the Tarvish adapter were flushed\nProgram"),
            std::string::npos);
  const auto flushFails =
      runProgram({.input = "v\x1b", .env = {{"TARVISH_FAIL", "Receive,Flush_LPT@2"}}}).out;
  EXPECT_NE(flushFails.find("Error at Orvex_FW_Ver" + error +
                            "Error at Tarvish_Flush_LPT: Injected failure of Tarvish_Flush_LPT "
                            "(call 2), I/O Error Message: Simulated I/O error\nProgram finished"),
            std::string::npos)
      << flushFails;
}

}  // namespace
