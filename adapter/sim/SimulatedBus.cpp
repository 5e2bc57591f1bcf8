#include "SimulatedBus.h"

#include <string>

#include "Module.h"

namespace tarvish::sim {

Outcome noAcknowledge(std::uint8_t slot) {
  return failure(kNoAcknowledge, "No acknowledge from slot " + std::to_string(slot),
                 "I2C address not acknowledged");
}

SimulatedBus::SimulatedBus(Module* module, std::uint8_t moduleSlot)
    : module_(module), moduleSlot_(moduleSlot) {}

Module* SimulatedBus::at(std::uint8_t slot) const {
  return slot == moduleSlot_ ? module_ : nullptr;
}

Outcome SimulatedBus::present(std::uint8_t slot, bool& answers) {
  answers = at(slot) != nullptr;
  return success();
}

Outcome SimulatedBus::send(std::uint8_t slot, std::span<const std::uint8_t> data, bool final) {
  Module* module = at(slot);
  return module ? module->send(data, final) : noAcknowledge(slot);
}

Outcome SimulatedBus::receive(std::uint8_t slot, std::span<std::uint8_t> buffer, bool final) {
  Module* module = at(slot);
  return module ? module->receive(buffer, final) : noAcknowledge(slot);
}

Outcome SimulatedBus::receiveString(std::uint8_t slot, std::span<char> buffer, bool final) {
  Module* module = at(slot);
  return module ? module->receiveString(buffer, final) : noAcknowledge(slot);
}

Outcome SimulatedBus::flush() {
  if (module_) module_->abandonQuery();
  return success();
}

}  // namespace tarvish::sim
