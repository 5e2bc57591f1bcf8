#include "ErrorNumbers.h"

#include <cerrno>
#include <cstring>
#include <span>
#include <utility>

#include "Outcome.h"

namespace tarvish::i2cdev {

namespace {

// The last entry of each table stands for every number it does not list.
constexpr ErrorMeaning kTransferErrors[] = {
    {ENXIO, kNoAcknowledge, "No acknowledge from"},
    {EREMOTEIO, kNoAcknowledge, "No acknowledge from"},
    {EIO, kNoAcknowledge, "No acknowledge from"},
    {ETIMEDOUT, kTimeout, "Timeout talking to"},
    {EAGAIN, kBusBusy, "Arbitration lost or bus busy talking to"},
    {EBUSY, kBusBusy, "Bus busy too long talking to"},
    {EOPNOTSUPP, kNotSupported, "The adapter cannot do this transfer to"},
    {ENODEV, kAdapterGone, "The adapter is gone, talking to"},
    {ESHUTDOWN, kAdapterGone, "The adapter is suspended, talking to"},
    {0, kPortError, "Input/output error talking to"},
};

constexpr const char* kNoSuchBusText =
    "No such I2C bus; is the i2c-dev module loaded (modprobe i2c-dev)? 'i2cdetect -l' lists the "
    "buses";
constexpr const char* kPermissionText =
    "Permission denied; add the user to the device's group (ls -l shows it, often 'i2c') or run "
    "as root";
constexpr const char* kNotI2cText =
    "Not an I2C device; give the path of an i2c-dev device such as /dev/i2c-1";

constexpr ErrorMeaning kOpenErrors[] = {
    {ENOENT, kNoSuchBus, kNoSuchBusText},
    {ENXIO, kNoSuchBus, kNoSuchBusText},
    {ENODEV, kNoSuchBus, kNoSuchBusText},
    {EACCES, kPermissionDenied, kPermissionText},
    {EPERM, kPermissionDenied, kPermissionText},
    {EROFS, kPermissionDenied, kPermissionText},
    {EISDIR, kNotI2cDevice, kNotI2cText},
    {0, kPortError, "The I2C bus device cannot be opened"},
};

constexpr ErrorMeaning kFunctionsErrors[] = {
    {ENOTTY, kNotI2cDevice, kNotI2cText},
    {EINVAL, kNotI2cDevice, kNotI2cText},
    {ENODEV, kAdapterGone, "The adapter is gone"},
    {0, kPortError, "The adapter's functions cannot be read"},
};

const ErrorMeaning& find(std::span<const ErrorMeaning> table, int number) {
  for (const ErrorMeaning& entry : table.first(table.size() - 1)) {
    if (entry.number == number) return entry;
  }
  return table.back();
}

// The symbols of the numbers the texts name.
constexpr std::pair<int, const char*> kSymbols[] = {
    {ENXIO, "ENXIO"},           {EREMOTEIO, "EREMOTEIO"}, {EIO, "EIO"},
    {ETIMEDOUT, "ETIMEDOUT"},   {EAGAIN, "EAGAIN"},       {EBUSY, "EBUSY"},
    {EOPNOTSUPP, "EOPNOTSUPP"}, {ENODEV, "ENODEV"},       {ESHUTDOWN, "ESHUTDOWN"},
    {EPROTO, "EPROTO"},         {ENOENT, "ENOENT"},       {EACCES, "EACCES"},
    {EPERM, "EPERM"},           {EROFS, "EROFS"},         {EISDIR, "EISDIR"},
    {ENOTTY, "ENOTTY"},         {EINVAL, "EINVAL"},       {EFAULT, "EFAULT"},
    {EBADF, "EBADF"},           {EINTR, "EINTR"},         {ENOMEM, "ENOMEM"},
    {ENOTDIR, "ENOTDIR"},       {ELOOP, "ELOOP"},         {ENAMETOOLONG, "ENAMETOOLONG"},
    {EMFILE, "EMFILE"},         {ENFILE, "ENFILE"},
};

}  // namespace

const ErrorMeaning& transferError(int number) { return find(kTransferErrors, number); }

const ErrorMeaning& openError(int number) { return find(kOpenErrors, number); }

const ErrorMeaning& functionsError(int number) { return find(kFunctionsErrors, number); }

std::string describeErrno(int number) {
  const std::string text = std::strerror(number);
  for (const auto& [known, symbol] : kSymbols) {
    if (known == number) return std::string(symbol) + " (" + text + ")";
  }
  return "error " + std::to_string(number) + " (" + text + ")";
}

}  // namespace tarvish::i2cdev
