// The terminal's answer to a cursor position request: ESC [ row ; column R.
// Platform-free, so that finding it among typed keys can be tested alone.
#pragma once

#include <cstddef>
#include <optional>
#include <span>

namespace orvex::console {

struct CursorReport {
  std::size_t start;   // index of the report's ESC in the bytes
  std::size_t length;  // bytes of the report
  int row;
  int column;
};

// The first complete cursor position report in `bytes`, if any. Bytes around
// it are typed keys and belong to the key input.
std::optional<CursorReport> findCursorReport(std::span<const unsigned char> bytes);

}  // namespace orvex::console
