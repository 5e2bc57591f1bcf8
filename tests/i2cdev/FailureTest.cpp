// What the kernel's error numbers become: the status, the error text with
// slot, address and bus, the I/O text with the call and the system's words;
// open failures with what to do; buffers untouched by a failed transfer.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "I2cDevRig.h"
#include "Outcome.h"

namespace tarvish::i2cdev::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

const std::string kWhere = "slot 0 (address 0x40 on /dev/i2c-3)";

TEST(I2cDevFailures, EveryErrorNumberOfATransferHasItsStatusAndTexts) {
  const struct {
    int result;  // what I2C_RDWR returns
    std::int32_t status;
    std::string message;
    std::string io;
  } cases[] = {
      {-ENXIO, kNoAcknowledge, "No acknowledge from " + kWhere,
       "I2C_RDWR: ENXIO (No such device or address)"},
      {-EREMOTEIO, kNoAcknowledge, "No acknowledge from " + kWhere,
       "I2C_RDWR: EREMOTEIO (Remote I/O error)"},
      {-EIO, kNoAcknowledge, "No acknowledge from " + kWhere, "I2C_RDWR: EIO (Input/output error)"},
      {-ETIMEDOUT, kTimeout, "Timeout talking to " + kWhere,
       "I2C_RDWR: ETIMEDOUT (Connection timed out)"},
      {-EAGAIN, kBusBusy, "Arbitration lost or bus busy talking to " + kWhere,
       "I2C_RDWR: EAGAIN (Resource temporarily unavailable)"},
      {-EBUSY, kBusBusy, "Bus busy too long talking to " + kWhere,
       "I2C_RDWR: EBUSY (Device or resource busy)"},
      {-EOPNOTSUPP, kNotSupported, "The adapter cannot do this transfer to " + kWhere,
       "I2C_RDWR: EOPNOTSUPP (Operation not supported)"},
      {-ENODEV, kAdapterGone, "The adapter is gone, talking to " + kWhere,
       "I2C_RDWR: ENODEV (No such device)"},
      {-ESHUTDOWN, kAdapterGone, "The adapter is suspended, talking to " + kWhere,
       "I2C_RDWR: ESHUTDOWN (Cannot send after transport endpoint shutdown)"},
      {-EPROTO, kPortError, "Input/output error talking to " + kWhere,
       "I2C_RDWR: EPROTO (Protocol error)"},
      {-EINVAL, kPortError, "Input/output error talking to " + kWhere,
       "I2C_RDWR: EINVAL (Invalid argument)"},
      {1, kIncomplete, "Incomplete transfer to " + kWhere + ": 1 of 2 messages done",
       "I2C_RDWR: only 1 of 2 messages done"},
      {0, kIncomplete, "Incomplete transfer to " + kWhere + ": 0 of 2 messages done",
       "I2C_RDWR: only 0 of 2 messages done"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    I2cRig rig;
    ASSERT_EQ(rig.adapter.open(), 0);
    rig.fake.failNext(c.result);
    Bytes reply;
    EXPECT_EQ(rig.query(0x15, reply, 2), c.status);
    EXPECT_EQ(reply, (Bytes{0xAA, 0xAA}));  // junk the kernel copied back stays out
    EXPECT_EQ(rig.adapter.errorMessage(), c.message);
    EXPECT_EQ(rig.adapter.ioErrorMessage(), c.io);
    // A setting fails the same way, with its one message.
    rig.fake.failNext(c.result == 1 ? 0 : c.result);
    EXPECT_EQ(rig.set({0x17, 0x01}), c.status);
    EXPECT_EQ(rig.module.settings().at(0x17), Bytes{0x00});
    // And the next transaction runs as if nothing had happened.
    ASSERT_EQ(rig.query(0x15, reply, 2), 0);
    EXPECT_EQ(reply, (Bytes{0x00, 0x01}));
  }
}

TEST(I2cDevFailures, TextBuffersStayUntouchedByAFailedTransfer) {
  for (int result : {-ETIMEDOUT, 1}) {
    I2cRig rig;
    ASSERT_EQ(rig.adapter.open(), 0);
    std::vector<char> text(16, '#');
    const std::uint8_t code = 0x04;
    ASSERT_EQ(rig.adapter.send(1, &code, 1, 0), 0);
    rig.fake.failNext(result);
    EXPECT_NE(rig.adapter.receiveString(1, text.data(), 16, 1), 0);
    EXPECT_EQ(text, std::vector<char>(16, '#'));
  }
}

// An injected failure of a receive ends the transaction as a real one does,
// so the next query goes through, as over the simulated module.
TEST(I2cDevFailures, AnInjectedReceiveFailureDropsTheHeldQuery) {
  I2cRig rig(
      {.failures = {{AdapterFunction::Receive, 1, -42}, {AdapterFunction::ReceiveString, 1, -43}}});
  ASSERT_EQ(rig.adapter.open(), 0);
  Bytes reply;
  EXPECT_EQ(rig.query(0x15, reply, 2), -42);
  EXPECT_EQ(reply, (Bytes{0xAA, 0xAA}));
  const std::uint8_t date = 0x04;
  ASSERT_EQ(rig.adapter.send(1, &date, 1, 0), 0);
  char text[16] = "untouched";
  EXPECT_EQ(rig.adapter.receiveString(1, text, 16, 1), -43);
  EXPECT_STREQ(text, "untouched");
  EXPECT_TRUE(rig.fake.transfers().empty());
  ASSERT_EQ(rig.query(0x17, reply, 1), 0);
  EXPECT_EQ(rig.fake.transfers(),
            (std::vector<FakeTransfer>{{write(0x40, {0x17}), read(0x40, {0x00})}}));
}

TEST(I2cDevFailures, PresenceReportsAMissingAcknowledgeAsNoModuleAndOtherErrorsAsFailures) {
  const struct {
    int result;
    std::int32_t status;  // 0: no module, status 0
  } cases[] = {{-ENXIO, 0},         {-EREMOTEIO, 0},        {-EIO, 0}, {-ETIMEDOUT, kTimeout},
               {-EAGAIN, kBusBusy}, {-ENODEV, kAdapterGone}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.result);
    I2cRig rig;
    ASSERT_EQ(rig.adapter.open(), 0);
    rig.fake.failNext(c.result);
    std::uint8_t present = 9;
    EXPECT_EQ(rig.adapter.check(1, &present), c.status);
    EXPECT_EQ(present, c.status == 0 ? 0 : 9);
  }
}

TEST(I2cDevFailures, ARefusedByteOnTheBusIsANoAcknowledge) {
  I2cRig rig;
  ASSERT_EQ(rig.adapter.open(), 0);
  EXPECT_EQ(rig.set({0x15, 0x01}), kNoAcknowledge);  // a setting one byte short
  EXPECT_STREQ(rig.adapter.ioErrorMessage(), "I2C_RDWR: EREMOTEIO (Remote I/O error)");
  Bytes reply;
  EXPECT_EQ(rig.query(0x1D, reply, 2), kNoAcknowledge);  // a code the module does not know
  EXPECT_EQ(rig.query(0x15, reply, 2), 0);
}

struct OpenCase {
  const char* what;
  FakeBus bus;
  Selection selection;
  std::int32_t status;
  std::string message;  // part of the error text
  std::string io;       // the I/O text
};

TEST(I2cDevFailures, OpeningTellsTheOperatorWhatToDo) {
  const Selection byName{{BusChoice::Kind::Name, "parport-i2c", 0}, kDefaultAddress};
  const std::vector<BusEntry> twoBuses = {{3, "parport-i2c"}, {1, "parport-i2c"}};
  const std::vector<OpenCase> cases = {
      {"no such path",
       {},
       {{BusChoice::Kind::Path, "/dev/i2c-9", 0}},
       kNoSuchBus,
       "/dev/i2c-9: No such I2C bus; is the i2c-dev module loaded (modprobe i2c-dev)? "
       "'i2cdetect -l' lists the buses",
       "open /dev/i2c-9: ENOENT (No such file or directory)"},
      {"no such bus number",
       {},
       {{BusChoice::Kind::Number, "", 4}},
       kNoSuchBus,
       "/dev/i2c-4: No such I2C bus",
       "open /dev/i2c-4: ENOENT"},
      {"a node without its driver",
       {.openError = ENXIO},
       onFakeBus(),
       kNoSuchBus,
       "i2c-dev module loaded",
       "open /dev/i2c-3: ENXIO"},
      {"permission denied",
       {.openError = EACCES},
       onFakeBus(),
       kPermissionDenied,
       "/dev/i2c-3: Permission denied; add the user to the device's group",
       "open /dev/i2c-3: EACCES (Permission denied)"},
      {"not permitted",
       {.openError = EPERM},
       onFakeBus(),
       kPermissionDenied,
       "or run as root",
       "open /dev/i2c-3: EPERM"},
      {"not an I2C device",
       {.functionsError = ENOTTY},
       onFakeBus(),
       kNotI2cDevice,
       "/dev/i2c-3: Not an I2C device; give the path of an i2c-dev device",
       "ioctl I2C_FUNCS on /dev/i2c-3: ENOTTY (Inappropriate ioctl for device)"},
      {"SMBus only",
       {.plainI2c = false},
       onFakeBus(),
       kNoPlainI2c,
       "/dev/i2c-3: the adapter cannot do plain I2C transfers, only SMBus ones",
       "ioctl I2C_FUNCS on /dev/i2c-3: I2C_FUNC_I2C missing"},
      {"no bus of that name",
       {.listed = {{3, "other"}}},
       byName,
       kNoSuchBus,
       "No I2C bus has an adapter named 'parport-i2c' (1 listed under /sys/class/i2c-dev)",
       "No input/output attempted"},
      {"two buses of that name",
       {.listed = twoBuses},
       byName,
       kNoSuchBus,
       "2 I2C buses have an adapter named 'parport-i2c': /dev/i2c-1, /dev/i2c-3; select one by "
       "its number",
       "No input/output attempted"},
  };
  for (const OpenCase& c : cases) {
    SCOPED_TRACE(c.what);
    I2cRig rig({.bus = c.bus, .selection = c.selection});
    EXPECT_EQ(rig.adapter.open(), c.status);
    EXPECT_NE(std::string(rig.adapter.errorMessage()).find(c.message), std::string::npos)
        << rig.adapter.errorMessage();
    EXPECT_EQ(std::string(rig.adapter.ioErrorMessage()).rfind(c.io, 0), 0u)
        << rig.adapter.ioErrorMessage();
    EXPECT_FALSE(rig.fake.isOpen());  // a device that cannot be used is closed again
    std::uint8_t present = 9;
    EXPECT_EQ(rig.adapter.check(1, &present), kNotOpen);
    EXPECT_TRUE(rig.fake.transfers().empty());
  }
}

TEST(I2cDevFailures, TheBusIsFoundByItsAdapterNameAndOpenedOnce) {
  I2cRig rig({.bus = {.listed = {{0, "SMBus I801"}, {3, "parport-i2c"}}},
              .selection = {{BusChoice::Kind::Name, "parport-i2c", 0}, kDefaultAddress}});
  ASSERT_EQ(rig.adapter.open(), 0);
  EXPECT_EQ(rig.bus.devicePath(), "/dev/i2c-3");
  ASSERT_EQ(rig.adapter.open(), 0);
  EXPECT_EQ(rig.fake.opens(), 1);
}

TEST(I2cDevFailures, AFailedOpenCanBeRetried) {
  I2cRig rig({.bus = {.openError = EACCES}});
  EXPECT_EQ(rig.adapter.open(), kPermissionDenied);
  EXPECT_EQ(rig.adapter.open(), kPermissionDenied);
  EXPECT_EQ(rig.fake.opens(), 2);
}

}  // namespace
}  // namespace tarvish::i2cdev::test
