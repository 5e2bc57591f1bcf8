// Reading TARVISH_I2C_BUS and TARVISH_I2C_ADDRESS, and what the library makes
// of a malformed selection: one line each, and an open that fails.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "BusNames.h"
#include "FakeI2cDevice.h"
#include "I2cDevAdapter.h"
#include "Outcome.h"
#include "Selection.h"

namespace tarvish::i2cdev::test {
namespace {

using Environment = std::map<std::string, std::string>;

Lookup lookupIn(const Environment& env) {
  return [&env](const char* name) {
    auto it = env.find(name);
    return it == env.end() ? nullptr : it->second.c_str();
  };
}

TEST(I2cDevSelection, BusValues) {
  using Kind = BusChoice::Kind;
  const struct {
    const char* value;
    std::optional<BusChoice> bus;
    const char* problem;  // part of it, when malformed
  } cases[] = {
      {"/dev/i2c-1", BusChoice{Kind::Path, "/dev/i2c-1", 0}, ""},
      {"./my-bus", BusChoice{Kind::Path, "./my-bus", 0}, ""},
      {"/dev/i2c-10", BusChoice{Kind::Path, "/dev/i2c-10", 0}, ""},
      {"0", BusChoice{Kind::Number, "", 0}, ""},
      {"17", BusChoice{Kind::Number, "", 17}, ""},
      {"007", BusChoice{Kind::Number, "", 7}, ""},
      {"name:parport-i2c", BusChoice{Kind::Name, "parport-i2c", 0}, ""},
      {"name:i2c-tiny-usb at bus 001 device 004",
       BusChoice{Kind::Name, "i2c-tiny-usb at bus 001 device 004", 0}, ""},
      {"", std::nullopt, "the value is empty"},
      {"name:", std::nullopt, "the adapter name after 'name:' is empty"},
      {"i2c-1", std::nullopt, "'i2c-1' is neither a device path (/dev/i2c-1), a bus number"},
      {"-1", std::nullopt, "is neither a device path"},
      {"0x1", std::nullopt, "is neither a device path"},
      {"1048576", std::nullopt, "too large for a bus number"},
      {"99999999999999999999999", std::nullopt, "too large for a bus number"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    std::string problem;
    EXPECT_EQ(parseBus(c.value, problem), c.bus);
    EXPECT_NE(problem.find(c.problem), std::string::npos) << problem;
    EXPECT_EQ(problem.empty(), c.bus.has_value());
  }
}

TEST(I2cDevSelection, AddressValues) {
  const struct {
    const char* value;
    std::optional<std::uint8_t> address;
  } cases[] = {
      {"0x40", 0x40},          {"0x08", 0x08},
      {"0x77", 0x77},          {"64", 0x40},
      {"0X50", 0x50},          {"0x07", std::nullopt},
      {"0x78", std::nullopt},  {"0", std::nullopt},
      {"", std::nullopt},      {"0x", std::nullopt},
      {"40h", std::nullopt},   {"-64", std::nullopt},
      {"0x140", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    std::string problem;
    EXPECT_EQ(parseAddress(c.value, problem), c.address);
    if (!c.address) {
      EXPECT_EQ(problem, "'" + std::string(c.value) + "' is not a 7-bit module address 0x08..0x77");
    }
  }
}

TEST(I2cDevSelection, BothVariablesTogether) {
  std::vector<std::string> problems;
  const Environment good = {{"TARVISH_I2C_BUS", "2"}, {"TARVISH_I2C_ADDRESS", "0x50"}};
  EXPECT_EQ(readSelection(lookupIn(good), problems),
            (Selection{{BusChoice::Kind::Number, "", 2}, 0x50}));
  const Environment defaults = {{"TARVISH_I2C_BUS", "/dev/i2c-0"}};
  EXPECT_EQ(readSelection(lookupIn(defaults), problems)->address, 0x40);
  EXPECT_TRUE(problems.empty());

  const Environment bad = {{"TARVISH_I2C_BUS", "bus"}, {"TARVISH_I2C_ADDRESS", "0x7F"}};
  EXPECT_EQ(readSelection(lookupIn(bad), problems), std::nullopt);
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_EQ(problems[0].rfind("TARVISH_I2C_BUS: 'bus'", 0), 0u) << problems[0];
  EXPECT_EQ(problems[1].rfind("TARVISH_I2C_ADDRESS: '0x7F'", 0), 0u) << problems[1];

  problems.clear();
  const Environment badAddress = {{"TARVISH_I2C_BUS", "1"}, {"TARVISH_I2C_ADDRESS", "0x07"}};
  EXPECT_EQ(readSelection(lookupIn(badAddress), problems), std::nullopt);
  EXPECT_EQ(problems.size(), 1u);
}

TEST(I2cDevSelection, BusNamesMatchExactlyOnce) {
  const std::vector<BusEntry> buses = {
      {0, "SMBus I801 adapter at f040"}, {4, "parport-i2c"}, {2, "parport-i2c2"}};
  std::string problem;
  EXPECT_EQ(busNamed(buses, "parport-i2c", problem), "/dev/i2c-4");
  EXPECT_EQ(problem, "");
  EXPECT_EQ(busNamed(buses, "parport", problem), "");  // no prefix match
  EXPECT_NE(problem.find("No I2C bus has an adapter named 'parport' (3 listed"), std::string::npos);
  EXPECT_EQ(busNamed({}, "parport-i2c", problem), "");
  EXPECT_NE(problem.find("(0 listed under /sys/class/i2c-dev); is i2c-dev loaded?"),
            std::string::npos);
  EXPECT_EQ(busPath(12), "/dev/i2c-12");
}

// A malformed selection is reported once per variable and makes the open
// fail; the bus is never touched and nothing else stands in for it.
TEST(I2cDevSelection, AMalformedSelectionFailsTheOpen) {
  FakeI2cDevice fake({}, nullptr, 0);
  const Environment env = {{"TARVISH_I2C_BUS", "i2c-3"}, {"TARVISH_I2C_ADDRESS", "0x80"}};
  std::vector<std::string> reported;
  I2cDevAdapter composed({}, Trace(), lookupIn(env), fake,
                         [&](const std::string& line) { reported.push_back(line); });
  ASSERT_EQ(reported.size(), 2u);
  EXPECT_EQ(reported[0],
            "TARVISH_I2C_BUS: 'i2c-3' is neither a device path (/dev/i2c-1), a bus number (1) "
            "nor name:TEXT; Tarvish_Open will fail");
  EXPECT_EQ(reported[1],
            "TARVISH_I2C_ADDRESS: '0x80' is not a 7-bit module address 0x08..0x77; Tarvish_Open "
            "will fail");
  Adapter& adapter = composed.adapter();
  EXPECT_EQ(adapter.open(), kBadSelection);
  EXPECT_STREQ(adapter.errorMessage(),
               "TARVISH_I2C_BUS: 'i2c-3' is neither a device path (/dev/i2c-1), a bus number (1) "
               "nor name:TEXT; TARVISH_I2C_ADDRESS: '0x80' is not a 7-bit module address "
               "0x08..0x77");
  std::uint8_t present = 9;
  EXPECT_EQ(adapter.check(1, &present), kNotOpen);
  EXPECT_EQ(fake.opens(), 0);
}

TEST(I2cDevSelection, AGoodSelectionReachesTheNamedBusWithTheFrontsKnobs) {
  FakeI2cDevice fake({}, nullptr, 0);
  const Environment env = {{"TARVISH_I2C_BUS", "3"}};
  FrontKnobs front;
  front.slot = 4;
  front.failures = {{AdapterFunction::Check, 1, -55}};
  std::vector<std::string> reported;
  I2cDevAdapter composed(front, Trace(), lookupIn(env), fake,
                         [&](const std::string& line) { reported.push_back(line); });
  EXPECT_TRUE(reported.empty());
  Adapter& adapter = composed.adapter();
  ASSERT_EQ(adapter.open(), 0);
  std::uint8_t slot = 0, present = 9;
  ASSERT_EQ(adapter.getSlot(&slot, 1, 0), 0);
  EXPECT_EQ(slot, 4);
  EXPECT_EQ(adapter.check(1, &present), -55);
  EXPECT_EQ(adapter.check(1, &present), 0);
  EXPECT_EQ(present, 0);
  ASSERT_EQ(fake.transfers().size(), 1u);
  EXPECT_EQ(fake.transfers()[0][0].address, 0x44);
}

}  // namespace
}  // namespace tarvish::i2cdev::test
