// Keeping the module's settings in a file between runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "SimRig.h"
#include "Simulator.h"
#include "StateFile.h"

namespace tarvish::sim::test {
namespace {

namespace fs = std::filesystem;

class StateFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("tarvish-state-" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    path_ = (dir_ / "module.state").string();
  }
  void TearDown() override { fs::remove_all(dir_); }

  void write(const std::string& text) { std::ofstream(path_) << text; }

  fs::path dir_;
  std::string path_;
};

TEST_F(StateFile, SettingsSurviveARestartOfTheSimulator) {
  ManualClock clock;
  Knobs knobs;
  knobs.statePath = path_;
  std::vector<std::string> problems;
  const auto report = [&](const std::string& p) { problems.push_back(p); };
  {
    Simulator first(knobs, clock, report);
    ASSERT_EQ(first.adapter().open(), 0);
    const std::vector<std::vector<std::uint8_t>> settings = {
        {0x16, 0x80, 0x01}, {0x0E, 0xFF, 0xFF}, {0x1B, 0x02}};
    for (const auto& s : settings) {
      ASSERT_EQ(first.adapter().send(1, s.data(), static_cast<std::int32_t>(s.size()), 1), 0);
    }
  }
  EXPECT_FALSE(fs::exists(path_ + ".tmp"));
  Simulator second(knobs, clock, report);
  EXPECT_EQ(second.module().settings().at(0x16), (std::vector<std::uint8_t>{0x80, 0x01}));
  EXPECT_EQ(second.module().settings().at(0x0E), (std::vector<std::uint8_t>{0xFF, 0xFF}));
  EXPECT_EQ(second.module().settings().at(0x1B), (std::vector<std::uint8_t>{0x04, 0x00, 0x02}));
  EXPECT_EQ(second.module().settings().at(0x15), (std::vector<std::uint8_t>{0x00, 0x01}));
  EXPECT_TRUE(problems.empty());
}

TEST_F(StateFile, FileFormatIsOneCodeAndItsBytesPerLine) {
  Settings settings = powerOnSettings();
  settings[0x15] = {0x80, 0x01};
  ASSERT_EQ(saveState(path_, settings), "");
  std::ifstream in(path_);
  std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(all.find("\n15=8001\n"), std::string::npos) << all;
  EXPECT_NE(all.find("\n11=6C000A\n"), std::string::npos) << all;
  std::string problem;
  EXPECT_EQ(loadState(path_, problem), settings);
  EXPECT_EQ(problem, "");
}

TEST_F(StateFile, AMissingFileStartsSilentlyAtPowerOn) {
  std::string problem;
  EXPECT_EQ(loadState(path_, problem), std::nullopt);
  EXPECT_EQ(problem, "");
}

TEST_F(StateFile, AMalformedFileIsReportedOnceAndIgnored) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"15=8001\nnonsense\n", "line 4: expected CC=HEX, found 'nonsense'"},
      {"1F=0000\n", "command code 0x1F is not a setting"},
      {"15=80\n", "command code 0x15 holds 2 bytes"},
      {"15=80G1\n", "expected CC=HEX"},
  };
  for (const auto& [text, why] : cases) {
    SCOPED_TRACE(text);
    write("# comment\n\n" + text);
    ManualClock clock;
    Knobs knobs;
    knobs.statePath = path_;
    std::vector<std::string> problems;
    Simulator simulator(knobs, clock, [&](const std::string& p) { problems.push_back(p); });
    EXPECT_EQ(simulator.module().settings(), powerOnSettings());
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("TARVISH_STATE: "), std::string::npos) << problems[0];
    EXPECT_NE(problems[0].find(why), std::string::npos) << problems[0];
  }
}

TEST_F(StateFile, AnUnwritableFileIsReportedOnce) {
  ManualClock clock;
  Knobs knobs;
  knobs.statePath = (dir_ / "missing-dir" / "module.state").string();
  std::vector<std::string> problems;
  Simulator simulator(knobs, clock, [&](const std::string& p) { problems.push_back(p); });
  ASSERT_EQ(simulator.adapter().open(), 0);
  const std::uint8_t setting[] = {0x17, 0x01};
  EXPECT_EQ(simulator.adapter().send(1, setting, 2, 1), 0);  // the module took it
  EXPECT_EQ(simulator.adapter().send(1, setting, 2, 1), 0);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find("settings are not kept"), std::string::npos) << problems[0];
}

}  // namespace
}  // namespace tarvish::sim::test
