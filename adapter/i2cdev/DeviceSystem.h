// The system-call seam of the i2c-dev backend: every open, ioctl and sysfs
// read the backend makes goes through this interface, in plain terms. The
// real implementation turns each call into the one system call it names;
// tests put a fake i2c-dev device in its place. Results follow the system's
// convention: a value of 0 or more, or a negative error number (-ENXIO).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tarvish::i2cdev {

// The most messages one combined transfer may hold, and the most bytes one
// message may carry, as the kernel allows them.
inline constexpr std::size_t kMaxMessages = 42;
inline constexpr std::size_t kMaxMessageBytes = 8192;

// One message of a combined transfer: a write of length bytes from bytes,
// or a read of length bytes into bytes, at a 7-bit address.
struct Message {
  std::uint16_t address;
  bool read;
  std::uint8_t* bytes;
  std::uint16_t length;
};

// A bus the system lists, with its adapter's name.
struct BusEntry {
  unsigned number;   // N of /dev/i2c-N
  std::string name;  // without the trailing newline
};

class DeviceSystem {
 public:
  virtual ~DeviceSystem() = default;

  // Opens the device read-write (close-on-exec): its descriptor, or -errno.
  virtual int open(const std::string& path) = 0;
  virtual void close(int fd) = 0;

  // I2C_FUNCS: 0, with plainI2c telling whether the adapter does plain I2C
  // transfers (I2C_FUNC_I2C); or -errno.
  virtual int functions(int fd, bool& plainI2c) = 0;

  // I2C_RDWR: runs the messages as one transaction, a repeated start between
  // them and one stop at the end. The number of messages done, or -errno;
  // read bytes are valid only when all were done.
  virtual int transfer(int fd, std::span<Message> messages) = 0;

  // Every bus under /sys/class/i2c-dev with its adapter's name; none when
  // the directory does not exist.
  virtual std::vector<BusEntry> buses() = 0;
};

}  // namespace tarvish::i2cdev
