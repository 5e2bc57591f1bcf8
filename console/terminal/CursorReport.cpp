#include "CursorReport.h"

namespace orvex::console {

namespace {

// Reads a positive decimal number of at most four digits at `i`.
std::optional<int> readNumber(std::span<const unsigned char> bytes, std::size_t& i) {
  int value = 0;
  std::size_t digits = 0;
  while (i < bytes.size() && bytes[i] >= '0' && bytes[i] <= '9') {
    if (++digits > 4) return std::nullopt;
    value = value * 10 + (bytes[i] - '0');
    ++i;
  }
  if (digits == 0 || value == 0) return std::nullopt;
  return value;
}

std::optional<CursorReport> reportAt(std::span<const unsigned char> bytes, std::size_t start) {
  std::size_t i = start;
  if (bytes.size() - i < 2 || bytes[i] != 0x1B || bytes[i + 1] != '[') return std::nullopt;
  i += 2;
  const auto row = readNumber(bytes, i);
  if (!row || i >= bytes.size() || bytes[i] != ';') return std::nullopt;
  ++i;
  const auto column = readNumber(bytes, i);
  if (!column || i >= bytes.size() || bytes[i] != 'R') return std::nullopt;
  return CursorReport{start, i + 1 - start, *row, *column};
}

}  // namespace

std::optional<CursorReport> findCursorReport(std::span<const unsigned char> bytes) {
  for (std::size_t start = 0; start < bytes.size(); ++start) {
    if (auto report = reportAt(bytes, start)) return report;
  }
  return std::nullopt;
}

}  // namespace orvex::console
