// The adapter front: slots, injected failures and the call trace.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Outcome.h"
#include "SimRig.h"

namespace tarvish::sim::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(Slots, TheModuleAnswersOnlyInItsSlot) {
  Knobs knobs;
  knobs.moduleSlot = 7;
  Rig rig(knobs);
  ASSERT_EQ(rig.adapter.open(), 0);
  std::uint8_t slot = 99;
  ASSERT_EQ(rig.adapter.getSlot(&slot, 1, 0), 0);
  EXPECT_EQ(slot, 0);
  for (int s = 0; s < 256; ++s) {
    ASSERT_EQ(rig.adapter.setSlot(static_cast<std::uint8_t>(s), 1, 0), 0);
    std::uint8_t present = 9;
    ASSERT_EQ(rig.adapter.check(1, &present), 0);
    EXPECT_EQ(present, s == 7 ? 1 : 0) << s;
  }
  ASSERT_EQ(rig.adapter.setSlot(5, 1, 0), 0);
  Bytes reply;
  EXPECT_EQ(rig.query(0x00, reply, 2), kNoAcknowledge);
  EXPECT_STREQ(rig.adapter.errorMessage(), "No acknowledge from slot 5");
  EXPECT_STREQ(rig.adapter.ioErrorMessage(), "I2C address not acknowledged");
  ASSERT_EQ(rig.adapter.setSlot(7, 1, 0), 0);
  ASSERT_EQ(rig.query(0x00, reply, 2), 0);
  EXPECT_EQ(reply, (Bytes{0x47, 0x96}));
}

TEST(Slots, AnEmptyBusAnswersNowhere) {
  Knobs knobs;
  knobs.noModule = true;
  Rig rig(knobs);
  ASSERT_EQ(rig.adapter.open(), 0);
  std::uint8_t present = 9;
  ASSERT_EQ(rig.adapter.check(1, &present), 0);
  EXPECT_EQ(present, 0);
  EXPECT_EQ(rig.set({0x17, 0x01}), kNoAcknowledge);
  EXPECT_STREQ(rig.adapter.errorMessage(), "No acknowledge from slot 0");
  EXPECT_EQ(rig.adapter.flush(), 0);
}

TEST(Slots, UnsupportedSlotArgumentsAreRefused) {
  Rig rig;
  std::uint8_t slot = 42;
  EXPECT_EQ(rig.adapter.getSlot(&slot, 2, 0), kBadArgument);
  EXPECT_EQ(slot, 42);
  EXPECT_STREQ(rig.adapter.errorMessage(),
               "Tarvish_GetSlot: slot kind 2 is not supported (1 = module slot)");
  EXPECT_EQ(rig.adapter.setSlot(3, 1, 1), kBadArgument);
  EXPECT_EQ(rig.adapter.getSlot(nullptr, 1, 0), kBadArgument);
  ASSERT_EQ(rig.adapter.getSlot(&slot, 1, 0), 0);
  EXPECT_EQ(slot, 0);
}

TEST(FaultInjection, FailsTheChosenCallWithoutDoingItsWork) {
  FrontKnobs front;
  front.failures = {{AdapterFunction::Send, 2, -7},
                    {AdapterFunction::Receive, std::nullopt, -100},
                    {AdapterFunction::GetSlot, 1, 5}};
  Rig rig({}, front);
  ASSERT_EQ(rig.adapter.open(), 0);
  ASSERT_EQ(rig.set({0x17, 0x01}), 0);   // Send call 1
  EXPECT_EQ(rig.set({0x17, 0x00}), -7);  // call 2 fails and stores nothing
  EXPECT_STREQ(rig.adapter.errorMessage(), "Injected failure of Tarvish_Send (call 2)");
  EXPECT_STREQ(rig.adapter.ioErrorMessage(), "Simulated I/O error");
  EXPECT_EQ(rig.module.settings().at(0x17), Bytes{0x01});
  std::uint8_t buffer[1] = {0xAA};
  const std::uint8_t code = 0x17;
  ASSERT_EQ(rig.adapter.send(1, &code, 1, 0), 0);  // call 3
  EXPECT_EQ(rig.adapter.receive(1, buffer, 1, 1), -100);
  EXPECT_EQ(buffer[0], 0xAA);
  EXPECT_EQ(rig.adapter.receive(1, buffer, 1, 1), -100);  // every call
  EXPECT_STREQ(rig.adapter.errorMessage(), "Injected failure of Tarvish_Receive (call 2)");
  std::uint8_t slot = 42;
  EXPECT_EQ(rig.adapter.getSlot(&slot, 1, 0), 5);
  EXPECT_EQ(slot, 42);
  EXPECT_EQ(rig.adapter.getSlot(&slot, 1, 0), 0);
  EXPECT_EQ(slot, 0);
}

TEST(Trace, OneLinePerCallInTheDocumentedForm) {
  FrontKnobs front;
  front.failures = {{AdapterFunction::Check, 3, -100}};
  Rig rig({}, front);
  std::uint8_t byte = 0;
  std::uint8_t reply[2];
  char text[16];
  rig.adapter.version();
  rig.adapter.errorMessage();
  rig.adapter.ioErrorMessage();
  rig.adapter.open();
  rig.adapter.flush();
  rig.adapter.setSlot(5, 1, 0);
  rig.adapter.getSlot(&byte, 1, 0);
  rig.adapter.check(1, &byte);
  rig.adapter.setSlot(0, 1, 0);
  rig.adapter.check(1, &byte);
  rig.adapter.check(1, &byte);
  rig.set({0x15, 0x80, 0x01});
  const std::uint8_t amplification = 0x15, date = 0x04;
  rig.adapter.send(1, &amplification, 1, 0);
  rig.adapter.receive(1, reply, 2, 1);
  rig.adapter.send(1, &date, 1, 0);
  rig.adapter.receiveString(1, text, 16, 1);
  rig.adapter.receive(1, reply, 2, 1);
  rig.adapter.errorMessage();
  rig.adapter.send(1, nullptr, 1, 1);
  const std::vector<std::string> expected = {
      "Tarvish_Version() = 0x0100\n",
      "Tarvish_ErrorMessage() = \"No error\"\n",
      "Tarvish_IO_ErrorMessage() = \"No error\"\n",
      "Tarvish_Open() = 0\n",
      "Tarvish_Flush_LPT() = 0\n",
      "Tarvish_SetSlot(5, 1, 0) = 0\n",
      "Tarvish_GetSlot(1, 0) -> 5 = 0\n",
      "Tarvish_Check(1) -> 0 = 0\n",
      "Tarvish_SetSlot(0, 1, 0) = 0\n",
      "Tarvish_Check(1) -> 1 = 0\n",
      "Tarvish_Check(1) = -100\n",
      "Tarvish_Send(1, [15 80 01], 3, 1) = 0\n",
      "Tarvish_Send(1, [15], 1, 0) = 0\n",
      "Tarvish_Receive(1, 2, 1) -> [80 01] = 0\n",
      "Tarvish_Send(1, [04], 1, 0) = 0\n",
      "Tarvish_ReceiveString(1, 16, 1) -> \"Nov 27 2026\" = 0\n",
      "Tarvish_Receive(1, 2, 1) = -2\n",
      "Tarvish_ErrorMessage() = \"No query pending: send the bare command code with final 0 "
      "first\"\n",
      "Tarvish_Send(1, NULL, 1, 1) = -3\n",
  };
  EXPECT_EQ(rig.trace, expected);
}

TEST(Trace, TextsAreQuotedWithEscapes) {
  EXPECT_EQ(traceText("a \"b\" \\ \x01\x7F"), "\"a \\\"b\\\" \\\\ \\x01\\x7F\"");
}

}  // namespace
}  // namespace tarvish::sim::test
