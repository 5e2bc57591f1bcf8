#include "I2cDevBus.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "BusNames.h"
#include "ErrorNumbers.h"
#include "Hex.h"
#include "SlotAddress.h"

namespace tarvish::i2cdev {

namespace {

constexpr const char* kNoIo = "No input/output attempted";

std::string hexAddress(unsigned address) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", address);
  return text;
}

Outcome refuse(const std::string& why) { return failure(kRefused, why, kNoIo); }

Outcome tooLong(const char* function, std::size_t length) {
  return failure(kBadArgument,
                 std::string(function) + ": at most " + std::to_string(kMaxMessageBytes) +
                     " bytes go in one I2C message, not " + std::to_string(length),
                 kNoIo);
}

// " = 2", or " = -1 ENXIO (No such device or address)" as the trace shows a
// system call's result.
std::string result(int value) {
  if (value >= 0) return " = " + std::to_string(value);
  return " = -1 " + describeErrno(-value);
}

}  // namespace

I2cDevBus::I2cDevBus(DeviceSystem& system, Selection selection, Trace trace)
    : system_(system), selection_(std::move(selection)), trace_(std::move(trace)) {}

I2cDevBus::~I2cDevBus() {
  if (fd_ >= 0) system_.close(fd_);
}

Outcome I2cDevBus::resolvePath() {
  const BusChoice& bus = selection_.bus;
  switch (bus.kind) {
    case BusChoice::Kind::Path:
      path_ = bus.text;
      return success();
    case BusChoice::Kind::Number:
      path_ = busPath(bus.number);
      return success();
    case BusChoice::Kind::Name:
      break;
  }
  const std::vector<BusEntry> buses = system_.buses();
  std::string problem;
  path_ = busNamed(buses, bus.text, problem);
  if (trace_.on()) {
    trace_.line("  /sys/class/i2c-dev: adapter name '" + bus.text + "' -> " +
                (path_.empty() ? "none" : path_));
  }
  if (path_.empty()) return failure(kNoSuchBus, problem, kNoIo);
  return success();
}

Outcome I2cDevBus::open() {
  if (fd_ >= 0) return success();
  if (Outcome resolved = resolvePath(); !resolved.ok()) return resolved;
  const int fd = system_.open(path_);
  if (trace_.on()) trace_.line("  open " + path_ + result(fd));
  if (fd < 0) {
    const ErrorMeaning& meaning = openError(-fd);
    return failure(meaning.status, path_ + ": " + meaning.what,
                   "open " + path_ + ": " + describeErrno(-fd));
  }
  bool plainI2c = false;
  const int functions = system_.functions(fd, plainI2c);
  if (trace_.on()) {
    trace_.line("  I2C_FUNCS" + result(functions) +
                (functions == 0 ? std::string(", plain I2C: ") + (plainI2c ? "yes" : "no") : ""));
  }
  if (functions < 0) {
    system_.close(fd);
    const ErrorMeaning& meaning = functionsError(-functions);
    return failure(meaning.status, path_ + ": " + meaning.what,
                   "ioctl I2C_FUNCS on " + path_ + ": " + describeErrno(-functions));
  }
  if (!plainI2c) {
    system_.close(fd);
    return failure(kNoPlainI2c,
                   path_ +
                       ": the adapter cannot do plain I2C transfers, only SMBus ones; the module "
                       "needs an adapter with I2C_FUNC_I2C",
                   "ioctl I2C_FUNCS on " + path_ + ": I2C_FUNC_I2C missing");
  }
  fd_ = fd;
  return success();
}

std::string I2cDevBus::where(std::uint8_t slot, std::uint16_t address) const {
  return "slot " + std::to_string(slot) + " (address " + hexAddress(address) + " on " + path_ + ")";
}

Outcome I2cDevBus::noModuleThere(std::uint8_t slot) const {
  const unsigned address = unsigned{selection_.address} + slot;
  return failure(kNoAcknowledge,
                 "No acknowledge from slot " + std::to_string(slot) + " (address " +
                     hexAddress(address) + " is past 0x77, no module answers there; bus " + path_ +
                     ")",
                 "No transfer: the address is outside 0x08..0x77");
}

Outcome I2cDevBus::transferFailure(std::uint8_t slot, std::uint16_t address, int done,
                                   std::size_t asked) const {
  if (done < 0) {
    const ErrorMeaning& meaning = transferError(-done);
    return failure(meaning.status, std::string(meaning.what) + " " + where(slot, address),
                   "I2C_RDWR: " + describeErrno(-done));
  }
  const std::string count =
      std::to_string(done) + " of " + std::to_string(asked) + " messages done";
  return failure(kIncomplete, "Incomplete transfer to " + where(slot, address) + ": " + count,
                 "I2C_RDWR: only " + count);
}

void I2cDevBus::traceTransfer(std::span<const Message> messages, int done) const {
  std::string line = "  I2C_RDWR";
  const bool complete = done == static_cast<int>(messages.size());
  for (std::size_t i = 0; i < messages.size(); ++i) {
    const Message& m = messages[i];
    line += (i == 0 ? " " : ", ") + hexAddress(m.address) + (m.read ? " read " : " write ");
    const std::span<const std::uint8_t> bytes(m.bytes, m.length);
    line += m.read && !complete ? std::to_string(m.length) : traceBytes(bytes);
  }
  trace_.line(line + result(done));
}

Outcome I2cDevBus::run(std::uint8_t slot, std::uint16_t address, std::span<Message> messages) {
  const int done = system_.transfer(fd_, messages);
  if (trace_.on()) traceTransfer(messages, done);
  if (done == static_cast<int>(messages.size())) return success();
  return transferFailure(slot, address, done, messages.size());
}

Outcome I2cDevBus::present(std::uint8_t slot, bool& answers) {
  const std::optional<std::uint16_t> address = slotAddress(selection_.address, slot);
  answers = false;
  if (!address) return success();
  std::uint8_t probe = 0;
  // A zero-length write touches nothing in the module; an adapter that
  // cannot send one gets a one-byte read instead.
  Message message{*address, noZeroLength_, &probe, static_cast<std::uint16_t>(noZeroLength_)};
  int done = system_.transfer(fd_, std::span(&message, 1));
  if (trace_.on()) traceTransfer(std::span(&message, 1), done);
  if (done == -EOPNOTSUPP && !noZeroLength_) {
    noZeroLength_ = true;
    message = {*address, true, &probe, 1};
    done = system_.transfer(fd_, std::span(&message, 1));
    if (trace_.on()) traceTransfer(std::span(&message, 1), done);
  }
  if (done == 1) {
    answers = true;
    return success();
  }
  if (done < 0 && transferError(-done).status == kNoAcknowledge) return success();
  return transferFailure(slot, *address, done, 1);
}

Outcome I2cDevBus::send(std::uint8_t slot, std::span<const std::uint8_t> data, bool final) {
  if (data.size() > kMaxMessageBytes) return tooLong("Tarvish_Send", data.size());
  if (!final) {
    if (heldSlot_) {
      return refuse("A query is already waiting for its answer (command code " + hexCode(held_[0]) +
                    " to slot " + std::to_string(*heldSlot_) +
                    "): receive it with final 1, or flush, before the next query");
    }
    std::copy(data.begin(), data.end(), held_.begin());
    heldLength_ = data.size();
    heldSlot_ = slot;
    return success();
  }
  heldSlot_.reset();  // a setting abandons an unanswered query, as the module does
  const std::optional<std::uint16_t> address = slotAddress(selection_.address, slot);
  if (!address) return noModuleThere(slot);
  std::copy(data.begin(), data.end(), held_.begin());
  Message message{*address, false, held_.data(), static_cast<std::uint16_t>(data.size())};
  return run(slot, *address, std::span(&message, 1));
}

Outcome I2cDevBus::readAnswer(std::uint8_t slot, std::size_t length, bool final) {
  const std::optional<std::uint8_t> heldFor = heldSlot_;
  heldSlot_.reset();  // a receive ends the transaction, answered or not
  if (!heldFor) return refuse("No query pending: send the bare command code with final 0 first");
  if (!final) {
    return refuse("Receive with final 0: the answer to command code " + hexCode(held_[0]) +
                  " ends the transaction");
  }
  if (*heldFor != slot) {
    return refuse("No query pending for slot " + std::to_string(slot) + ": command code " +
                  hexCode(held_[0]) + " was sent to slot " + std::to_string(*heldFor));
  }
  const std::optional<std::uint16_t> address = slotAddress(selection_.address, slot);
  if (!address) return noModuleThere(slot);
  std::array<Message, 2> messages{{
      {*address, false, held_.data(), static_cast<std::uint16_t>(heldLength_)},
      {*address, true, reply_.data(), static_cast<std::uint16_t>(length)},
  }};
  return run(slot, *address, messages);
}

Outcome I2cDevBus::receive(std::uint8_t slot, std::span<std::uint8_t> buffer, bool final) {
  if (buffer.size() > kMaxMessageBytes) return tooLong("Tarvish_Receive", buffer.size());
  Outcome read = readAnswer(slot, buffer.size(), final);
  if (read.ok()) std::copy_n(reply_.begin(), buffer.size(), buffer.begin());
  return read;
}

Outcome I2cDevBus::receiveString(std::uint8_t slot, std::span<char> buffer, bool final) {
  // The text's maximum length is read; a longer buffer than one message
  // holds reads what one message holds.
  const std::size_t length = std::min(buffer.size(), kMaxMessageBytes);
  Outcome read = readAnswer(slot, length, final);
  if (!read.ok()) return read;
  const auto end = std::find(reply_.begin(), reply_.begin() + length, std::uint8_t{0});
  const auto kept = std::min(static_cast<std::size_t>(end - reply_.begin()), buffer.size() - 1);
  std::memcpy(buffer.data(), reply_.data(), kept);
  buffer[kept] = '\0';
  return read;
}

Outcome I2cDevBus::flush() {
  heldSlot_.reset();
  return success();
}

}  // namespace tarvish::i2cdev
