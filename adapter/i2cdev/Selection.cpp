#include "Selection.h"

namespace tarvish::i2cdev {

namespace {

constexpr std::string_view kNamePrefix = "name:";
// Bus numbers are small; this keeps "/dev/i2c-N" a sane path.
constexpr std::uint64_t kLastBusNumber = 0xFFFFF;

bool allDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace

std::optional<BusChoice> parseBus(std::string_view value, std::string& problem) {
  if (value.empty()) {
    problem = "the value is empty; give a device path (/dev/i2c-1), a bus number or name:TEXT";
    return std::nullopt;
  }
  if (value.starts_with(kNamePrefix)) {
    const std::string_view name = value.substr(kNamePrefix.size());
    if (name.empty()) {
      problem = quote(value) + ": the adapter name after 'name:' is empty";
      return std::nullopt;
    }
    return BusChoice{BusChoice::Kind::Name, std::string(name), 0};
  }
  if (allDigits(value)) {
    const auto number = parseUnsigned(value);
    if (!number || *number > kLastBusNumber) {
      problem = quote(value) + " is too large for a bus number";
      return std::nullopt;
    }
    return BusChoice{BusChoice::Kind::Number, {}, static_cast<unsigned>(*number)};
  }
  if (value.find('/') == std::string_view::npos) {
    problem =
        quote(value) + " is neither a device path (/dev/i2c-1), a bus number (1) nor name:TEXT";
    return std::nullopt;
  }
  return BusChoice{BusChoice::Kind::Path, std::string(value), 0};
}

std::optional<std::uint8_t> parseAddress(std::string_view value, std::string& problem) {
  const auto address = parseUnsigned(value);
  if (!address || *address < kFirstAddress || *address > kLastAddress) {
    problem = quote(value) + " is not a 7-bit module address 0x08..0x77";
    return std::nullopt;
  }
  return static_cast<std::uint8_t>(*address);
}

std::optional<Selection> readSelection(const Lookup& lookup, std::vector<std::string>& problems) {
  Selection selection;
  const std::size_t before = problems.size();
  std::string problem;
  const char* bus = lookup(kBusVariable);
  if (std::optional<BusChoice> choice = parseBus(bus != nullptr ? bus : "", problem)) {
    selection.bus = std::move(*choice);
  } else {
    problems.push_back(std::string(kBusVariable) + ": " + problem);
  }
  if (const char* address = lookup(kAddressVariable); address != nullptr) {
    problem.clear();
    if (std::optional<std::uint8_t> parsed = parseAddress(address, problem)) {
      selection.address = *parsed;
    } else {
      problems.push_back(std::string(kAddressVariable) + ": " + problem);
    }
  }
  if (problems.size() != before) return std::nullopt;
  return selection;
}

}  // namespace tarvish::i2cdev
