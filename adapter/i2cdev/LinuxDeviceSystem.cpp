#include "LinuxDeviceSystem.h"

#include <fcntl.h>
#include <linux/i2c-dev.h>
#include <linux/i2c.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

#include "SystemDevices.h"

namespace tarvish::i2cdev {

static_assert(kMaxMessages == I2C_RDWR_IOCTL_MAX_MSGS);

int LinuxDeviceSystem::open(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  return fd >= 0 ? fd : -errno;
}

void LinuxDeviceSystem::close(int fd) { ::close(fd); }

int LinuxDeviceSystem::functions(int fd, bool& plainI2c) {
  unsigned long mask = 0;
  if (::ioctl(fd, I2C_FUNCS, &mask) < 0) return -errno;
  plainI2c = (mask & I2C_FUNC_I2C) != 0;
  return 0;
}

int LinuxDeviceSystem::transfer(int fd, std::span<Message> messages) {
  if (messages.empty() || messages.size() > kMaxMessages) return -EINVAL;
  std::array<i2c_msg, kMaxMessages> kernel{};
  for (std::size_t i = 0; i < messages.size(); ++i) {
    const Message& m = messages[i];
    kernel[i].addr = m.address;
    kernel[i].flags = m.read ? I2C_M_RD : 0;
    kernel[i].len = m.length;
    kernel[i].buf = m.bytes;
  }
  i2c_rdwr_ioctl_data request{kernel.data(), static_cast<__u32>(messages.size())};
  const int done = ::ioctl(fd, I2C_RDWR, &request);
  return done >= 0 ? done : -errno;
}

std::vector<BusEntry> LinuxDeviceSystem::buses() {
  namespace fs = std::filesystem;
  std::vector<BusEntry> found;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator("/sys/class/i2c-dev", error)) {
    const std::string file = entry.path().filename().string();
    const std::string_view prefix = "i2c-";
    if (!file.starts_with(prefix)) continue;
    unsigned number = 0;
    const char* end = file.data() + file.size();
    const auto [last, failed] = std::from_chars(file.data() + prefix.size(), end, number);
    if (failed != std::errc() || last != end) continue;
    std::ifstream in(entry.path() / "name");
    std::string name;
    std::getline(in, name);
    found.push_back({number, name});
  }
  return found;
}

DeviceSystem& systemDevices() {
  static LinuxDeviceSystem devices;
  return devices;
}

}  // namespace tarvish::i2cdev
