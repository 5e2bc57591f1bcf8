// The knobs as a user meets them: environment variables read when the
// adapter library loads. Each case runs the probe program in a child
// process with its own environment and compares what it prints.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class KnobEffect : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("tarvish-knobs-" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs the probe with the calls under the variables; stdout and stderr.
  std::pair<std::string, std::string> probe(const std::map<std::string, std::string>& env,
                                            const std::string& calls) {
    std::string command = "env";
    // Unset every knob first, so that the test's own environment cannot leak in.
    for (const char* knob :
         {"TARVISH_SLOT", "TARVISH_MODULE_SLOT", "TARVISH_FAIL", "TARVISH_VERSION", "TARVISH_TRACE",
          "TARVISH_REPLY", "TARVISH_STATE", "TARVISH_I2C_BUS", "TARVISH_I2C_ADDRESS"}) {
      command += std::string(" -u ") + knob;
    }
    for (const auto& [name, value] : env) command += " " + name + "='" + value + "'";
    command += std::string(" '") + TARVISH_PROBE + "' " + calls + " >'" + (dir_ / "out").string() +
               "' 2>'" + (dir_ / "err").string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return {slurp(dir_ / "out"), slurp(dir_ / "err")};
  }

  fs::path dir_;
};

struct Case {
  const char* what;
  std::map<std::string, std::string> env;
  const char* calls;
  const char* out;
  const char* err;
};

TEST_F(KnobEffect, EachKnobChangesWhatTheLibraryDoes) {
  const std::vector<Case> cases = {
      {"defaults",
       {},
       "version getslot open check errors",
       "version 0x0100\ngetslot 0 0\nopen 0\ncheck 0 1\nerrors No error | No error\n",
       ""},
      {"selected slot; the module follows it",
       {{"TARVISH_SLOT", "0x05"}},
       "getslot open check",
       "getslot 0 5\nopen 0\ncheck 0 1\n",
       ""},
      {"module in another slot",
       {{"TARVISH_SLOT", "5"}, {"TARVISH_MODULE_SLOT", "7"}},
       "open check send 00 0 errors slot 7 check",
       "open 0\ncheck 0 0\nsend -1\nerrors No acknowledge from slot 5 | I2C address not "
       "acknowledged\nslot 0\ncheck 0 1\n",
       ""},
      {"empty bus",
       {{"TARVISH_MODULE_SLOT", "none"}},
       "open check send 1701 1",
       "open 0\ncheck 0 0\nsend -1\n",
       ""},
      {"injected failures",
       {{"TARVISH_FAIL", "Tarvish_Send@2=-7,Flush_LPT"}},
       "open flush send 1701 1 send 1700 1 errors send 17 0 recv 1",
       "open 0\nflush -100\nsend 0\nsend -7\nerrors Injected failure of Tarvish_Send (call 2) | "
       "Simulated I/O error\nsend 0\nrecv 0 01\n",
       ""},
      {"version word", {{"TARVISH_VERSION", "0x0200"}}, "version", "version 0x0200\n", ""},
      {"fixed replies",
       {{"TARVISH_REPLY", "07=0080,04=414243"}},
       "open send 07 0 recv 2 send 04 0 recvs 16",
       "open 0\nsend 0\nrecv 0 0080\nsend 0\nrecvs 0 ABC\n",
       ""},
      {"trace to standard error",
       {{"TARVISH_TRACE", "stderr"}},
       "open send 15 0 recv 2",
       "open 0\nsend 0\nrecv 0 0001\n",
       "Tarvish_Open() = 0\nTarvish_Send(1, [15], 1, 0) = 0\nTarvish_Receive(1, 2, 1) -> [00 01] "
       "= 0\n"},
      {"trace file that cannot be opened",
       {{"TARVISH_TRACE", "/nonexistent-dir/trace"}},
       "version",
       "version 0x0100\n",
       "Tarvish: TARVISH_TRACE: cannot open '/nonexistent-dir/trace' for appending: No such file "
       "or directory; not tracing\n"},
      {"malformed knob",
       {{"TARVISH_SLOT", "abc"}, {"TARVISH_VERSION", "0x0101"}},
       "getslot version",
       "getslot 0 0\nversion 0x0101\n",
       "Tarvish: TARVISH_SLOT: 'abc' is not a slot number 0..255; ignored\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto [out, err] = probe(c.env, c.calls);
    EXPECT_EQ(out, c.out);
    EXPECT_EQ(err, c.err);
  }
}

TEST_F(KnobEffect, TraceFileGetsOneLinePerCallAppended) {
  const std::string path = (dir_ / "trace.txt").string();
  probe({{"TARVISH_TRACE", path}}, "version open");
  probe({{"TARVISH_TRACE", path}}, "check errors");
  EXPECT_EQ(slurp(path),
            "Tarvish_Version() = 0x0100\n"
            "Tarvish_Open() = 0\n"
            "Tarvish_Check(1) = -4\n"
            "Tarvish_IO_ErrorMessage() = \"Port not open\"\n"
            "Tarvish_ErrorMessage() = \"Tarvish_Check: the port is not open; call Tarvish_Open "
            "first\"\n");
}

TEST_F(KnobEffect, StateFileKeepsSettingsAcrossRuns) {
  const std::map<std::string, std::string> env = {{"TARVISH_STATE", (dir_ / "state").string()}};
  EXPECT_EQ(probe(env, "open send 168001 1 send 1B02 1").first, "open 0\nsend 0\nsend 0\n");
  EXPECT_EQ(probe(env, "open send 16 0 recv 2 send 1B 0 recv 3").first,
            "open 0\nsend 0\nrecv 0 8001\nsend 0\nrecv 0 040002\n");
  std::ofstream(dir_ / "state") << "garbage\n";
  const auto [out, err] = probe(env, "open send 16 0 recv 2");
  EXPECT_EQ(out, "open 0\nsend 0\nrecv 0 0001\n");
  EXPECT_EQ(err,
            "Tarvish: TARVISH_STATE: '" + (dir_ / "state").string() +
                "' line 1: expected CC=HEX, found 'garbage'; starting from power-on settings\n");
}

}  // namespace
