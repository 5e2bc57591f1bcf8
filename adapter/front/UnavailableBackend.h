// A backend that cannot be used: opening it fails with the outcome it was
// made with, so nothing else is ever asked of it. It stands where the bus
// the knobs select cannot be had, so that the failure shows at
// Tarvish_Open instead of a silent change of bus.
#pragma once

#include "Backend.h"

namespace tarvish {

class UnavailableBackend final : public Backend {
 public:
  explicit UnavailableBackend(Outcome why) : why_(std::move(why)) {}

  Outcome open() override { return why_; }
  Outcome present(std::uint8_t, bool&) override { return why_; }
  Outcome send(std::uint8_t, std::span<const std::uint8_t>, bool) override { return why_; }
  Outcome receive(std::uint8_t, std::span<std::uint8_t>, bool) override { return why_; }
  Outcome receiveString(std::uint8_t, std::span<char>, bool) override { return why_; }
  Outcome flush() override { return why_; }

 private:
  Outcome why_;
};

}  // namespace tarvish
