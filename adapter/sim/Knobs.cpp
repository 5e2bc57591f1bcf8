#include "Knobs.h"

#include <string_view>

#include "Hex.h"

namespace tarvish::sim {

namespace {

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

constexpr KnobReader<Knobs> kKnobs[] = {
    {"TARVISH_MODULE_SLOT", readModuleSlot},
    {"TARVISH_REPLY", readReplies},
    {"TARVISH_STATE", readState},
};

}  // namespace

Knobs readKnobs(const Lookup& lookup, std::vector<std::string>& problems) {
  Knobs knobs;
  readEach(kKnobs, lookup, knobs, problems);
  return knobs;
}

}  // namespace tarvish::sim
