// The real system calls, on what this machine has: a missing device and a
// file that is not an I2C device.
#include <gtest/gtest.h>

#include <cerrno>

#include "LinuxDeviceSystem.h"

namespace tarvish::i2cdev::test {
namespace {

TEST(LinuxDeviceSystem, AMissingDeviceDoesNotOpen) {
  LinuxDeviceSystem system;
  EXPECT_EQ(system.open("/dev/i2c-does-not-exist"), -ENOENT);
}

TEST(LinuxDeviceSystem, AFileThatIsNoI2cDeviceRefusesTheI2cRequests) {
  LinuxDeviceSystem system;
  const int fd = system.open("/dev/null");
  ASSERT_GE(fd, 0);
  bool plain = true;
  EXPECT_EQ(system.functions(fd, plain), -ENOTTY);
  std::uint8_t byte = 0;
  Message message{0x40, true, &byte, 1};
  EXPECT_EQ(system.transfer(fd, std::span(&message, 1)), -ENOTTY);
  EXPECT_EQ(system.transfer(fd, {}), -EINVAL);  // checked before the call, as the kernel does
  system.close(fd);
  EXPECT_EQ(system.functions(fd, plain), -EBADF);
}

}  // namespace
}  // namespace tarvish::i2cdev::test
