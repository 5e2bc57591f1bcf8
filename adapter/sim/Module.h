// The simulated module's protocol engine. It sees the transfers that reach
// its slot and checks each transaction's shape as the module does: a query
// is the bare code sent with final 0, answered by the very next receive of
// exactly the answer's length (a text by a string receive); a setting is one
// final send of the code and exactly its data bytes. Anything else is
// refused with a status and a text; a refused transfer changes nothing.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "AmplitudeLoop.h"
#include "ModuleModel.h"
#include "Noise.h"
#include "Outcome.h"

namespace tarvish::sim {

class Clock;

class Module {
 public:
  Module(const Clock& clock, Replies fixedReplies, std::uint32_t seed);

  Outcome send(std::span<const std::uint8_t> data, bool final);
  Outcome receive(std::span<std::uint8_t> buffer, bool final);
  Outcome receiveString(std::span<char> buffer, bool final);

  // Drops a query whose answer was never read.
  void abandonQuery() { pending_.reset(); }

  const Settings& settings() const { return settings_; }
  // Takes over stored settings; codes that are not settings, or bytes of the
  // wrong length, are skipped.
  void restore(const Settings& stored);
  // Called after every setting the module accepted.
  void onSettingsChanged(std::function<void(const Settings&)> listener) {
    listener_ = std::move(listener);
  }

 private:
  // The pending query's register, or a refusal of the receive.
  std::optional<Addressed> takePending(Outcome& refusal, bool final);
  std::vector<std::uint8_t> answer(const Addressed& at);
  void store(const Addressed& at, std::span<const std::uint8_t> data);
  void advanceLoops();
  std::uint16_t measuredAmplitude(int channel);

  const Clock& clock_;
  Replies fixedReplies_;
  Noise noise_;
  Settings settings_;
  std::optional<std::uint8_t> pending_;
  std::array<AmplitudeLoop, 2> loops_{};
  std::function<void(const Settings&)> listener_;
};

}  // namespace tarvish::sim
