#include "FaultInjection.h"

#include <string>

namespace tarvish {

std::optional<Outcome> FaultInjection::onCall(AdapterFunction f) {
  const std::uint64_t call = ++calls_[static_cast<std::size_t>(f)];
  for (const FailRule& rule : rules_) {
    if (rule.function != f || (rule.call && *rule.call != call)) continue;
    return failure(rule.status,
                   "Injected failure of Tarvish_" + std::string(info(f).name) + " (call " +
                       std::to_string(call) + ")",
                   "Simulated I/O error");
  }
  return std::nullopt;
}

}  // namespace tarvish
