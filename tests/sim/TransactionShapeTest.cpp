// The simulated module and adapter refuse every malformed transaction with a
// failing status and a text that says what was wrong, and change nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Outcome.h"
#include "SimRig.h"

namespace tarvish::sim::test {
namespace {

enum class Op { Send, Receive, ReceiveString, Flush };

struct Step {
  Op op;
  std::vector<std::uint8_t> bytes;  // what a send carries
  std::int32_t count;               // count or maxLength
  std::int32_t final = 1;
  bool nullPointer = false;
  std::int32_t port = 1;
};

Step send(std::vector<std::uint8_t> bytes, std::int32_t final) {
  const auto n = static_cast<std::int32_t>(bytes.size());
  return {Op::Send, std::move(bytes), n, final};
}
Step receive(std::int32_t count, std::int32_t final = 1) { return {Op::Receive, {}, count, final}; }
Step receiveString(std::int32_t max, std::int32_t final = 1) {
  return {Op::ReceiveString, {}, max, final};
}
Step flush() { return {Op::Flush, {}, 0}; }

struct Violation {
  const char* what;
  std::vector<Step> steps;  // all succeed but the last
  std::int32_t status;
  const char* message;  // part of the error text
};

// Runs a step into a buffer filled with 0xAA, so that a write shows.
std::int32_t run(Rig& rig, const Step& s, std::vector<std::uint8_t>& buffer) {
  buffer.assign(32, 0xAA);
  switch (s.op) {
    case Op::Send:
      return rig.adapter.send(s.port, s.nullPointer ? nullptr : s.bytes.data(), s.count, s.final);
    case Op::Receive:
      return rig.adapter.receive(s.port, s.nullPointer ? nullptr : buffer.data(), s.count, s.final);
    case Op::ReceiveString:
      return rig.adapter.receiveString(
          s.port, s.nullPointer ? nullptr : reinterpret_cast<char*>(buffer.data()), s.count,
          s.final);
    case Op::Flush:
      return rig.adapter.flush();
  }
  return 0;
}

const std::vector<Violation> kViolations = {
    {"unknown code", {send({0x1D}, 0)}, kRefused, "Unknown command code 0x1D"},
    {"code beyond the table", {send({0x23}, 0)}, kRefused, "Unknown command code 0x23"},
    {"query sent final",
     {send({0x16}, 1)},
     kRefused,
     "Query of command code 0x16 sent with final 1"},
    {"setting sent with final 0",
     {send({0x15, 0x00, 0x01}, 0)},
     kRefused,
     "a query is the bare code"},
    {"data for a read-only code",
     {send({0x1F, 0x01, 0x00}, 1)},
     kRefused,
     "0x1F (measured amplitude) is read-only"},
    {"data for identification", {send({0x00, 0x47, 0x96}, 1)}, kRefused, "is read-only"},
    {"too few data bytes", {send({0x15, 0x01}, 1)}, kRefused, "takes 2 bytes of data, got 1"},
    {"too many data bytes", {send({0x17, 0x01, 0x00}, 1)}, kRefused, "takes 1 byte of data, got 2"},
    {"receive without query", {receive(2)}, kRefused, "No query pending"},
    {"receive after a setting", {send({0x17, 0x01}, 1), receive(1)}, kRefused, "No query pending"},
    {"receive too long", {send({0x16}, 0), receive(3)}, kRefused, "answers 2 bytes, 3 requested"},
    {"receive too short", {send({0x05}, 0), receive(4)}, kRefused, "answers 6 bytes, 4 requested"},
    {"receive with final 0", {send({0x00}, 0), receive(2, 0)}, kRefused, "final 0"},
    {"text received as bytes",
     {send({0x04}, 0), receive(16)},
     kRefused,
     "0x04 (firmware date) answers with a text"},
    {"bytes received as text",
     {send({0x12}, 0), receiveString(16)},
     kRefused,
     "0x12 (LPF) answers 3 bytes, not a text"},
    {"second receive of one answer",
     {send({0x00}, 0), receive(2), receive(2)},
     kRefused,
     "No query pending"},
    {"query abandoned by a send",
     {send({0x00}, 0), send({0x17, 0x00}, 1), receive(2)},
     kRefused,
     "No query pending"},
    {"query abandoned by flush",
     {send({0x00}, 0), flush(), receive(2)},
     kRefused,
     "No query pending"},
    {"send count 0",
     {{Op::Send, {0x00}, 0, 0}},
     kBadArgument,
     "Tarvish_Send: the length 0 is not positive"},
    {"receive count -1",
     {send({0x00}, 0), receive(-1)},
     kBadArgument,
     "Tarvish_Receive: the length -1 is not positive"},
    {"string maxLength 0",
     {send({0x04}, 0), receiveString(0)},
     kBadArgument,
     "Tarvish_ReceiveString: the length 0"},
    {"null data",
     {{Op::Send, {0x00}, 1, 0, true}},
     kBadArgument,
     "Tarvish_Send: data is a null pointer"},
    {"null receive buffer",
     {send({0x00}, 0), {Op::Receive, {}, 2, 1, true}},
     kBadArgument,
     "buffer is a null pointer"},
    {"null string buffer",
     {send({0x01}, 0), {Op::ReceiveString, {}, 81, 1, true}},
     kBadArgument,
     "buffer is a null pointer"},
    {"port 2", {{Op::Send, {0x00}, 1, 0, false, 2}}, kBadArgument, "port 2 does not exist"},
    {"final 2", {send({0x17, 0x01}, 2)}, kBadArgument, "final must be 0 or 1, not 2"},
};

TEST(TransactionShape, EveryViolationFailsWithATextAndWritesNothing) {
  for (const Violation& v : kViolations) {
    SCOPED_TRACE(v.what);
    Rig rig;
    ASSERT_EQ(rig.adapter.open(), 0);
    std::vector<std::uint8_t> buffer;
    for (std::size_t i = 0; i + 1 < v.steps.size(); ++i) {
      ASSERT_EQ(run(rig, v.steps[i], buffer), 0)
          << "step " << i << ": " << rig.adapter.errorMessage();
    }
    EXPECT_EQ(run(rig, v.steps.back(), buffer), v.status);
    EXPECT_NE(std::string(rig.adapter.errorMessage()).find(v.message), std::string::npos)
        << rig.adapter.errorMessage();
    EXPECT_STRNE(rig.adapter.ioErrorMessage(), "No error");
    EXPECT_EQ(buffer, std::vector<std::uint8_t>(32, 0xAA));
  }
}

TEST(TransactionShape, RefusedSettingsAreNotStored) {
  Rig rig;
  ASSERT_EQ(rig.adapter.open(), 0);
  EXPECT_NE(rig.set({0x15, 0x01}), 0);
  EXPECT_NE(rig.adapter.send(1, std::vector<std::uint8_t>{0x15, 0x00, 0x02}.data(), 3, 0), 0);
  std::vector<std::uint8_t> reply;
  ASSERT_EQ(rig.query(0x15, reply, 2), 0);
  EXPECT_EQ(reply, (std::vector<std::uint8_t>{0x00, 0x01}));  // still 1.0
}

TEST(TransactionShape, TransfersNeedAnOpenPort) {
  Rig rig;
  std::uint8_t present = 9;
  EXPECT_EQ(rig.adapter.check(1, &present), kNotOpen);
  EXPECT_EQ(present, 9);
  EXPECT_STREQ(rig.adapter.errorMessage(),
               "Tarvish_Check: the port is not open; call Tarvish_Open first");
  EXPECT_STREQ(rig.adapter.ioErrorMessage(), "Port not open");
  const std::uint8_t code = 0x00;
  EXPECT_EQ(rig.adapter.send(1, &code, 1, 0), kNotOpen);
  EXPECT_EQ(rig.adapter.flush(), kNotOpen);
  ASSERT_EQ(rig.adapter.open(), 0);
  EXPECT_EQ(rig.adapter.check(1, &present), 0);
  EXPECT_EQ(present, 1);
}

TEST(TransactionShape, TextIsCutToTheBufferAndNeverWrittenPastIt) {
  const std::string date = "Nov 27 2026";
  for (std::int32_t max = 1; max <= 16; ++max) {
    SCOPED_TRACE(max);
    Rig rig;
    ASSERT_EQ(rig.adapter.open(), 0);
    std::vector<char> buffer(32, '#');
    const std::uint8_t code = 0x04;
    ASSERT_EQ(rig.adapter.send(1, &code, 1, 0), 0);
    ASSERT_EQ(rig.adapter.receiveString(1, buffer.data(), max, 1), 0);
    const std::size_t kept = std::min(date.size(), static_cast<std::size_t>(max - 1));
    EXPECT_EQ(std::string(buffer.data()), date.substr(0, kept));
    EXPECT_EQ(buffer[kept], '\0');
    for (std::size_t i = kept + 1; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], '#') << i;
  }
}

TEST(TransactionShape, ErrorTextsSayNoErrorUntilAFailureAndStayUntilTheNext) {
  Rig rig;
  EXPECT_STREQ(rig.adapter.errorMessage(), "No error");
  EXPECT_STREQ(rig.adapter.ioErrorMessage(), "No error");
  ASSERT_EQ(rig.adapter.open(), 0);
  std::uint8_t bytes[2];
  EXPECT_EQ(rig.adapter.receive(1, bytes, 0, 1), kBadArgument);
  std::vector<std::uint8_t> reply;
  const std::string first = rig.adapter.errorMessage();
  ASSERT_EQ(rig.query(0x00, reply, 2), 0);
  EXPECT_EQ(rig.adapter.errorMessage(), first);  // a success keeps the last failure's text
}

}  // namespace
}  // namespace tarvish::sim::test
