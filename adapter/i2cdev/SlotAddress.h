// Where a ZPB slot answers on the I2C bus: the module in slot s at the
// address of slot 0 plus s. A slot whose address would pass the last 7-bit
// address holds no module.
#pragma once

#include <cstdint>
#include <optional>

#include "Selection.h"

namespace tarvish::i2cdev {

constexpr std::optional<std::uint16_t> slotAddress(std::uint8_t firstAddress, std::uint8_t slot) {
  const unsigned address = unsigned{firstAddress} + slot;
  if (address > kLastAddress) return std::nullopt;
  return static_cast<std::uint16_t>(address);
}

}  // namespace tarvish::i2cdev
