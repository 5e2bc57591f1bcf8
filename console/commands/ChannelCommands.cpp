// Channel output settings: amplification, polarity, offset, offset range,
// desired amplitude and operation mode. Lower-case keys read both channels,
// upper-case keys set one.
#include <cstdio>

#include "../Entry.h"
#include "../Report.h"
#include "Commands.h"
#include "OperMode.h"
#include "Orvex.h"

namespace orvex::console {

namespace {

// The limits that the set commands test are the numbers their prompts and
// messages show.
constexpr int kAmplificationLimit = 256;
constexpr int kOffsetLimit = 10;
constexpr int kOffsetRangeLimit = 10;
constexpr double kAmplitudeLimit = 5.0;

const char* polarityName(int polarity) { return polarity != 0 ? "negative" : "positive"; }

// Reads of one channel's value, widened so that one table holds them all.
template <class T, std::int32_t (*Get)(std::uint8_t, T*)>
std::int32_t getWide(std::uint8_t channel, double* value) {
  T raw{};
  const std::int32_t status = Get(channel, &raw);
  if (status == 0) *value = raw;
  return status;
}

struct ReadCommand {
  int key;
  const char* heading;
  bool perChannel;
  const char* label;
  std::int32_t (*get)(std::uint8_t, double*);
  void (*print)(double x, double y);
};

constexpr ReadCommand kReads[] = {
    {'a', "Getting channel amplification:\n", true, "Orvex_GetAmplification",
     getWide<float, Orvex_GetAmplification>,
     [](double x, double y) { std::printf("Ch X: %.4f,\tCh Y: %.4f\n", x, y); }},
    {'s', "Getting channel polarity:\n", true, "Orvex_GetPolarity",
     getWide<std::uint8_t, Orvex_GetPolarity>,
     [](double x, double y) {
       std::printf("Ch X: %s,\tCh Y: %s\n", polarityName(static_cast<int>(x)),
                   polarityName(static_cast<int>(y)));
     }},
    {'t', "Getting channel offset:\n", true, "Orvex_GetOffset", getWide<float, Orvex_GetOffset>,
     [](double x, double y) { std::printf("Ch X: %+.4fV,\tCh Y: %+.4fV\n", x, y); }},
    {'r', "Getting offset range:\n", false, "Orvex_GetOffsetRange",
     [](std::uint8_t, double* value) {
       float range = 0;
       const std::int32_t status = Orvex_GetOffsetRange(&range);
       if (status == 0) *value = range;
       return status;
     },
     [](double range, double) { std::printf("Offset Range: %.2fV\n", range); }},
    {'g', "Getting desired channel amplitude:\n", true, "Orvex_GetAmplitude",
     getWide<float, Orvex_GetAmplitude>,
     [](double x, double y) { std::printf("Ch X: %.3fV,\tCh Y: %.3fV\n", x, y); }},
    {'e', "Getting operation mode:\n", true, "Orvex_GetOperMode",
     getWide<std::uint8_t, Orvex_GetOperMode>,
     [](double x, double y) {
       std::printf("Ch X: ");
       PrintOperMode(static_cast<int>(x), true);
       std::printf("\tCh Y: ");
       PrintOperMode(static_cast<int>(y), true);
       std::printf("\n");
     }},
};

// A set command. An integral entry (polarity, mode) is read with "%d" and
// passed as its low byte; the others are real numbers.
struct SetCommand {
  int key;
  const char* heading;
  bool perChannel;
  bool integral;
  void (*prompt)();
  bool (*accepts)(float value);
  void (*rangeMessage)();
  const char* label;
  std::int32_t (*set)(std::uint8_t channel, float value);
  void (*confirm)(char channel, float value);
};

void modePrompt() {
  std::printf("Enter the operation mode (");
  for (int mode = 0; mode < kOperModeCount; ++mode) {
    std::printf(mode == 0 ? "%d:" : ", %d:", mode);
    PrintOperMode(mode, false);
  }
  std::printf("): ");
}

constexpr SetCommand kSets[] = {
    {'A', "Setting channel amplification:\n", true, false,
     [] { std::printf("Enter the new amplification (0-%d): ", kAmplificationLimit); },
     [](float v) { return !(v < 0 || v >= kAmplificationLimit); },
     [] {
       std::printf(
           "Wrong value specified! The amplification must not be negative and must be "
           "lower than %d.\n",
           kAmplificationLimit);
     },
     "Orvex_SetAmplification",
     [](std::uint8_t ch, float v) { return Orvex_SetAmplification(ch, v); },
     [](char ch, float v) { std::printf("Channel amplification set: Ch %c = %.4f\n", ch, v); }},
    {'S', "Setting channel polarity:\n", true, true,
     [] { std::printf("Enter the channel polarity (positive=0, negative=1): "); },
     [](float v) { return !(v < 0 || v > 1); }, [] { std::printf("Wrong value specified!\n"); },
     "Orvex_SetPolarity",
     [](std::uint8_t ch, float v) { return Orvex_SetPolarity(ch, static_cast<std::uint8_t>(v)); },
     [](char ch, float v) {
       std::printf("Channel polarity set: Ch %c = %s\n", ch, polarityName(static_cast<int>(v)));
     }},
    {'T', "Setting channel offset:\n", true, false,
     [] { std::printf("Enter the channel offset in V: "); },
     [](float v) { return !(v < -kOffsetLimit || v > kOffsetLimit); },
     [] {
       std::printf("Wrong value specified! The offset must be in the range from %d to %d.\n",
                   -kOffsetLimit, kOffsetLimit);
     },
     "Orvex_SetOffset", [](std::uint8_t ch, float v) { return Orvex_SetOffset(ch, v); },
     [](char ch, float v) { std::printf("Channel offset set: Ch %c = %.4fV\n", ch, v); }},
    {'R', "Setting offset range:\n", false, false,
     [] { std::printf("Enter the offset range in V: "); },
     [](float v) { return !(v <= 0 || v > kOffsetRangeLimit); },
     [] {
       std::printf(
           "Wrong value specified! The offset range must be positive and not greater "
           "than %d.\n",
           kOffsetRangeLimit);
     },
     "Orvex_SetOffsetRange", [](std::uint8_t, float v) { return Orvex_SetOffsetRange(v); },
     [](char, float v) { std::printf("Offset range set: %.2fV\n", v); }},
    {'G', "Setting desired channel amplitude:\n", true, false,
     [] { std::printf("Enter the new desired amplitude (0-%.3fV): ", kAmplitudeLimit); },
     [](float v) { return !(v < 0 || v >= kAmplitudeLimit); },
     [] {
       std::printf(
           "Wrong value specified! The amplitude must not be negative and must be lower "
           "than %.3fV.\n",
           kAmplitudeLimit);
     },
     "Orvex_SetAmplitude", [](std::uint8_t ch, float v) { return Orvex_SetAmplitude(ch, v); },
     [](char ch, float v) {
       std::printf("Desired channel amplitude set: Ch %c = %.3fV\n", ch, v);
     }},
    {'E', "Setting operation mode:\n", true, true, modePrompt,
     [](float v) { return !(v < 0 || v >= kOperModeCount); },
     [] {
       std::printf(
           "Wrong value specified! The mode must not be negative and must be lower "
           "than %d.\n",
           kOperModeCount);
     },
     "Orvex_SetOperMode",
     [](std::uint8_t ch, float v) { return Orvex_SetOperMode(ch, static_cast<std::uint8_t>(v)); },
     [](char ch, float v) {
       std::printf("Operation mode set: Ch %c: ", ch);
       PrintOperMode(static_cast<int>(v), false);
       std::printf("\n");
     }},
};

template <class Command, std::size_t N>
const Command* find(const Command (&table)[N], int key) {
  for (const Command& c : table) {
    if (c.key == key) return &c;
  }
  return nullptr;
}

}  // namespace

void readChannelSetting(Context& ctx) {
  const ReadCommand* command = find(kReads, ctx.currentKey);
  if (command == nullptr) return;
  printDebug(ctx, command->heading);
  double x = 0;
  double y = 0;
  if (command->get(0, &x) != 0 || (command->perChannel && command->get(1, &y) != 0)) {
    return reportFailure(ctx, command->label);
  }
  command->print(x, y);
}

void setChannelSetting(Context& ctx) {
  const SetCommand* command = find(kSets, ctx.currentKey);
  if (command == nullptr) return;
  printDebug(ctx, command->heading);
  std::uint8_t channel = 0;
  if (command->perChannel && !EnterChannel(ctx.term, channel)) return;
  command->prompt();
  // Polarity and mode are whole numbers; their low byte reaches the module.
  float value = 0;
  int integral = 0;
  const EntryResult entry =
      command->integral ? readInteger(ctx.term, integral) : readReal(ctx.term, value);
  if (entry == EntryResult::End) return endEntryLine();
  if (command->integral) {
    value = static_cast<float>(integral);
  }
  if (!command->accepts(value)) return command->rangeMessage();
  if (command->set(channel, value) != 0) return reportFailure(ctx, command->label);
  if (ctx.modes.debug) command->confirm(channelLetter(channel), value);
}

}  // namespace orvex::console
