// Injected failures: chosen adapter functions fail, on every call or on their
// Nth call, with a chosen status and without doing their work.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "AdapterFunction.h"
#include "Outcome.h"

namespace tarvish {

struct FailRule {
  AdapterFunction function;
  std::optional<std::uint64_t> call;  // 1-based call number; none = every call
  std::int32_t status;                // non-zero

  bool operator==(const FailRule&) const = default;
};

class FaultInjection {
 public:
  explicit FaultInjection(std::vector<FailRule> rules = {}) : rules_(std::move(rules)) {}

  // Counts one call of f; the failure to report instead of doing the call's
  // work, when the first rule that matches this call says so.
  std::optional<Outcome> onCall(AdapterFunction f);

 private:
  std::vector<FailRule> rules_;
  std::array<std::uint64_t, kAdapterFunctions> calls_{};
};

}  // namespace tarvish
