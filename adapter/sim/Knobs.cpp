#include "Knobs.h"

#include <charconv>
#include <string_view>

#include "Hex.h"

namespace tarvish::sim {

namespace {

// A knob's value in quotes, for its error message.
std::string quote(std::string_view value) {
  std::string quoted;
  quoted.reserve(value.size() + 2);
  quoted.push_back('\'');
  quoted.append(value);
  quoted.push_back('\'');
  return quoted;
}

// Decimal, or hexadecimal after 0x or 0X; the whole text must be the number.
std::optional<std::uint64_t> parseUnsigned(std::string_view text) {
  int base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    text.remove_prefix(2);
    base = 16;
  }
  std::uint64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [last, error] = std::from_chars(text.data(), end, value, base);
  if (text.empty() || error != std::errc() || last != end) return std::nullopt;
  return value;
}

// A non-zero decimal 32-bit status, optionally negative.
std::optional<std::int32_t> parseStatus(std::string_view text) {
  std::int32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [last, error] = std::from_chars(text.data(), end, value, 10);
  if (text.empty() || error != std::errc() || last != end || value == 0) return std::nullopt;
  return value;
}

std::vector<std::string_view> splitList(std::string_view text) {
  std::vector<std::string_view> items;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    items.push_back(text.substr(start, comma - start));
    if (comma == std::string_view::npos) return items;
    start = comma + 1;
  }
}

// Each knob's reader returns an empty string on success, else what is wrong.
using Reader = std::string (*)(std::string_view value, Knobs& knobs);

std::string readSlot(std::string_view value, Knobs& knobs) {
  const auto slot = parseUnsigned(value);
  if (!slot || *slot > 255) return quote(value) + " is not a slot number 0..255";
  knobs.slot = static_cast<std::uint8_t>(*slot);
  return {};
}

std::string readModuleSlot(std::string_view value, Knobs& knobs) {
  if (value == "none") {
    knobs.noModule = true;
    return {};
  }
  const auto slot = parseUnsigned(value);
  if (!slot || *slot > 255) {
    return quote(value) + " is neither a slot number 0..255 nor 'none'";
  }
  knobs.moduleSlot = static_cast<std::uint8_t>(*slot);
  return {};
}

std::string readFailRule(std::string_view text, std::vector<FailRule>& rules) {
  const std::string quoted = quote(text);
  std::string_view name = text;
  FailRule rule{AdapterFunction::Open, std::nullopt, kDefaultInjectedStatus};
  if (const std::size_t eq = name.find('='); eq != std::string_view::npos) {
    const auto status = parseStatus(name.substr(eq + 1));
    if (!status) return quoted + ": the status after '=' must be a non-zero decimal number";
    rule.status = *status;
    name = name.substr(0, eq);
  }
  if (const std::size_t at = name.find('@'); at != std::string_view::npos) {
    const auto call = parseUnsigned(name.substr(at + 1));
    if (!call || *call == 0) return quoted + ": the call number after '@' must be 1 or more";
    rule.call = *call;
    name = name.substr(0, at);
  }
  const auto function = adapterFunctionNamed(name);
  if (!function) return quoted + ": '" + std::string(name) + "' is not an adapter function";
  if (!info(*function).canFail) {
    return quoted + ": Tarvish_" + std::string(info(*function).name) + " cannot be failed";
  }
  rule.function = *function;
  rules.push_back(rule);
  return {};
}

std::string readFailures(std::string_view value, Knobs& knobs) {
  std::vector<FailRule> rules;
  for (std::string_view rule : splitList(value)) {
    if (std::string problem = readFailRule(rule, rules); !problem.empty()) return problem;
  }
  knobs.failures = std::move(rules);
  return {};
}

std::string readVersion(std::string_view value, Knobs& knobs) {
  const auto word = parseUnsigned(value);
  if (!word || *word > 0xFFFF) return quote(value) + " is not a word 0..0xFFFF";
  knobs.version = static_cast<std::uint16_t>(*word);
  return {};
}

std::string readTrace(std::string_view value, Knobs& knobs) {
  knobs.trace = value;
  return {};
}

std::string readReply(std::string_view entry, Replies& replies) {
  const std::string quoted = quote(entry);
  const std::size_t eq = entry.find('=');
  const auto code = parseHexBytes(entry.substr(0, eq));
  if (eq != 2 || !code) return quoted + ": expected CODE=HEX with a two-digit hex CODE";
  const std::optional<Addressed> at = lookup((*code)[0]);
  if (!at) return quoted + ": the module has no command code " + hexCode((*code)[0]);
  const auto bytes = parseHexBytes(entry.substr(eq + 1));
  if (!bytes) return quoted + ": the reply must be pairs of hex digits";
  const Register& reg = *at->reg;
  if (reg.source == Source::Text) {
    // A text may be longer than the receiver's buffer: the receive cuts it.
    for (std::uint8_t b : *bytes) {
      if (b == 0) return quoted + ": a text cannot contain a 00 byte";
    }
  } else if (bytes->size() != reg.replyBytes) {
    return quoted + ": the " + reg.name + " answer is " + std::to_string(reg.replyBytes) +
           " bytes, not " + std::to_string(bytes->size());
  }
  if (!replies.emplace((*code)[0], *bytes).second) {
    return quoted + ": command code " + hexCode((*code)[0]) + " is given twice";
  }
  return {};
}

std::string readReplies(std::string_view value, Knobs& knobs) {
  Replies replies;
  for (std::string_view entry : splitList(value)) {
    if (std::string problem = readReply(entry, replies); !problem.empty()) return problem;
  }
  knobs.replies = std::move(replies);
  return {};
}

std::string readState(std::string_view value, Knobs& knobs) {
  knobs.statePath = value;
  return {};
}

struct Knob {
  const char* variable;
  Reader read;
};

constexpr Knob kKnobs[] = {
    {"TARVISH_SLOT", readSlot},     {"TARVISH_MODULE_SLOT", readModuleSlot},
    {"TARVISH_FAIL", readFailures}, {"TARVISH_VERSION", readVersion},
    {"TARVISH_TRACE", readTrace},   {"TARVISH_REPLY", readReplies},
    {"TARVISH_STATE", readState},
};

}  // namespace

Knobs readKnobs(const Lookup& lookup, std::vector<std::string>& problems) {
  Knobs knobs;
  for (const Knob& knob : kKnobs) {
    const char* value = lookup(knob.variable);
    if (value == nullptr || *value == '\0') continue;
    // A reader changes knobs only when the whole value is good.
    if (std::string problem = knob.read(value, knobs); !problem.empty()) {
      problems.push_back(std::string(knob.variable) + ": " + problem + "; ignored");
    }
  }
  return knobs;
}

}  // namespace tarvish::sim
