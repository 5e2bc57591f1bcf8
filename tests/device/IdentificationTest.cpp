// Identification exports: the library version, the presence test, firmware
// and product data, and the limits of the two texts.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <string>

#include "AdapterTest.h"
#include "Orvex.h"
#include "Tarvish.h"

namespace orvex::test {
namespace {

using Identification = AdapterTest;

// Everything else here relies on the library's adapter calls reaching the
// double of this executable rather than the adapter library it was linked to.
TEST_F(Identification, AdapterCallsReachTheDouble) {
  wire.failCall(1, 4242);
  std::uint16_t version = 0;
  EXPECT_EQ(Orvex_FW_Ver(&version), 4242);
  ASSERT_EQ(wire.calls().size(), 1u);
  EXPECT_EQ(wire.calls()[0], sendCall({0x03}, TARVISH_MORE));
}

TEST_F(Identification, VersionIsOnePointZeroWithoutTouchingTheAdapter) {
  EXPECT_EQ(Orvex_Version(), 0x0100);
  EXPECT_TRUE(wire.calls().empty());
}

TEST_F(Identification, CheckReportsOnlyAnAnsweringOrvex) {
  struct Case {
    const char* what;
    std::uint8_t adapterPresent;
    std::vector<std::uint8_t> reply;
    std::uint8_t present;
  };
  const Case cases[] = {
      {"Orvex identification", 1, {0x47, 0x96}, 1},
      {"bytes swapped", 1, {0x96, 0x47}, 0},
      {"other module", 1, {0x00, 0x00}, 0},
      {"any non-zero flag means a module answers", 0x80, {0x47, 0x96}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    wire.reset();
    wire.setPresent(c.adapterPresent);
    wire.reply(c.reply);
    std::uint8_t present = 0x5A;
    EXPECT_EQ(Orvex_Check(&present), 0);
    EXPECT_EQ(present, c.present);
    EXPECT_EQ(wire.calls(), (std::vector<Call>{checkCall(), sendCall({0x00}, TARVISH_MORE),
                                               receiveCall(2, TARVISH_FINAL)}));
  }
}

TEST_F(Identification, CheckWithoutModuleSendsNothing) {
  wire.setPresent(0);
  std::uint8_t present = 0x5A;
  EXPECT_EQ(Orvex_Check(&present), 0);
  EXPECT_EQ(present, 0);
  EXPECT_EQ(wire.calls(), std::vector<Call>{checkCall()});
}

TEST_F(Identification, FirmwareVersionAndProductNumberAreLittleEndian) {
  wire.reply({0x05, 0x01});
  std::uint16_t version = 0;
  EXPECT_EQ(Orvex_FW_Ver(&version), 0);
  EXPECT_EQ(version, 0x0105);

  wire.reply({0x01, 0x02, 0x03, 0x04});
  std::uint32_t number = 0;
  EXPECT_EQ(Orvex_Prod_No(&number), 0);
  EXPECT_EQ(number, 0x04030201u);
}

// The texts go straight into the caller's buffer, which needs to be no
// larger than the library's limit: the library asks the adapter for at most
// that many bytes. The double fills the whole limit when the module's text is
// longer; the guard bytes behind the buffer must stay as they were.
TEST_F(Identification, TextsStayWithinTheirLimits) {
  struct Case {
    const char* what;
    std::int32_t (*read)(char*);
    std::size_t limit;
  };
  const Case cases[] = {{"FW_Date", Orvex_FW_Date, 16}, {"Prod_ID", Orvex_Prod_ID, 81}};
  constexpr unsigned char kGuard = 0xEE;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    wire.reset();
    const std::string longText(200, 'x');
    wire.replyText(longText);
    std::array<unsigned char, 128> memory;
    memory.fill(kGuard);
    char* buffer = reinterpret_cast<char*>(memory.data());

    EXPECT_EQ(c.read(buffer), 0);
    ASSERT_EQ(wire.calls().size(), 2u);
    EXPECT_EQ(wire.calls()[1].count, static_cast<std::int32_t>(c.limit));
    EXPECT_EQ(std::string(buffer), longText.substr(0, c.limit - 1));
    for (std::size_t i = c.limit; i < memory.size(); ++i) {
      ASSERT_EQ(memory[i], kGuard) << "byte " << i << " past the buffer was written";
    }
  }
}

TEST_F(Identification, ShortTextsArriveWhole) {
  wire.replyText("Dec 11 2026");
  wire.replyText("Orvex two-channel signal module");
  char date[16];
  char id[81];
  EXPECT_EQ(Orvex_FW_Date(date), 0);
  EXPECT_EQ(Orvex_Prod_ID(id), 0);
  EXPECT_STREQ(date, "Dec 11 2026");
  EXPECT_STREQ(id, "Orvex two-channel signal module");
}

}  // namespace
}  // namespace orvex::test
