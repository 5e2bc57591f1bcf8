#include "FakeI2cDevice.h"

#include <algorithm>
#include <cerrno>

#include "FakeDeviceHooks.h"
#include "Module.h"
#include "ModuleModel.h"

namespace tarvish::i2cdev::test {

namespace {

constexpr std::uint8_t kIdleBus = 0xFF;
constexpr std::uint8_t kJunk = 0xEE;

}  // namespace

FakeI2cDevice::FakeI2cDevice(FakeBus bus, sim::Module* module, std::uint16_t moduleAddress)
    : bus_(std::move(bus)), module_(module), moduleAddress_(moduleAddress) {}

int FakeI2cDevice::open(const std::string& path) {
  FakeSystemCall call("open");
  ++opens_;
  if (bus_.path.empty() || path != bus_.path) return -ENOENT;
  if (bus_.openError != 0) return -bus_.openError;
  if (open_) return -EBUSY;  // the backend opens its device once
  open_ = true;
  return kFd;
}

void FakeI2cDevice::close(int fd) {
  FakeSystemCall call("close");
  if (fd == kFd) open_ = false;
}

int FakeI2cDevice::functions(int fd, bool& plainI2c) {
  FakeSystemCall call("I2C_FUNCS");
  if (fd != kFd || !open_) return -EBADF;
  if (bus_.functionsError != 0) return -bus_.functionsError;
  plainI2c = bus_.plainI2c;
  return 0;
}

std::vector<BusEntry> FakeI2cDevice::buses() {
  FakeSystemCall call("sysfs");
  return bus_.listed;
}

int FakeI2cDevice::kernelCheck(int fd, std::span<const Message> messages) const {
  if (fd != kFd || !open_) return -EBADF;
  if (messages.empty() || messages.size() > kMaxMessages) return -EINVAL;
  for (const Message& m : messages) {
    if (m.length > kMaxMessageBytes || m.address > 0x7F) return -EINVAL;
    if (m.bytes == nullptr && m.length > 0) return -EFAULT;
    if (m.length == 0 && bus_.noZeroLength) return -EOPNOTSUPP;
  }
  return 0;
}

std::vector<std::uint8_t> FakeI2cDevice::answer(std::size_t length) {
  std::vector<std::uint8_t> wire(length, kIdleBus);
  const std::optional<std::uint8_t> code = code_;
  code_.reset();
  if (!code) return wire;
  const std::optional<sim::Addressed> at = sim::lookup(*code);
  if (!at) return wire;
  const sim::Register& reg = *at->reg;
  std::vector<std::uint8_t> bytes;
  if (reg.source == sim::Source::Text) {
    // The text and its terminator, however long the read.
    std::vector<char> text(std::max<std::size_t>(length, reg.replyBytes) + 1, '\0');
    if (!module_->receiveString(text, true).ok()) return wire;
    const auto end = std::find(text.begin(), text.end(), '\0');
    bytes.assign(text.begin(), end + 1);
  } else {
    bytes.assign(reg.replyBytes, 0);
    if (!module_->receive(bytes, true).ok()) return wire;
  }
  std::copy_n(bytes.begin(), std::min(bytes.size(), length), wire.begin());
  return wire;
}

int FakeI2cDevice::onTheBus(std::span<Message> messages) {
  std::vector<std::vector<std::uint8_t>> delivered(messages.size());
  for (std::size_t i = 0; i < messages.size(); ++i) {
    const Message& m = messages[i];
    if (module_ == nullptr || m.address != moduleAddress_) return -ENXIO;
    if (m.read) {
      delivered[i] = answer(m.length);
    } else if (m.length == 1) {
      const std::uint8_t code = m.bytes[0];
      if (!module_->send(std::span(&code, 1), false).ok()) return -EREMOTEIO;
      code_ = code;
    } else if (m.length > 1) {
      code_.reset();
      if (!module_->send(std::span(m.bytes, m.length), true).ok()) return -EREMOTEIO;
    }
  }
  for (std::size_t i = 0; i < messages.size(); ++i) {
    if (messages[i].read) std::copy(delivered[i].begin(), delivered[i].end(), messages[i].bytes);
  }
  return static_cast<int>(messages.size());
}

int FakeI2cDevice::transfer(int fd, std::span<Message> messages) {
  FakeSystemCall call("I2C_RDWR");
  int result = kernelCheck(fd, messages);
  if (result == 0 && !scripted_.empty()) {
    result = scripted_.front();
    scripted_.pop_front();
    if (result >= 0) {
      for (Message& m : messages) {
        if (m.read) std::fill_n(m.bytes, m.length, kJunk);
      }
    }
  } else if (result == 0) {
    result = onTheBus(messages);
  }
  if (recording) {
    FakeTransfer seen;
    for (const Message& m : messages) {
      const bool shows = !m.read || result == static_cast<int>(messages.size());
      seen.push_back({m.address, m.read, m.length,
                      shows && m.bytes != nullptr
                          ? std::vector<std::uint8_t>(m.bytes, m.bytes + m.length)
                          : std::vector<std::uint8_t>{}});
    }
    transfers_.push_back(std::move(seen));
  }
  return result;
}

}  // namespace tarvish::i2cdev::test
