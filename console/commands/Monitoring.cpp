// Monitoring: uptime and measured amplitude (once or continuously),
// housekeeping values and clock frequencies.
#include <array>
#include <cstdio>

#include "../DegreeSign.h"
#include "../LiveLine.h"
#include "../Pacer.h"
#include "../PrintDuration.h"
#include "../Report.h"
#include "Commands.h"
#include "Orvex.h"

namespace orvex::console {

namespace {

// The pauses of the continuous displays: the uptime display queries as often
// as the adapter allows, paced only by its pause, so that its rate measures
// the adapter.
constexpr std::int64_t kUptimePauseUs = 1000;
constexpr std::int64_t kAmplitudePauseUs = 10000;
constexpr std::uint32_t kRateIntervalMs = 100;
constexpr std::uint32_t kAmplitudeIntervalMs = 250;
constexpr double kUptimeStep = 0.01;
constexpr double kCelsiusOffset = 273.15;

// The end of one display cycle: a pause when no key is waiting, otherwise the
// key; true when the key ends the display (Esc, or the end of input).
bool cycleEnds(Terminal& term, Pacer& pacer) {
  if (!term.keyWaiting()) {
    pacer.pause(term);
    return false;
  }
  const int key = term.readKey();
  return key == kKeyEsc || key == kKeyEnd;
}

void pressEscToQuit(const Context& ctx) {
  if (!ctx.modes.quiet) std::printf("Press 'Esc' to quit\n");
}

void uptimeOnce(Context& ctx) {
  double uptime = 0;
  if (Orvex_GetUptime(&uptime) != 0) return reportFailure(ctx, "Orvex_GetUptime");
  std::printf("Uptime: ");
  PrintDuration(uptime, nullptr);
}

void uptimeContinuously(Context& ctx) {
  Terminal& term = ctx.term;
  pressEscToQuit(ctx);
  enum Field { kUptime, kDifference, kRate };
  LiveLine line(
      term, {"Device uptime: ", "               Diff. to PC/s: ", "               Queries/s: "});
  Pacer pacer(kUptimePauseUs);
  int queries = 0;
  const std::uint32_t start = term.millis();
  std::uint32_t lastRate = start;
  bool haveFirst = false;
  double first = 0;
  // Every run starts with nothing shown, so its first reading always appears.
  double lastShown = 0;
  bool shown = false;
  for (;;) {
    double uptime = 0;
    if (Orvex_GetUptime(&uptime) != 0) {
      reportFailure(ctx, "Orvex_GetUptime");
    } else {
      ++queries;
      const std::uint32_t now = term.millis();
      if (!haveFirst) {
        first = uptime;
        haveFirst = true;
      }
      if (!shown || uptime > lastShown + kUptimeStep) {
        line.set(kUptime, formatDuration(uptime));
        lastShown = uptime;
        shown = true;
        line.set(kDifference, format("%5.2fs", (uptime - first) - (now - start) * 0.001));
      }
      if (now - lastRate > kRateIntervalMs) {
        line.set(kRate, format("%.2f", queries * 1000.0 / (now - start)));
        lastRate = now;
      }
      line.refreshed();
    }
    if (cycleEnds(term, pacer)) break;
  }
  line.close();
}

// Both channels' measured amplitude; false after a reported failure.
bool measureBoth(Context& ctx, float& x, float& y) {
  if (Orvex_GetMeasAmplit(0, &x) != 0 || Orvex_GetMeasAmplit(1, &y) != 0) {
    reportFailure(ctx, "Orvex_GetMeasAmplit");
    return false;
  }
  return true;
}

void amplitudeOnce(Context& ctx) {
  float x = 0;
  float y = 0;
  if (!measureBoth(ctx, x, y)) return;
  std::printf("Ch X: %.3fV,\tCh Y: %.3fV\n", x, y);
}

void amplitudeContinuously(Context& ctx) {
  Terminal& term = ctx.term;
  pressEscToQuit(ctx);
  LiveLine line(term, {"Measured amplitude: Ch X: ", "          Ch Y: "});
  Pacer pacer(kAmplitudePauseUs);
  std::uint32_t lastShown = term.millis();
  for (;;) {
    float x = 0;
    float y = 0;
    if (measureBoth(ctx, x, y)) {
      const std::uint32_t now = term.millis();
      if (now - lastShown > kAmplitudeIntervalMs) {
        line.set(0, format("%.3fV", x));
        line.set(1, format("%.3fV", y));
        line.refreshed();
        lastShown = now;
      }
    }
    if (cycleEnds(term, pacer)) break;
  }
  line.close();
}

// A reading of the housekeeping and clock lines: below 0 means none.
struct Reading {
  const char* label;  // printed before the value
  std::int32_t (*get)(float*);
  const char* name;  // the error label
  double scale;
  double offset;
  const char* format;  // the value's format; the unit follows
  const char* unit;
  bool degrees;  // the unit follows the console's degree sign
};

// Queries every reading in order and prints one line of them; the first
// failure is reported instead and ends the command.
template <std::size_t N>
void showReadings(Context& ctx, const std::array<Reading, N>& readings) {
  std::array<float, N> values{};
  for (std::size_t i = 0; i < N; ++i) {
    if (readings[i].get(&values[i]) != 0) return reportFailure(ctx, readings[i].name);
  }
  for (std::size_t i = 0; i < N; ++i) {
    const Reading& r = readings[i];
    std::fputs(r.label, stdout);
    if (values[i] < 0) {
      std::fputs("n/a", stdout);
      continue;
    }
    std::printf(r.format, values[i] * r.scale - r.offset);
    if (r.degrees) std::fputs(degreeSign(), stdout);
    std::fputs(r.unit, stdout);
  }
  std::fputs("\n", stdout);
}

}  // namespace

void showUptime(Context& ctx) {
  printDebug(ctx, "Getting uptime:\n");
  if (ctx.currentKey == 'U') return uptimeContinuously(ctx);
  uptimeOnce(ctx);
}

void showMeasuredAmplitude(Context& ctx) {
  printDebug(ctx, "Getting measured amplitude:\n");
  if (ctx.currentKey == 'M') return amplitudeContinuously(ctx);
  amplitudeOnce(ctx);
}

void getHousekeeping(Context& ctx) {
  printDebug(ctx, "Getting housekeeping data:\n");
  static constexpr std::array<Reading, 3> kHousekeeping{{
      {"5V: ", Orvex_Get5V, "Orvex_Get5V", 1, 0, "%+.3f", "V", false},
      {",\t3V: ", Orvex_Get3V, "Orvex_Get3V", 1, 0, "%+.3f", "V", false},
      {",\tTemperature: ", Orvex_GetTemp, "Orvex_GetTemp", 1, kCelsiusOffset, "%+.2f", "C", true},
  }};
  showReadings(ctx, kHousekeeping);
}

void getClocks(Context& ctx) {
  printDebug(ctx, "Getting clock frequencies:\n");
  static constexpr std::array<Reading, 5> kClocks{{
      {"CPU: ", Orvex_GetClkCPU, "Orvex_GetClkCPU", 0.000001, 0, "%.3f", "MHz", false},
      {",\tPeriph.: ", Orvex_GetClkPer, "Orvex_GetClkPer", 0.000001, 0, "%.3f", "MHz", false},
      {",\tADC: ", Orvex_GetClkADC, "Orvex_GetClkADC", 0.000001, 0, "%.3f", "MHz", false},
      {",\tDAC: ", Orvex_GetClkDAC, "Orvex_GetClkDAC", 0.001, 0, "%.3f", "kHz", false},
      {",\tFilter: ", Orvex_GetClkFilt, "Orvex_GetClkFilt", 0.001, 0, "%.3f", "kHz", false},
  }};
  showReadings(ctx, kClocks);
}

}  // namespace orvex::console
