// A simulated adapter on a clock the test turns by hand, with its trace
// collected in memory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Adapter.h"
#include "Clock.h"
#include "FrontKnobs.h"
#include "Knobs.h"
#include "Module.h"
#include "SimulatedBus.h"

namespace tarvish::sim::test {

class ManualClock final : public Clock {
 public:
  double seconds() const override { return now; }
  double now = 0;
};

struct Rig {
  explicit Rig(Knobs knobs = {}, FrontKnobs front = {})
      : module(clock, knobs.replies, 7),
        bus(knobs.module(front.slot) ? &module : nullptr, knobs.module(front.slot).value_or(0)),
        adapter(bus, front.slot, front.version, FaultInjection(front.failures),
                Trace([this](const std::string& line) { trace.push_back(line); })) {}

  // Sends the bare code with final 0 and receives count bytes; the status of
  // the first failing transfer, or 0.
  std::int32_t query(std::uint8_t code, std::vector<std::uint8_t>& reply, std::int32_t count) {
    reply.assign(static_cast<std::size_t>(count), 0);
    const std::int32_t sent = adapter.send(1, &code, 1, 0);
    return sent != 0 ? sent : adapter.receive(1, reply.data(), count, 1);
  }

  std::int32_t set(std::vector<std::uint8_t> request) {
    return adapter.send(1, request.data(), static_cast<std::int32_t>(request.size()), 1);
  }

  ManualClock clock;
  Module module;
  SimulatedBus bus;
  std::vector<std::string> trace;  // lines with their newline
  Adapter adapter;
};

}  // namespace tarvish::sim::test
