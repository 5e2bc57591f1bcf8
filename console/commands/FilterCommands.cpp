// Filter commands: show the LPF, HPF and amplitude LPF (FLT) of both
// channels; set Beta or Tau of one channel.
#include <cmath>
#include <cstdio>

#include "../Entry.h"
#include "../Report.h"
#include "Commands.h"
#include "Orvex.h"

namespace orvex::console {

namespace {

// The damping the module derives Alpha for after a set of Beta; the set
// confirmation shows the filter for it.
const float kConfirmationDamping = static_cast<float>(std::sqrt(3.0) * 0.5);

// The entry of a filter's parameter: its prompt, its inclusive range and the
// message for a value outside it (both texts take the range).
struct ParameterEntry {
  const char* prompt;
  int lowest;
  int highest;
  const char* rangeMessage;
};

// LPF and FLT: a pair of Alpha and Beta per channel.
struct PairFilter {
  int showKey;
  int setKey;
  const char* showHeading;
  const char* setHeading;
  std::int32_t (*get)(std::uint8_t, std::uint16_t*, std::uint8_t*);
  const char* getLabel;
  std::int32_t (*set)(std::uint8_t, std::uint8_t);
  const char* setLabel;
  float (*frequency)(std::uint16_t, std::uint8_t);
  float (*damping)(std::uint16_t, std::uint8_t);
  std::uint16_t (*alpha)(std::uint8_t, float);
  const char* showLine;
  ParameterEntry entry;
  const char* confirmation;
};

constexpr PairFilter kPairFilters[] = {
    {'l',
     'L',
     "Getting LPF frequency:\n",
     "Setting LPF frequency:\n",
     Orvex_GetLPF,
     "Orvex_GetLPF",
     Orvex_SetLPF,
     "Orvex_SetLPF",
     Orvex_GetLPF_Frequency,
     Orvex_GetLPF_Damping,
     Orvex_GetLPF_Alpha,
     "Ch X LPF: %.3fHz, Damping=%.2f (Alpha=%d, Beta=%d),\t"
     "Ch Y LPF: %.3fHz, Damping=%.2f (Alpha=%d, Beta=%d)\n",
     {"Enter the LPF Beta parameter (%d-%d): ", 2, 24,
      "Wrong value specified! The LPF Beta parameter must be in the range from %d to %d.\n"},
     "LPF frequency set: Ch %c LPF: %.3fHz, Damping=%.2f (Alpha=%d, Beta=%d)\n"},
    {'f',
     'F',
     "Getting amplitude LPF frequency:\n",
     "Setting amplitude LPF frequency:\n",
     Orvex_GetFLT,
     "Orvex_GetFLT",
     Orvex_SetFLT,
     "Orvex_SetFLT",
     Orvex_GetFLT_Frequency,
     Orvex_GetFLT_Damping,
     Orvex_GetFLT_Alpha,
     "Ch X FLT: %.3fHz, Damping=%.2f (Alpha=%d, Beta=%d),\t"
     "Ch Y FLT: %.3fHz, Damping=%.2f (Alpha=%d, Beta=%d)\n",
     {"Enter the amplitude LPF Beta parameter (%d-%d): ", 2, 24,
      "Wrong value specified! The amplitude LPF Beta parameter must be in the range from %d to "
      "%d.\n"},
     "FLT frequency set: Ch %c FLT: %.3fHz, Damping=%.2f (Alpha=%d, Beta=%d)\n"},
};

constexpr ParameterEntry kTauEntry = {
    "Enter the HPF tau parameter (%d-%d): ", 1, 20,
    "Wrong value specified! The HPF tau parameter must be in the range from %d to %d.\n"};

// Asks for the channel and the parameter; false when the command ends here.
bool enterParameter(Context& ctx, const ParameterEntry& entry, std::uint8_t& channel,
                    std::uint8_t& parameter) {
  if (!EnterChannel(ctx.term, channel)) return false;
  std::printf(entry.prompt, entry.lowest, entry.highest);
  int value = 0;
  if (readInteger(ctx.term, value) == EntryResult::End) {
    endEntryLine();
    return false;
  }
  if (value < entry.lowest || value > entry.highest) {
    std::printf(entry.rangeMessage, entry.lowest, entry.highest);
    return false;
  }
  parameter = static_cast<std::uint8_t>(value);
  return true;
}

void showPair(Context& ctx, const PairFilter& f) {
  printDebug(ctx, f.showHeading);
  std::uint16_t alpha[2] = {0, 0};
  std::uint8_t beta[2] = {0, 0};
  for (std::uint8_t channel = 0; channel < 2; ++channel) {
    if (f.get(channel, &alpha[channel], &beta[channel]) != 0) {
      return reportFailure(ctx, f.getLabel);
    }
  }
  std::printf(f.showLine, f.frequency(alpha[0], beta[0]), f.damping(alpha[0], beta[0]), alpha[0],
              beta[0], f.frequency(alpha[1], beta[1]), f.damping(alpha[1], beta[1]), alpha[1],
              beta[1]);
}

void setPair(Context& ctx, const PairFilter& f) {
  printDebug(ctx, f.setHeading);
  std::uint8_t channel = 0;
  std::uint8_t beta = 0;
  if (!enterParameter(ctx, f.entry, channel, beta)) return;
  if (f.set(channel, beta) != 0) return reportFailure(ctx, f.setLabel);
  if (!ctx.modes.debug) return;
  const std::uint16_t alpha = f.alpha(beta, kConfirmationDamping);
  std::printf(f.confirmation, channelLetter(channel), f.frequency(alpha, beta),
              f.damping(alpha, beta), alpha, beta);
}

void showHpf(Context& ctx) {
  printDebug(ctx, "Getting HPF frequency:\n");
  std::uint8_t tau[2] = {0, 0};
  for (std::uint8_t channel = 0; channel < 2; ++channel) {
    if (Orvex_GetHPF_Tau(channel, &tau[channel]) != 0) {
      return reportFailure(ctx, "Orvex_GetHPF_Tau");
    }
  }
  std::printf("Ch X HPF: %.3fHz (Tau=%d),\tCh Y HPF: %.3fHz (Tau=%d)\n",
              Orvex_GetHPF_Frequency(tau[0]), tau[0], Orvex_GetHPF_Frequency(tau[1]), tau[1]);
}

void setHpf(Context& ctx) {
  printDebug(ctx, "Setting HPF frequency:\n");
  std::uint8_t channel = 0;
  std::uint8_t tau = 0;
  if (!enterParameter(ctx, kTauEntry, channel, tau)) return;
  if (Orvex_SetHPF_Tau(channel, tau) != 0) return reportFailure(ctx, "Orvex_SetHPF_Tau");
  if (ctx.modes.debug) {
    std::printf("HPF frequency set: Ch %c HPF: %.3fHz (Tau=%d)\n", channelLetter(channel),
                Orvex_GetHPF_Frequency(tau), tau);
  }
}

}  // namespace

void showFilter(Context& ctx) {
  if (ctx.currentKey == 'h') return showHpf(ctx);
  for (const PairFilter& f : kPairFilters) {
    if (f.showKey == ctx.currentKey) return showPair(ctx, f);
  }
}

void setFilter(Context& ctx) {
  if (ctx.currentKey == 'H') return setHpf(ctx);
  for (const PairFilter& f : kPairFilters) {
    if (f.setKey == ctx.currentKey) return setPair(ctx, f);
  }
}

}  // namespace orvex::console
