#include "BusNames.h"

#include <algorithm>
#include <vector>

namespace tarvish::i2cdev {

std::string busPath(unsigned number) { return "/dev/i2c-" + std::to_string(number); }

std::string busNamed(std::span<const BusEntry> buses, std::string_view name, std::string& problem) {
  std::vector<unsigned> matches;
  for (const BusEntry& bus : buses) {
    if (bus.name == name) matches.push_back(bus.number);
  }
  std::sort(matches.begin(), matches.end());
  const std::string quoted = "'" + std::string(name) + "'";
  if (matches.empty()) {
    problem = "No I2C bus has an adapter named " + quoted + " (" + std::to_string(buses.size()) +
              " listed under /sys/class/i2c-dev); is i2c-dev loaded? 'i2cdetect -l' lists the "
              "buses and their names";
    return {};
  }
  if (matches.size() > 1) {
    std::string list;
    for (unsigned number : matches) list += (list.empty() ? "" : ", ") + busPath(number);
    problem = std::to_string(matches.size()) + " I2C buses have an adapter named " + quoted + ": " +
              list + "; select one by its number";
    return {};
  }
  return busPath(matches.front());
}

}  // namespace tarvish::i2cdev
