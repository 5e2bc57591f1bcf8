// The adapter library's functions by name, for fault injection and the trace.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace tarvish {

enum class AdapterFunction : std::size_t {
  Version,
  Open,
  Flush_LPT,
  GetSlot,
  SetSlot,
  ErrorMessage,
  IO_ErrorMessage,
  Check,
  Send,
  Receive,
  ReceiveString,
};

inline constexpr std::size_t kAdapterFunctions = 11;

struct AdapterFunctionInfo {
  AdapterFunction function;
  std::string_view name;  // without the library prefix
  bool canFail;           // returns a status, so a failure can be injected
};

inline constexpr std::array<AdapterFunctionInfo, kAdapterFunctions> kAdapterFunctionTable{{
    {AdapterFunction::Version, "Version", false},
    {AdapterFunction::Open, "Open", true},
    {AdapterFunction::Flush_LPT, "Flush_LPT", true},
    {AdapterFunction::GetSlot, "GetSlot", true},
    {AdapterFunction::SetSlot, "SetSlot", true},
    {AdapterFunction::ErrorMessage, "ErrorMessage", false},
    {AdapterFunction::IO_ErrorMessage, "IO_ErrorMessage", false},
    {AdapterFunction::Check, "Check", true},
    {AdapterFunction::Send, "Send", true},
    {AdapterFunction::Receive, "Receive", true},
    {AdapterFunction::ReceiveString, "ReceiveString", true},
}};

constexpr const AdapterFunctionInfo& info(AdapterFunction f) {
  return kAdapterFunctionTable[static_cast<std::size_t>(f)];
}

// The function of a name, with or without the "Tarvish_" prefix; case-sensitive.
constexpr std::optional<AdapterFunction> adapterFunctionNamed(std::string_view name) {
  constexpr std::string_view prefix = "Tarvish_";
  if (name.starts_with(prefix)) name.remove_prefix(prefix.size());
  for (const AdapterFunctionInfo& i : kAdapterFunctionTable) {
    if (i.name == name) return i.function;
  }
  return std::nullopt;
}

}  // namespace tarvish
