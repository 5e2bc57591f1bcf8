// A failing adapter call ends the export: its status comes back unchanged, no
// later transfer is made, and decoded outputs keep their contents. Outputs
// received straight into the caller's variable hold what the adapter left.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdint>
#include <cstring>

#include "AdapterDouble.h"
#include "ExportTable.h"

namespace orvex::test {
namespace {

constexpr std::uint8_t kMarker = 0xA5;
constexpr std::array<std::int32_t, 3> kStatuses{-1, 7, INT32_MIN};

class Failure : public ::testing::TestWithParam<ExportRow> {};

TEST_P(Failure, EveryFailingCallEndsTheExportWithItsStatus) {
  const ExportRow& row = GetParam();
  const std::vector<Call> all = expectedCalls(row, 1);
  for (std::size_t failing = 1; failing <= all.size(); ++failing) {
    for (const std::int32_t status : kStatuses) {
      SCOPED_TRACE(testing::Message() << "failing call " << failing << ", status " << status);
      adapter().reset();
      adapter().reply(std::vector<std::uint8_t>(8, 0x11));
      adapter().replyText("text");
      adapter().failCall(failing, status, kMarker);
      Outputs out;

      EXPECT_EQ(row.call(1, out), status);
      EXPECT_EQ(adapter().calls(), std::vector<Call>(all.begin(), all.begin() + failing));

      Outputs expected;
      const bool failedReceive =
          all[failing - 1].fn == Fn::Receive || all[failing - 1].fn == Fn::ReceiveString;
      if (failedReceive && row.direct != nullptr) {
        std::memset(row.direct(expected), kMarker, static_cast<std::size_t>(row.length));
      }
      EXPECT_EQ(out, expected);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Exports, Failure, ::testing::ValuesIn(transactionExports()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orvex::test
