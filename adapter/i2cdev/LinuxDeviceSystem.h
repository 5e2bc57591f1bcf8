// The system-call seam on Linux: open(2) and ioctl(2) on /dev/i2c-N, and the
// adapter names under /sys/class/i2c-dev.
#pragma once

#include "DeviceSystem.h"

namespace tarvish::i2cdev {

class LinuxDeviceSystem final : public DeviceSystem {
 public:
  int open(const std::string& path) override;
  void close(int fd) override;
  int functions(int fd, bool& plainI2c) override;
  int transfer(int fd, std::span<Message> messages) override;
  std::vector<BusEntry> buses() override;
};

}  // namespace tarvish::i2cdev
