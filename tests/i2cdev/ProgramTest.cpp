// The real Orvex-Test with the bus selected by TARVISH_I2C_BUS. Over the
// shipped adapter library on this machine, which has no I2C: every unusable
// or malformed selection ends the program at the open with status 1, never
// on the simulated module. Over the fake device (run with the test build of
// the library): exactly the transfers of each transaction on the wire.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "ProgramRun.h"

using orvex::test::runProgram;

namespace {

struct Unusable {
  std::map<std::string, std::string> env;
  std::string out;  // after "Error at Tarvish_Open: "
  std::string err;  // standard error
};

TEST(I2cDevProgram, AnUnusableSelectionFailsTheOpenAndEndsWithStatusOne) {
  const std::string empty =
      "TARVISH_I2C_BUS: the value is empty; give a device path (/dev/i2c-1), a bus number or "
      "name:TEXT";
  const std::string noName =
      "TARVISH_I2C_BUS: 'i2c-1' is neither a device path (/dev/i2c-1), a bus "
      "number (1) nor name:TEXT";
  const std::string badAddress =
      "TARVISH_I2C_ADDRESS: '0x78' is not a 7-bit module address 0x08..0x77";
  const std::string noIo = ", I/O Error Message: No input/output attempted\n";
  const Unusable cases[] = {
      {{{"TARVISH_I2C_BUS", ""}}, empty + noIo, "Tarvish: " + empty + "; Tarvish_Open will fail\n"},
      {{{"TARVISH_I2C_BUS", "i2c-1"}},
       noName + noIo,
       "Tarvish: " + noName + "; Tarvish_Open will fail\n"},
      {{{"TARVISH_I2C_BUS", "/dev/i2c-1"}, {"TARVISH_I2C_ADDRESS", "0x78"}},
       badAddress + noIo,
       "Tarvish: " + badAddress + "; Tarvish_Open will fail\n"},
      {{{"TARVISH_I2C_BUS", "/dev/i2c-orvex-none"}},
       "/dev/i2c-orvex-none: No such I2C bus; is the i2c-dev module loaded (modprobe i2c-dev)? "
       "'i2cdetect -l' lists the buses, I/O Error Message: open /dev/i2c-orvex-none: ENOENT (No "
       "such file or directory)\n",
       ""},
      {{{"TARVISH_I2C_BUS", "/dev/null"}},
       "/dev/null: Not an I2C device; give the path of an i2c-dev device such as /dev/i2c-1, I/O "
       "Error Message: ioctl I2C_FUNCS on /dev/null: ENOTTY (Inappropriate ioctl for device)\n",
       ""},
      {{{"TARVISH_I2C_BUS", "name:orvex-no-such-adapter"}},
       "No I2C bus has an adapter named 'orvex-no-such-adapter'",
       ""},
  };
  for (const Unusable& c : cases) {
    SCOPED_TRACE(c.env.begin()->second);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"-q"}, std::vector<std::string>{}}) {
      const auto run = runProgram({.args = args, .input = "q\x1b", .env = c.env});
      EXPECT_EQ(run.status, 1);
      const std::string error = "Error at Tarvish_Open: ";
      const std::size_t at = run.out.find(error);
      ASSERT_NE(at, std::string::npos) << run.out;
      EXPECT_EQ(run.out.substr(at + error.size()).rfind(c.out, 0), 0u) << run.out;
      EXPECT_EQ(run.out.find("Device"), std::string::npos) << run.out;
      EXPECT_EQ(run.out.find("port opened"), std::string::npos) << run.out;
      EXPECT_EQ(run.err, c.err);
    }
  }
}

// The trace lines of the bus, without the adapter calls.
std::vector<std::string> busLines(const std::string& trace) {
  std::vector<std::string> lines;
  std::istringstream in(trace);
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("  ")) lines.push_back(line);
  }
  return lines;
}

TEST(I2cDevOverFake, TheProgramReachesTheModuleThroughExactlyTheseTransfers) {
  // Scan, read both amplifications, set X's to 1.5, read the firmware date.
  const auto run = runProgram(
      {.args = {"-q"}, .input = "qaA0\n1.5\nd\x1b", .env = {{"TARVISH_TRACE", "stderr"}}});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            "Device found\nCh X: 1.0000,\tCh Y: 1.0000\nEnter the channel number (X=0, Y=1): "
            "Enter the new amplification (0-256): Firmware date: Nov 27 2026\n");
  const std::vector<std::string> expected = {
      "  open /dev/i2c-3 = 7",
      "  I2C_FUNCS = 0, plain I2C: yes",
      "  I2C_RDWR 0x40 write [] = 1",
      "  I2C_RDWR 0x40 write [00], 0x40 read [47 96] = 2",
      "  I2C_RDWR 0x40 write [15], 0x40 read [00 01] = 2",
      "  I2C_RDWR 0x40 write [16], 0x40 read [00 01] = 2",
      "  I2C_RDWR 0x40 write [15 80 01] = 1",
      "  I2C_RDWR 0x40 write [04], 0x40 read [4E 6F 76 20 32 37 20 32 30 32 36 00 FF FF FF FF] = 2",
  };
  EXPECT_EQ(busLines(run.err), expected) << run.err;
}

TEST(I2cDevOverFake, TheModuleAnswersAtTheConfiguredAddressPlusItsSlot) {
  const auto run = runProgram({.args = {"-q"},
                               .input = "qO5\nqO0\nq\x1b",
                               .env = {{"TARVISH_TRACE", "stderr"},
                                       {"TARVISH_I2C_ADDRESS", "0x50"},
                                       {"TARVISH_MODULE_SLOT", "5"}}});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            "Device not found\nEnter the new ZPB slot number: Device found\nEnter the new ZPB "
            "slot number: Device not found\n");
  const std::vector<std::string> lines = busLines(run.err);
  ASSERT_EQ(lines.size(), 6u) << run.err;
  EXPECT_EQ(lines[2], "  I2C_RDWR 0x50 write [] = -1 ENXIO (No such device or address)");
  EXPECT_EQ(lines[3], "  I2C_RDWR 0x55 write [] = 1");
  EXPECT_EQ(lines[4], "  I2C_RDWR 0x55 write [00], 0x55 read [47 96] = 2");
  EXPECT_EQ(lines[5], "  I2C_RDWR 0x50 write [] = -1 ENXIO (No such device or address)");
}

}  // namespace
