#include "StateFile.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "Hex.h"

namespace tarvish::sim {

std::optional<Settings> loadState(const std::string& path, std::string& problem) {
  std::error_code missing;
  if (!std::filesystem::exists(path, missing)) return std::nullopt;
  std::ifstream in(path);
  if (!in) {
    problem = "cannot read '" + path + "'";
    return std::nullopt;
  }
  const Settings known = powerOnSettings();
  Settings settings;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (line.empty() || line[0] == '#') continue;
    const std::string where = "'" + path + "' line " + std::to_string(number);
    const auto code = parseHexBytes(std::string_view(line).substr(0, 2));
    const auto bytes =
        line.size() > 3 && line[2] == '=' ? parseHexBytes(line.substr(3)) : std::nullopt;
    if (!code || code->size() != 1 || !bytes) {
      problem = where;
      problem += ": expected CC=HEX, found '";
      problem += line;
      problem += '\'';
      return std::nullopt;
    }
    const auto setting = known.find((*code)[0]);
    if (setting == known.end()) {
      problem = where + ": command code " + hexCode((*code)[0]) + " is not a setting";
      return std::nullopt;
    }
    if (bytes->size() != setting->second.size()) {
      problem = where + ": command code " + hexCode((*code)[0]) + " holds " +
                std::to_string(setting->second.size()) + " bytes";
      return std::nullopt;
    }
    settings[(*code)[0]] = *bytes;
  }
  if (in.bad()) {
    problem = "cannot read '" + path + "'";
    return std::nullopt;
  }
  return settings;
}

std::string saveState(const std::string& path, const Settings& settings) {
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::trunc);
    out << "# Orvex simulated module settings: command code=answer bytes\n";
    for (const auto& [code, bytes] : settings) {
      out << hexBytes(std::span(&code, 1), "") << '=' << hexBytes(bytes, "") << '\n';
    }
    out.flush();
    if (!out) return "cannot write '" + temporary + "'";
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) return "cannot rename '" + temporary + "' to '" + path + "': " + error.message();
  return {};
}

}  // namespace tarvish::sim
