// A fake i2c-dev device in the place of the system calls: one bus with the
// simulated module at one address. Each request is checked as the kernel
// checks it (an open descriptor, 1 to 42 messages, at most 8192 bytes each,
// 7-bit addresses, buffers present), and zero-length messages can be refused
// as some adapters do. On the bus, only the module's address acknowledges;
// a one-byte write sets the module's command code, a longer one is a
// setting, and a read returns the answer to the code set last (padded with
// 0xFF, the idle bus, past its end; all 0xFF when no code was set). A byte
// the module refuses is not acknowledged (EREMOTEIO). Read bytes reach the
// caller only when the whole transfer succeeds, as with the kernel.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "DeviceSystem.h"

namespace tarvish::sim {
class Module;
}

namespace tarvish::i2cdev::test {

struct FakeMessage {
  std::uint16_t address;
  bool read;
  std::uint16_t length;
  std::vector<std::uint8_t> bytes;  // what was written; for a read, what it delivered

  bool operator==(const FakeMessage&) const = default;
};
using FakeTransfer = std::vector<FakeMessage>;

struct FakeBus {
  std::string path = "/dev/i2c-3";  // "" : there is no device at all
  std::vector<BusEntry> listed = {{3, "Orvex fake i2c-dev adapter"}};
  int openError = 0;       // errno the open fails with; 0 opens
  int functionsError = 0;  // errno I2C_FUNCS fails with
  bool plainI2c = true;
  bool noZeroLength = false;  // zero-length messages fail with EOPNOTSUPP
};

class FakeI2cDevice final : public DeviceSystem {
 public:
  // module may be null: nothing acknowledges anywhere.
  FakeI2cDevice(FakeBus bus, sim::Module* module, std::uint16_t moduleAddress);

  int open(const std::string& path) override;
  void close(int fd) override;
  int functions(int fd, bool& plainI2c) override;
  int transfer(int fd, std::span<Message> messages) override;
  std::vector<BusEntry> buses() override;

  // The next transfer returns result (a message count, or -errno) without
  // reaching the bus; a count below the messages' makes reads deliver junk,
  // as the kernel copies back whatever the buffers hold.
  void failNext(int result) { scripted_.push_back(result); }

  // Every transfer asked for, checked or not, in order; kept only while
  // recording is on.
  bool recording = true;
  const std::vector<FakeTransfer>& transfers() const { return transfers_; }
  void clear() { transfers_.clear(); }

  int opens() const { return opens_; }
  bool isOpen() const { return open_; }

 private:
  static constexpr int kFd = 7;

  int kernelCheck(int fd, std::span<const Message> messages) const;
  int onTheBus(std::span<Message> messages);
  // The module's answer to the code set last, as length bytes on the wire.
  std::vector<std::uint8_t> answer(std::size_t length);

  FakeBus bus_;
  sim::Module* module_;
  std::uint16_t moduleAddress_;
  std::optional<std::uint8_t> code_;  // set by a one-byte write
  bool open_ = false;
  int opens_ = 0;
  std::deque<int> scripted_;
  std::vector<FakeTransfer> transfers_;
};

}  // namespace tarvish::i2cdev::test
