// The simulated ZPB bus: slots 0..255, at most one of them holding the
// simulated module. A transfer to any other slot finds no acknowledge, as on
// a real bus.
#pragma once

#include <cstdint>
#include <optional>

#include "Backend.h"

namespace tarvish::sim {

class Module;

class SimulatedBus final : public Backend {
 public:
  // module may be null: an empty bus.
  SimulatedBus(Module* module, std::uint8_t moduleSlot);

  Outcome open() override { return success(); }
  Outcome present(std::uint8_t slot, bool& answers) override;
  Outcome send(std::uint8_t slot, std::span<const std::uint8_t> data, bool final) override;
  Outcome receive(std::uint8_t slot, std::span<std::uint8_t> buffer, bool final) override;
  Outcome receiveString(std::uint8_t slot, std::span<char> buffer, bool final) override;
  Outcome flush() override;

 private:
  // The module when it sits in slot, else null.
  Module* at(std::uint8_t slot) const;

  Module* module_;
  std::uint8_t moduleSlot_;
};

// The failure of a transfer to a slot where nothing answers.
Outcome noAcknowledge(std::uint8_t slot);

}  // namespace tarvish::sim
