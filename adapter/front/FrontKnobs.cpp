#include "FrontKnobs.h"

#include <charconv>
#include <string_view>

namespace tarvish {

namespace {

// A non-zero decimal 32-bit status, optionally negative.
std::optional<std::int32_t> parseStatus(std::string_view text) {
  std::int32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [last, error] = std::from_chars(text.data(), end, value, 10);
  if (text.empty() || error != std::errc() || last != end || value == 0) return std::nullopt;
  return value;
}

std::string readSlot(std::string_view value, FrontKnobs& knobs) {
  const auto slot = parseUnsigned(value);
  if (!slot || *slot > 255) return quote(value) + " is not a slot number 0..255";
  knobs.slot = static_cast<std::uint8_t>(*slot);
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

std::string readFailures(std::string_view value, FrontKnobs& knobs) {
  std::vector<FailRule> rules;
  for (std::string_view rule : splitList(value)) {
    if (std::string problem = readFailRule(rule, rules); !problem.empty()) return problem;
  }
  knobs.failures = std::move(rules);
  return {};
}

std::string readVersion(std::string_view value, FrontKnobs& knobs) {
  const auto word = parseUnsigned(value);
  if (!word || *word > 0xFFFF) return quote(value) + " is not a word 0..0xFFFF";
  knobs.version = static_cast<std::uint16_t>(*word);
  return {};
}

std::string readTrace(std::string_view value, FrontKnobs& knobs) {
  knobs.trace = value;
  return {};
}

constexpr KnobReader<FrontKnobs> kKnobs[] = {
    {"TARVISH_SLOT", readSlot},
    {"TARVISH_FAIL", readFailures},
    {"TARVISH_VERSION", readVersion},
    {"TARVISH_TRACE", readTrace},
};

}  // namespace

FrontKnobs readFrontKnobs(const Lookup& lookup, std::vector<std::string>& problems) {
  FrontKnobs knobs;
  readEach(kKnobs, lookup, knobs, problems);
  return knobs;
}

Trace traceFor(const FrontKnobs& knobs, const Report& report) {
  if (knobs.trace.empty()) return Trace();
  std::string problem;
  Trace trace = openTrace(knobs.trace, problem);
  if (!problem.empty()) report("TARVISH_TRACE: " + problem + "; not tracing");
  return trace;
}

}  // namespace tarvish
