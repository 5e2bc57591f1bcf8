// The environment a test gives the program it runs: its own, less the
// adapter's knobs, which each run sets itself, then the run's variables.
// The bus selection TARVISH_I2C_BUS and TARVISH_I2C_ADDRESS passes through,
// so that a test run over the i2c-dev backend runs every program over it.
#pragma once

#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <vector>

extern char** environ;

namespace orvex::test {

inline std::vector<std::string> inheritedEnvironment(
    const std::map<std::string, std::string>& run) {
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string_view entry = *e;
    const std::string name(entry.substr(0, entry.find('=')));
    const bool knob = name.starts_with("TARVISH_") && !name.starts_with("TARVISH_I2C_");
    if (!knob && !run.contains(name)) env.emplace_back(entry);
  }
  for (const auto& [name, value] : run) env.push_back(name + "=" + value);
  return env;
}

}  // namespace orvex::test
