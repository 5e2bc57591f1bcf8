// The i2c-dev backend under the adapter front over the fake device, with the
// simulated module at an address of its own, a clock the test turns by hand
// and the trace collected in memory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Adapter.h"
#include "Clock.h"
#include "FakeI2cDevice.h"
#include "I2cDevBus.h"
#include "Module.h"

namespace tarvish::i2cdev::test {

class ManualClock final : public sim::Clock {
 public:
  double seconds() const override { return now; }
  double now = 0;
};

inline Selection onFakeBus(std::uint8_t firstAddress = kDefaultAddress) {
  return {{BusChoice::Kind::Path, "/dev/i2c-3", 0}, firstAddress};
}

struct RigSetup {
  FakeBus bus;
  Selection selection = onFakeBus();
  std::uint16_t moduleAddress = kDefaultAddress;
  bool module = true;
  sim::Replies replies;
  std::vector<FailRule> failures;
};

struct I2cRig {
  explicit I2cRig(RigSetup setup = {})
      : module(clock, setup.replies, 7),
        fake(setup.bus, setup.module ? &module : nullptr, setup.moduleAddress),
        bus(fake, setup.selection, Trace([this](const std::string& l) { trace.push_back(l); })),
        adapter(bus, 0, 0x0100, FaultInjection(setup.failures),
                Trace([this](const std::string& l) { trace.push_back(l); })) {}

  // The bare code with final 0, then count bytes; the first failing status or 0.
  std::int32_t query(std::uint8_t code, std::vector<std::uint8_t>& reply, std::int32_t count) {
    reply.assign(static_cast<std::size_t>(count), 0xAA);
    const std::int32_t sent = adapter.send(1, &code, 1, 0);
    return sent != 0 ? sent : adapter.receive(1, reply.data(), count, 1);
  }

  std::int32_t set(std::vector<std::uint8_t> request) {
    return adapter.send(1, request.data(), static_cast<std::int32_t>(request.size()), 1);
  }

  std::int32_t slot(std::uint8_t s) { return adapter.setSlot(s, 1, 0); }

  ManualClock clock;
  sim::Module module;
  FakeI2cDevice fake;
  std::vector<std::string> trace;  // lines with their newline
  I2cDevBus bus;
  Adapter adapter;
};

// Messages as the fake saw them.
inline FakeMessage write(std::uint16_t address, std::vector<std::uint8_t> bytes) {
  const auto length = static_cast<std::uint16_t>(bytes.size());
  return {address, false, length, std::move(bytes)};
}
inline FakeMessage read(std::uint16_t address, std::vector<std::uint8_t> bytes) {
  const auto length = static_cast<std::uint16_t>(bytes.size());
  return {address, true, length, std::move(bytes)};
}
// A read whose bytes did not arrive.
inline FakeMessage failedRead(std::uint16_t address, std::uint16_t length) {
  return {address, true, length, {}};
}

}  // namespace tarvish::i2cdev::test
