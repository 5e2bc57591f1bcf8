// Reading the knobs of the front and of the simulator from given variable
// values: every knob's syntax, and one message per malformed variable, which
// is then ignored. Each reader reads only its own variables.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "FrontKnobs.h"
#include "Knobs.h"
#include "Outcome.h"

namespace tarvish::sim::test {
namespace {

using Environment = std::map<std::string, std::string>;

// What the front's reader and the simulator's reader make of one environment.
struct Both {
  FrontKnobs front;
  Knobs sim;
  bool operator==(const Both&) const = default;
};

Both read(const Environment& env, std::vector<std::string>& problems) {
  const Lookup lookup = [&](const char* name) {
    auto it = env.find(name);
    return it == env.end() ? nullptr : it->second.c_str();
  };
  Both both;
  both.front = readFrontKnobs(lookup, problems);
  both.sim = readKnobs(lookup, problems);
  return both;
}

struct Good {
  Environment env;
  std::function<void(Both&)> expect;  // turns the defaults into the expected knobs
};

TEST(Knobs, WellFormedValues) {
  const std::vector<Good> cases = {
      {{}, [](Both&) {}},
      {{{"TARVISH_SLOT", ""}}, [](Both&) {}},  // empty counts as unset
      {{{"TARVISH_SLOT", "5"}}, [](Both& k) { k.front.slot = 5; }},
      {{{"TARVISH_SLOT", "0xFF"}}, [](Both& k) { k.front.slot = 255; }},
      {{{"TARVISH_MODULE_SLOT", "0x1a"}}, [](Both& k) { k.sim.moduleSlot = 26; }},
      {{{"TARVISH_MODULE_SLOT", "none"}}, [](Both& k) { k.sim.noModule = true; }},
      {{{"TARVISH_VERSION", "0x0200"}}, [](Both& k) { k.front.version = 0x0200; }},
      {{{"TARVISH_VERSION", "65535"}}, [](Both& k) { k.front.version = 0xFFFF; }},
      {{{"TARVISH_TRACE", "stderr"}}, [](Both& k) { k.front.trace = "stderr"; }},
      {{{"TARVISH_STATE", "/tmp/x"}}, [](Both& k) { k.sim.statePath = "/tmp/x"; }},
      {{{"TARVISH_FAIL", "Send"}},
       [](Both& k) {
         k.front.failures = {{AdapterFunction::Send, std::nullopt, kDefaultInjectedStatus}};
       }},
      {{{"TARVISH_FAIL", "Tarvish_Receive@3=-7,Open=12,Flush_LPT@0x2"}},
       [](Both& k) {
         k.front.failures = {{AdapterFunction::Receive, 3, -7},
                             {AdapterFunction::Open, std::nullopt, 12},
                             {AdapterFunction::Flush_LPT, 2, kDefaultInjectedStatus}};
       }},
      {{{"TARVISH_REPLY", "07=0080,05=100E00000002,20=d204,01=4142,04="}},
       [](Both& k) {
         k.sim.replies = {{0x07, {0x00, 0x80}},
                          {0x05, {0x10, 0x0E, 0x00, 0x00, 0x00, 0x02}},
                          {0x20, {0xD2, 0x04}},
                          {0x01, {0x41, 0x42}},
                          {0x04, {}}};
       }},
      {{{"TARVISH_REPLY", "04=" + std::string(40, '4')}},  // longer than any buffer
       [](Both& k) {
         k.sim.replies = {{0x04, std::vector<std::uint8_t>(20, 0x44)}};
       }},
  };
  for (const Good& c : cases) {
    SCOPED_TRACE(c.env.empty() ? "no variables" : c.env.begin()->second);
    std::vector<std::string> problems;
    Both expected;
    c.expect(expected);
    EXPECT_EQ(read(c.env, problems), expected);
    EXPECT_TRUE(problems.empty()) << problems.front();
  }
}

TEST(Knobs, TheModuleSitsInTheSelectedSlotUnlessToldOtherwise) {
  std::vector<std::string> problems;
  const auto module = [&](const Environment& env) {
    const Both knobs = read(env, problems);
    return knobs.sim.module(knobs.front.slot);
  };
  EXPECT_EQ(module({{"TARVISH_SLOT", "9"}}), 9);
  EXPECT_EQ(module({{"TARVISH_SLOT", "9"}, {"TARVISH_MODULE_SLOT", "3"}}), 3);
  EXPECT_EQ(module({{"TARVISH_MODULE_SLOT", "none"}}), std::nullopt);
}

struct Bad {
  const char* variable;
  const char* value;
  const char* why;  // part of the message
};

TEST(Knobs, AMalformedVariableGivesOneMessageAndIsIgnored) {
  const std::vector<Bad> cases = {
      {"TARVISH_SLOT", "256", "not a slot number 0..255"},
      {"TARVISH_SLOT", "-1", "not a slot number"},
      {"TARVISH_SLOT", "5x", "not a slot number"},
      {"TARVISH_SLOT", "0x", "not a slot number"},
      {"TARVISH_MODULE_SLOT", "None", "neither a slot number 0..255 nor 'none'"},
      {"TARVISH_VERSION", "0x10000", "not a word 0..0xFFFF"},
      {"TARVISH_FAIL", "Send,Bogus", "'Bogus' is not an adapter function"},
      {"TARVISH_FAIL", "send", "'send' is not an adapter function"},
      {"TARVISH_FAIL", "Version", "Tarvish_Version cannot be failed"},
      {"TARVISH_FAIL", "Tarvish_ErrorMessage", "cannot be failed"},
      {"TARVISH_FAIL", "Send@0", "the call number after '@' must be 1 or more"},
      {"TARVISH_FAIL", "Send@x=3", "the call number"},
      {"TARVISH_FAIL", "Send=0", "non-zero decimal"},
      {"TARVISH_FAIL", "Send=0x10", "non-zero decimal"},
      {"TARVISH_FAIL", "Send,", "'' is not an adapter function"},
      {"TARVISH_REPLY", "7=0080", "two-digit hex CODE"},
      {"TARVISH_REPLY", "07", "two-digit hex CODE"},
      {"TARVISH_REPLY", "1D=0000", "no command code 0x1D"},
      {"TARVISH_REPLY", "07=008", "pairs of hex digits"},
      {"TARVISH_REPLY", "07=00", "answer is 2 bytes, not 1"},
      {"TARVISH_REPLY", "05=100E0000", "answer is 6 bytes, not 4"},
      {"TARVISH_REPLY", "01=410042", "cannot contain a 00 byte"},
      {"TARVISH_REPLY", "07=0080,07=0000", "given twice"},
  };
  for (const Bad& c : cases) {
    SCOPED_TRACE(std::string(c.variable) + "=" + c.value);
    std::vector<std::string> problems;
    // A good knob beside the bad one still counts.
    const Both knobs = read({{c.variable, c.value}, {"TARVISH_TRACE", "stderr"}}, problems);
    Both expected;
    expected.front.trace = "stderr";
    EXPECT_EQ(knobs, expected);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].rfind(std::string(c.variable) + ": ", 0), 0u) << problems[0];
    EXPECT_NE(problems[0].find(c.why), std::string::npos) << problems[0];
    EXPECT_NE(problems[0].find("ignored"), std::string::npos) << problems[0];
  }
}

}  // namespace
}  // namespace tarvish::sim::test
