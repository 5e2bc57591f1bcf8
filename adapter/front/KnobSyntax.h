// What every knob reader shares: environment lookup, the number and list
// syntax of the values, and the walk over a table of variables.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvish {

// The value of an environment variable, or null when it is not set.
using Lookup = std::function<const char*(const char* name)>;

// A knob's value in quotes, for its error message.
std::string quote(std::string_view value);

// Decimal, or hexadecimal after 0x or 0X; the whole text must be the number.
std::optional<std::uint64_t> parseUnsigned(std::string_view text);

// The items between commas; "" gives one empty item.
std::vector<std::string_view> splitList(std::string_view text);

// One variable and its reader, which returns "" when it took the whole
// value, else what is wrong with it (and then changes nothing).
template <class Knobs>
struct KnobReader {
  const char* variable;
  std::string (*read)(std::string_view value, Knobs& knobs);
};

// Reads every variable of table that is set and not empty. Each malformed
// one adds a line to problems, naming the variable, and is ignored.
template <class Knobs, std::size_t N>
void readEach(const KnobReader<Knobs> (&table)[N], const Lookup& lookup, Knobs& knobs,
              std::vector<std::string>& problems) {
  for (const KnobReader<Knobs>& knob : table) {
    const char* value = lookup(knob.variable);
    if (value == nullptr || *value == '\0') continue;
    if (std::string problem = knob.read(value, knobs); !problem.empty()) {
      problems.push_back(std::string(knob.variable) + ": " + problem + "; ignored");
    }
  }
}

}  // namespace tarvish
