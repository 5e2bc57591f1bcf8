// The real I2C bus through a Linux i2c-dev device. Each ZPB slot is a 7-bit
// address (see SlotAddress.h). A query's bare code, sent with final 0, is
// held here and goes out with its answer's read as one combined transfer
// (write, repeated start, read), so no other bus master comes between code
// and answer; a setting's final send is one write. Every transfer is one
// system call through the DeviceSystem seam; the held send none. No
// transfer allocates memory unless it fails or the trace is on.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "Backend.h"
#include "DeviceSystem.h"
#include "Selection.h"
#include "Trace.h"

namespace tarvish::i2cdev {

class I2cDevBus final : public Backend {
 public:
  I2cDevBus(DeviceSystem& system, Selection selection, Trace trace);
  ~I2cDevBus() override;

  I2cDevBus(const I2cDevBus&) = delete;
  I2cDevBus& operator=(const I2cDevBus&) = delete;

  Outcome open() override;
  Outcome present(std::uint8_t slot, bool& answers) override;
  Outcome send(std::uint8_t slot, std::span<const std::uint8_t> data, bool final) override;
  Outcome receive(std::uint8_t slot, std::span<std::uint8_t> buffer, bool final) override;
  Outcome receiveString(std::uint8_t slot, std::span<char> buffer, bool final) override;
  Outcome flush() override;
  void receiveFailed() override { heldSlot_.reset(); }

  // The device path once the bus is known (after the first open attempt
  // resolved it), for texts.
  const std::string& devicePath() const { return path_; }

 private:
  // The held query's answer of length bytes read into reply_, or a failure.
  Outcome readAnswer(std::uint8_t slot, std::size_t length, bool final);
  // One I2C_RDWR of messages to slot at address; the failure in words.
  Outcome run(std::uint8_t slot, std::uint16_t address, std::span<Message> messages);
  Outcome transferFailure(std::uint8_t slot, std::uint16_t address, int done,
                          std::size_t asked) const;
  Outcome noModuleThere(std::uint8_t slot) const;
  std::string where(std::uint8_t slot, std::uint16_t address) const;
  void traceTransfer(std::span<const Message> messages, int done) const;
  Outcome resolvePath();

  DeviceSystem& system_;
  Selection selection_;
  Trace trace_;
  std::string path_;
  int fd_ = -1;
  // Learned from the first presence check the adapter refused: it cannot
  // send zero-length messages, so presence is probed with a one-byte read.
  bool noZeroLength_ = false;

  std::optional<std::uint8_t> heldSlot_;  // a query's code is held for this slot
  std::size_t heldLength_ = 0;
  std::array<std::uint8_t, kMaxMessageBytes> held_{};
  std::array<std::uint8_t, kMaxMessageBytes> reply_{};
};

}  // namespace tarvish::i2cdev
