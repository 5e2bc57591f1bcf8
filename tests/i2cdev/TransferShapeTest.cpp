// The exact I2C messages of every transaction shape, the held send, the
// refusals, and the address of every slot, over the fake device.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "I2cDevRig.h"
#include "Outcome.h"

namespace tarvish::i2cdev::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(I2cDevShapes, AQueryIsOneCombinedWriteAndReadAndTheHeldSendCostsNothing) {
  I2cRig rig;
  ASSERT_EQ(rig.adapter.open(), 0);
  ASSERT_EQ(rig.set({0x16, 0x80, 0x02}), 0);
  rig.fake.clear();
  const std::uint8_t code = 0x16;
  ASSERT_EQ(rig.adapter.send(1, &code, 1, 0), 0);
  EXPECT_TRUE(rig.fake.transfers().empty());  // held, not sent alone
  Bytes reply(2, 0xAA);
  ASSERT_EQ(rig.adapter.receive(1, reply.data(), 2, 1), 0);
  EXPECT_EQ(reply, (Bytes{0x80, 0x02}));
  ASSERT_EQ(rig.fake.transfers().size(), 1u);
  EXPECT_EQ(rig.fake.transfers()[0], (FakeTransfer{write(0x40, {0x16}), read(0x40, {0x80, 0x02})}));
}

TEST(I2cDevShapes, ASettingIsOneWrite) {
  I2cRig rig;
  ASSERT_EQ(rig.adapter.open(), 0);
  ASSERT_EQ(rig.set({0x15, 0x80, 0x01}), 0);
  ASSERT_EQ(rig.fake.transfers().size(), 1u);
  EXPECT_EQ(rig.fake.transfers()[0], (FakeTransfer{write(0x40, {0x15, 0x80, 0x01})}));
  EXPECT_EQ(rig.module.settings().at(0x15), (Bytes{0x80, 0x01}));
}

TEST(I2cDevShapes, ATextReadsItsMaximumAndEndsAtTheFirstNul) {
  const struct {
    const char* what;
    sim::Replies replies;
    std::int32_t max;
    std::string text;
  } cases[] = {
      {"the module's date", {}, 16, "Nov 27 2026"},
      {"cut to the buffer", {}, 5, "Nov "},
      {"no NUL within the maximum", {{0x04, Bytes(20, 'D')}}, 16, std::string(15, 'D')},
      {"exactly the maximum less one", {{0x04, Bytes(15, 'E')}}, 16, std::string(15, 'E')},
      {"an empty text", {{0x04, {}}}, 16, ""},
      {"one byte of room", {}, 1, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    I2cRig rig({.replies = c.replies});
    ASSERT_EQ(rig.adapter.open(), 0);
    std::vector<char> buffer(32, '#');
    const std::uint8_t code = 0x04;
    ASSERT_EQ(rig.adapter.send(1, &code, 1, 0), 0);
    ASSERT_EQ(rig.adapter.receiveString(1, buffer.data(), c.max, 1), 0);
    EXPECT_EQ(std::string(buffer.data()), c.text);
    for (std::size_t i = c.text.size() + 1; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], '#') << i;
    ASSERT_EQ(rig.fake.transfers().size(), 1u);
    const FakeTransfer& t = rig.fake.transfers()[0];
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0], write(0x40, {0x04}));
    EXPECT_TRUE(t[1].read);
    EXPECT_EQ(t[1].length, c.max);
  }
}

TEST(I2cDevShapes, PresenceIsAZeroLengthWriteOrAOneByteReadWhereThatIsRefused) {
  I2cRig rig;
  ASSERT_EQ(rig.adapter.open(), 0);
  std::uint8_t present = 9;
  ASSERT_EQ(rig.adapter.check(1, &present), 0);
  EXPECT_EQ(present, 1);
  ASSERT_EQ(rig.slot(5), 0);
  ASSERT_EQ(rig.adapter.check(1, &present), 0);
  EXPECT_EQ(present, 0);
  EXPECT_EQ(rig.fake.transfers(),
            (std::vector<FakeTransfer>{{write(0x40, {})}, {write(0x45, {})}}));

  I2cRig refusing({.bus = {.noZeroLength = true}});
  ASSERT_EQ(refusing.adapter.open(), 0);
  for (int i = 0; i < 2; ++i) {
    present = 9;
    ASSERT_EQ(refusing.adapter.check(1, &present), 0);
    EXPECT_EQ(present, 1);
  }
  // The refusal is learned once; from then on only the read.
  EXPECT_EQ(
      refusing.fake.transfers(),
      (std::vector<FakeTransfer>{{write(0x40, {})}, {read(0x40, {0xFF})}, {read(0x40, {0xFF})}}));
}

TEST(I2cDevShapes, SlotsAnswerAtTheFirstAddressPlusTheSlotUpTo0x77) {
  const struct {
    std::uint8_t first;
    std::uint8_t slot;
    std::optional<std::uint16_t> address;  // none: no module can answer there
  } cases[] = {
      {0x40, 0, 0x40},           {0x40, 7, 0x47}, {0x40, 0x37, 0x77}, {0x40, 0x38, std::nullopt},
      {0x40, 255, std::nullopt}, {0x08, 0, 0x08}, {0x77, 0, 0x77},    {0x77, 1, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.first) + " + " + std::to_string(c.slot));
    I2cRig rig({.selection = onFakeBus(c.first), .moduleAddress = c.address.value_or(0)});
    ASSERT_EQ(rig.adapter.open(), 0);
    ASSERT_EQ(rig.slot(c.slot), 0);
    std::uint8_t present = 9;
    ASSERT_EQ(rig.adapter.check(1, &present), 0);
    Bytes reply;
    const std::int32_t status = rig.query(0x00, reply, 2);
    const std::int32_t setting = rig.set({0x17, 0x01});
    if (c.address) {
      EXPECT_EQ(present, 1);
      EXPECT_EQ(status, 0);
      EXPECT_EQ(reply, (Bytes{0x47, 0x96}));
      EXPECT_EQ(setting, 0);
      ASSERT_EQ(rig.fake.transfers().size(), 3u);
      for (const FakeTransfer& t : rig.fake.transfers()) {
        for (const FakeMessage& m : t) EXPECT_EQ(m.address, *c.address);
      }
    } else {
      EXPECT_EQ(present, 0);
      EXPECT_EQ(status, kNoAcknowledge);
      EXPECT_EQ(setting, kNoAcknowledge);
      EXPECT_NE(std::string(rig.adapter.errorMessage()).find("is past 0x77"), std::string::npos)
          << rig.adapter.errorMessage();
      EXPECT_TRUE(rig.fake.transfers().empty());
    }
  }
}

struct Refusal {
  const char* what;
  std::vector<std::vector<std::uint8_t>> heldSends;  // sent with final 0 first
  bool settingFirst;                                 // a setting after them
  bool flushFirst;
  std::uint8_t receiveSlot;
  std::int32_t final;
  const char* message;
};

TEST(I2cDevShapes, OutOfOrderTransfersAreRefusedWithoutTouchingTheBus) {
  const Refusal cases[] = {
      {"receive without a held send", {}, false, false, 0, 1, "No query pending: send the bare"},
      {"receive after a final send", {{0x17}}, true, false, 0, 1, "No query pending"},
      {"receive after flush", {{0x17}}, false, true, 0, 1, "No query pending"},
      {"receive with final 0",
       {{0x17}},
       false,
       false,
       0,
       0,
       "Receive with final 0: the answer to command code 0x17 ends the transaction"},
      {"receive in another slot",
       {{0x17}},
       false,
       false,
       3,
       1,
       "No query pending for slot 3: command code 0x17 was sent to slot 0"},
  };
  for (const Refusal& c : cases) {
    SCOPED_TRACE(c.what);
    I2cRig rig;
    ASSERT_EQ(rig.adapter.open(), 0);
    for (const auto& held : c.heldSends) {
      ASSERT_EQ(rig.adapter.send(1, held.data(), static_cast<std::int32_t>(held.size()), 0), 0);
    }
    if (c.settingFirst) {
      ASSERT_EQ(rig.set({0x21, 0x02}), 0);
    }
    if (c.flushFirst) {
      ASSERT_EQ(rig.adapter.flush(), 0);
    }
    ASSERT_EQ(rig.slot(c.receiveSlot), 0);
    rig.fake.clear();
    std::uint8_t buffer[1] = {0xAA};
    EXPECT_EQ(rig.adapter.receive(1, buffer, 1, c.final), kRefused);
    EXPECT_NE(std::string(rig.adapter.errorMessage()).find(c.message), std::string::npos)
        << rig.adapter.errorMessage();
    EXPECT_STREQ(rig.adapter.ioErrorMessage(), "No input/output attempted");
    EXPECT_EQ(buffer[0], 0xAA);
    EXPECT_TRUE(rig.fake.transfers().empty());
    // The refused receive ended the transaction: nothing is held any more.
    EXPECT_EQ(rig.adapter.receive(1, buffer, 1, 1), kRefused);
  }
}

TEST(I2cDevShapes, ASecondHeldSendIsRefusedAndTheFirstStillAnswers) {
  I2cRig rig;
  ASSERT_EQ(rig.adapter.open(), 0);
  const std::uint8_t first = 0x17, second = 0x18;
  ASSERT_EQ(rig.adapter.send(1, &first, 1, 0), 0);
  EXPECT_EQ(rig.adapter.send(1, &second, 1, 0), kRefused);
  EXPECT_NE(std::string(rig.adapter.errorMessage())
                .find("A query is already waiting for its answer (command code 0x17 to slot 0)"),
            std::string::npos)
      << rig.adapter.errorMessage();
  std::uint8_t polarity = 0xAA;
  ASSERT_EQ(rig.adapter.receive(1, &polarity, 1, 1), 0);
  EXPECT_EQ(polarity, 0);
  EXPECT_EQ(rig.fake.transfers(),
            (std::vector<FakeTransfer>{{write(0x40, {0x17}), read(0x40, {0x00})}}));
}

TEST(I2cDevShapes, MessagesLongerThanTheKernelTakesAreBadArguments) {
  I2cRig rig;
  ASSERT_EQ(rig.adapter.open(), 0);
  const Bytes big(8193, 0x15);
  EXPECT_EQ(rig.adapter.send(1, big.data(), 8193, 1), kBadArgument);
  EXPECT_EQ(rig.adapter.send(1, big.data(), 8193, 0), kBadArgument);
  const std::uint8_t code = 0x15;
  ASSERT_EQ(rig.adapter.send(1, &code, 1, 0), 0);
  Bytes buffer(8193, 0xAA);
  EXPECT_EQ(rig.adapter.receive(1, buffer.data(), 8193, 1), kBadArgument);
  EXPECT_NE(std::string(rig.adapter.errorMessage()).find("at most 8192 bytes"), std::string::npos);
  EXPECT_TRUE(rig.fake.transfers().empty());
  // The query is still held: the argument check came first.
  ASSERT_EQ(rig.adapter.receive(1, buffer.data(), 2, 1), 0);
  EXPECT_EQ(buffer[0], 0x00);
  EXPECT_EQ(buffer[1], 0x01);
}

TEST(I2cDevShapes, TheTraceShowsEachTransferWithItsAddressAndBytes) {
  I2cRig rig;
  ASSERT_EQ(rig.adapter.open(), 0);
  std::uint8_t present = 0;
  rig.adapter.check(1, &present);
  Bytes reply;
  rig.query(0x03, reply, 2);
  rig.set({0x17, 0x01});
  rig.slot(2);
  rig.set({0x17, 0x01});
  const std::vector<std::string> expected = {
      "  open /dev/i2c-3 = 7\n",
      "  I2C_FUNCS = 0, plain I2C: yes\n",
      "Tarvish_Open() = 0\n",
      "  I2C_RDWR 0x40 write [] = 1\n",
      "Tarvish_Check(1) -> 1 = 0\n",
      "Tarvish_Send(1, [03], 1, 0) = 0\n",
      "  I2C_RDWR 0x40 write [03], 0x40 read [05 01] = 2\n",
      "Tarvish_Receive(1, 2, 1) -> [05 01] = 0\n",
      "  I2C_RDWR 0x40 write [17 01] = 1\n",
      "Tarvish_Send(1, [17 01], 2, 1) = 0\n",
      "Tarvish_SetSlot(2, 1, 0) = 0\n",
      "  I2C_RDWR 0x42 write [17 01] = -1 ENXIO (No such device or address)\n",
      "Tarvish_Send(1, [17 01], 2, 1) = -1\n",
  };
  EXPECT_EQ(rig.trace, expected);
}

}  // namespace
}  // namespace tarvish::i2cdev::test
