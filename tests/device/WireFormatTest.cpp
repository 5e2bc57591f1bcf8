// The exact transaction every module-facing export puts on the wire: request
// bytes, counts, final flags, and the X or Y code chosen by the channel.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "AdapterDouble.h"
#include "ExportTable.h"

namespace orvex::test {
namespace {

class WireFormat : public ::testing::TestWithParam<ExportRow> {};

TEST_P(WireFormat, SendsTheCommandAndReadsItsReply) {
  const ExportRow& row = GetParam();
  // 0 selects X; every other selector, including 2 and 255, selects Y.
  constexpr std::array<std::uint8_t, 4> kChannels{0, 1, 2, 255};
  const std::size_t channels = row.perChannel ? kChannels.size() : 1;
  for (std::size_t i = 0; i < channels; ++i) {
    const std::uint8_t channel = kChannels[i];
    SCOPED_TRACE(testing::Message() << "channel " << +channel);
    adapter().reset();
    Outputs out;
    EXPECT_EQ(row.call(channel, out), 0);
    EXPECT_EQ(adapter().calls(), expectedCalls(row, channel));
  }
}

INSTANTIATE_TEST_SUITE_P(Exports, WireFormat, ::testing::ValuesIn(transactionExports()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orvex::test
