#include "ModuleModel.h"

#include <array>

#include "../../device/Codec.h"
#include "ModuleFilter.h"

namespace tarvish::sim {

namespace {

// clang-format off
constexpr std::array kRegisters{
  //        name                      code  per-ch reply signed data source                      value     text
  Register{"identification",          0x00, false,  2, false, 0, Source::Constant,          0x9647,   nullptr},
  Register{"product identification",  0x01, false, 81, false, 0, Source::Text,              0,        "Orvex two-channel signal module, simulated"},
  Register{"product number",          0x02, false,  4, false, 0, Source::Constant,          4711,     nullptr},
  Register{"firmware version",        0x03, false,  2, false, 0, Source::Constant,          0x0105,   nullptr},
  Register{"firmware date",           0x04, false, 16, false, 0, Source::Text,              0,        "Nov 27 2026"},
  Register{"uptime",                  0x05, false,  6, false, 0, Source::Uptime,            0,        nullptr},
  Register{"5 V supply",              0x06, false,  2, false, 0, Source::Supply5V,          0,        nullptr},
  Register{"3.3 V supply",            0x07, false,  2, false, 0, Source::Supply3V,          0,        nullptr},
  Register{"temperature",             0x08, false,  2, false, 0, Source::Temperature,       0,        nullptr},
  Register{"CPU clock",               0x09, false,  4, false, 0, Source::Constant,          48000000, nullptr},
  Register{"peripheral clock",        0x0A, false,  4, false, 0, Source::Constant,          24000000, nullptr},
  Register{"ADC clock",               0x0B, false,  4, false, 0, Source::Constant,          12000000, nullptr},
  Register{"DAC clock",               0x0C, false,  4, false, 0, Source::Constant,          96000,    nullptr},
  Register{"filter clock",            0x0D, false,  4, false, 0, Source::Constant,          100000,   nullptr},
  Register{"offset range",            0x0E, false,  2, true,  2, Source::Stored,            1000,     nullptr},
  Register{"offset",                  0x0F, true,   2, true,  2, Source::Stored,            0,        nullptr},
  Register{"LPF",                     0x11, true,   3, false, 1, Source::FilterPair,        10,       nullptr},
  Register{"HPF Tau",                 0x13, true,   1, false, 1, Source::Stored,            5,        nullptr},
  Register{"amplification",           0x15, true,   2, false, 2, Source::Stored,            256,      nullptr},
  Register{"polarity",                0x17, true,   1, false, 1, Source::Stored,            0,        nullptr},
  Register{"desired amplitude",       0x19, true,   2, false, 2, Source::Stored,            1000,     nullptr},
  Register{"FLT",                     0x1B, true,   3, false, 1, Source::FilterPair,        10,       nullptr},
  Register{"measured amplitude",      0x1F, true,   2, false, 0, Source::MeasuredAmplitude, 0,        nullptr},
  Register{"operation mode",          0x21, true,   1, false, 1, Source::Stored,            0,        nullptr},
};
// clang-format on

constexpr bool ordered() {
  for (std::size_t i = 1; i < kRegisters.size(); ++i) {
    const Register& before = kRegisters[i - 1];
    if (before.code + (before.perChannel ? 1 : 0) >= kRegisters[i].code) return false;
  }
  return true;
}
static_assert(ordered(), "registers are ordered by code and do not overlap");

// The bytes a setting register holds at power-on.
std::vector<std::uint8_t> powerOnBytes(const Register& r) {
  std::vector<std::uint8_t> bytes(r.replyBytes);
  if (r.source == Source::FilterPair) {
    const auto beta = static_cast<std::uint8_t>(r.value);
    orvex::wire::writeU16(bytes.data(), alphaForBeta(beta));
    bytes[2] = beta;
  } else {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      bytes[i] = static_cast<std::uint8_t>(r.value >> (8 * i));
    }
  }
  return bytes;
}

}  // namespace

std::span<const Register> registers() { return kRegisters; }

std::optional<Addressed> lookup(std::uint8_t code) {
  for (const Register& r : kRegisters) {
    if (code == r.code) return Addressed{&r, 0};
    if (r.perChannel && code == r.code + 1) return Addressed{&r, 1};
  }
  return std::nullopt;
}

Settings powerOnSettings() {
  Settings settings;
  for (const Register& r : kRegisters) {
    if (r.dataBytes == 0) continue;
    for (int channel = 0; channel < (r.perChannel ? 2 : 1); ++channel) {
      settings[static_cast<std::uint8_t>(r.code + channel)] = powerOnBytes(r);
    }
  }
  return settings;
}

}  // namespace tarvish::sim
