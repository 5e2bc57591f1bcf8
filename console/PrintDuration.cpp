#include "PrintDuration.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>

namespace orvex::console {

std::string formatDuration(double seconds) {
  // Hundredths, halves upward, in 64 bits: every uptime the module can report
  // fits. A negative or undefined duration shows as zero.
  const double rounded = std::floor(seconds * 100 + 0.5);
  const std::uint64_t hundredths =
      rounded > 0 ? (rounded < 1.8e19 ? static_cast<std::uint64_t>(rounded) : UINT64_MAX) : 0;
  const std::uint64_t whole = hundredths / 100;
  const unsigned f = static_cast<unsigned>(hundredths % 100);
  const unsigned s = static_cast<unsigned>(whole % 60);
  const std::uint64_t minutes = whole / 60;
  const unsigned m = static_cast<unsigned>(minutes % 60);
  const std::uint64_t h = minutes / 60;

  char text[64];
  if (h >= 1) {
    std::snprintf(text, sizeof text, "%" PRIu64 ":%02u:%02u.%02u", h, m, s, f);
  } else if (minutes >= 1) {
    std::snprintf(text, sizeof text, "%u:%02u.%02u", m, s, f);
  } else {
    std::snprintf(text, sizeof text, "%u.%02us", s, f);
  }
  return text;
}

void PrintDuration(double seconds, Terminal* console) {
  const std::string text = formatDuration(seconds);
  if (console != nullptr) {
    console->writeDirect(text);
  } else {
    std::printf("%s\n", text.c_str());
  }
}

}  // namespace orvex::console
