// Which bus and which addresses the i2c-dev backend uses, from environment
// variables read once at load:
//   TARVISH_I2C_BUS=PATH|N|name:TEXT   the device: a path (/dev/i2c-1), a bus
//                                      number N (/dev/i2c-N), or the bus whose
//                                      adapter is named TEXT
//   TARVISH_I2C_ADDRESS=A              7-bit address of the module in slot 0,
//                                      0x08..0x77, default 0x40
// Unlike the other knobs, a malformed value is not ignored: it makes
// Tarvish_Open fail, so that no program takes another bus for the one meant.
// The simulator's own knobs are not read here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "HardwareAdapter.h"
#include "KnobSyntax.h"

namespace tarvish::i2cdev {

inline constexpr std::uint8_t kFirstAddress = 0x08;
inline constexpr std::uint8_t kLastAddress = 0x77;
inline constexpr std::uint8_t kDefaultAddress = 0x40;

struct BusChoice {
  enum class Kind { Path, Number, Name };
  Kind kind = Kind::Path;
  std::string text;     // the path, or the adapter name to look for
  unsigned number = 0;  // the bus number

  bool operator==(const BusChoice&) const = default;
};

struct Selection {
  BusChoice bus;
  std::uint8_t address = kDefaultAddress;  // of the module in slot 0

  bool operator==(const Selection&) const = default;
};

// The bus a value names, or none with problem saying what is wrong.
std::optional<BusChoice> parseBus(std::string_view value, std::string& problem);

// The address a value names, or none with problem saying what is wrong.
std::optional<std::uint8_t> parseAddress(std::string_view value, std::string& problem);

// Both variables through lookup (the bus one is set, or the backend would
// not have been chosen). None when either is malformed; then problems holds
// one line per malformed variable, naming it.
std::optional<Selection> readSelection(const Lookup& lookup, std::vector<std::string>& problems);

}  // namespace tarvish::i2cdev
