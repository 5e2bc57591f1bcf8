// The system's i2c-dev devices as the test build of the adapter library sees
// them: the fake device, configured from the environment. With
// ORVEX_TEST_FAKE_I2C unset there is no device at all, so that this build,
// wherever it is loaded by mistake, never pretends to reach hardware. Set to
// a device path (/dev/i2c-3), it is the one bus, holding the simulated
// module as the simulator's knobs place it: in the slot TARVISH_MODULE_SLOT
// or TARVISH_SLOT names, at that slot's address on the bus. Problems with
// those knobs are reported as the simulator reports them.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "BusNames.h"
#include "Clock.h"
#include "FakeI2cDevice.h"
#include "FrontKnobs.h"
#include "Knobs.h"
#include "Selection.h"
#include "Simulator.h"
#include "SlotAddress.h"
#include "SystemDevices.h"

namespace tarvish::i2cdev {

namespace {

constexpr const char* kFakeVariable = "ORVEX_TEST_FAKE_I2C";

void report(const std::string& problem) {
  const std::string line = "Tarvish: " + problem + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
}

const char* environment(const char* name) { return std::getenv(name); }

// The bus number of "/dev/i2c-N", for the listing under /sys.
std::vector<BusEntry> listing(const std::string& path) {
  for (unsigned n = 0; n < 1000; ++n) {
    if (busPath(n) == path) return {{n, "Orvex fake i2c-dev adapter"}};
  }
  return {};
}

test::FakeI2cDevice* makeFake() {
  const char* path = environment(kFakeVariable);
  if (path == nullptr || *path == '\0') return new test::FakeI2cDevice({"", {}}, nullptr, 0);
  std::vector<std::string> ignored;  // the library itself reports its own knobs
  const FrontKnobs front = readFrontKnobs(environment, ignored);
  std::vector<std::string> problems;
  const sim::Knobs knobs = sim::readKnobs(environment, problems);
  for (const std::string& problem : problems) report(problem);
  std::string unused;
  const char* first = environment(kAddressVariable);
  const std::uint8_t firstAddress =
      first != nullptr ? parseAddress(first, unused).value_or(kDefaultAddress) : kDefaultAddress;

  static const sim::SteadyClock clock;  // the module powers on now
  auto* simulator = new sim::Simulator(knobs, clock, report);
  const std::optional<std::uint8_t> slot = knobs.module(front.slot);
  const std::optional<std::uint16_t> address =
      slot ? slotAddress(firstAddress, *slot) : std::nullopt;
  auto* fake = new test::FakeI2cDevice(
      {path, listing(path)}, address ? &simulator->module() : nullptr, address.value_or(0));
  // A long run must not keep every transfer.
  fake->recording = false;
  return fake;
}

}  // namespace

DeviceSystem& systemDevices() {
  static test::FakeI2cDevice* const fake = makeFake();
  return *fake;
}

}  // namespace tarvish::i2cdev
