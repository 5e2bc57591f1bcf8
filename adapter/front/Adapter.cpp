#include "Adapter.h"

#include <cstdio>
#include <span>

#include "Hex.h"

namespace tarvish {

namespace {

constexpr const char* kNoIo = "No input/output attempted";

std::string nameOf(AdapterFunction f) { return "Tarvish_" + std::string(info(f).name); }

Outcome badArgument(AdapterFunction f, const std::string& what) {
  return failure(kBadArgument, nameOf(f) + ": " + what, kNoIo);
}

std::string versionText(std::uint16_t word) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(word));
  return text;
}

// "(a, b, c)" of a trace line.
std::string arguments(std::initializer_list<std::string> items) {
  std::string out = "(";
  for (const std::string& item : items) {
    if (out.size() > 1) out += ", ";
    out += item;
  }
  return out + ")";
}

std::string number(std::int64_t n) { return std::to_string(n); }

}  // namespace

Adapter::Adapter(Backend& backend, std::uint8_t slot, std::uint16_t version, FaultInjection faults,
                 Trace trace)
    : backend_(backend),
      slot_(slot),
      version_(version),
      faults_(std::move(faults)),
      trace_(std::move(trace)) {}

template <class Work>
Outcome Adapter::run(AdapterFunction f, Work work) {
  if (std::optional<Outcome> injected = faults_.onCall(f)) {
    if (f == AdapterFunction::Receive || f == AdapterFunction::ReceiveString) {
      backend_.receiveFailed();
    }
    return *injected;
  }
  return work();
}

template <class Describe>
std::int32_t Adapter::finish(const Outcome& outcome, Describe describe) {
  if (!outcome.ok()) {
    error_ = outcome.message;
    ioError_ = outcome.ioMessage;
  }
  if (trace_.on()) trace_.line(describe() + " = " + number(outcome.status));
  return outcome.status;
}

Outcome Adapter::needOpen(AdapterFunction f) const {
  if (open_) return success();
  return failure(kNotOpen, nameOf(f) + ": the port is not open; call Tarvish_Open first",
                 "Port not open");
}

Outcome Adapter::needSlotArguments(AdapterFunction f, std::int32_t kind, std::int32_t mode) const {
  if (kind != kModuleSlotKind) {
    return badArgument(f, "slot kind " + number(kind) + " is not supported (1 = module slot)");
  }
  if (mode != kKeepMaster) {
    return badArgument(f, "mode " + number(mode) + " is not supported (0 = keep bus master)");
  }
  return success();
}

Outcome Adapter::needTransfer(AdapterFunction f, std::int32_t port, const void* pointer,
                              const char* pointerName, std::int32_t count,
                              std::int32_t final) const {
  if (Outcome opened = needOpen(f); !opened.ok()) return opened;
  if (port != kPort) return badArgument(f, "port " + number(port) + " does not exist (use 1)");
  if (pointer == nullptr) return badArgument(f, std::string(pointerName) + " is a null pointer");
  if (count <= 0) return badArgument(f, "the length " + number(count) + " is not positive");
  if (final != 0 && final != 1) {
    return badArgument(f, "final must be 0 or 1, not " + number(final));
  }
  return success();
}

std::uint16_t Adapter::version() {
  if (trace_.on()) trace_.line("Tarvish_Version() = " + versionText(version_));
  return version_;
}

std::int32_t Adapter::open() {
  const Outcome outcome = run(AdapterFunction::Open, [&] {
    if (open_) return success();
    Outcome opened = backend_.open();
    open_ = opened.ok();
    return opened;
  });
  return finish(outcome, [] { return std::string("Tarvish_Open()"); });
}

std::int32_t Adapter::flush() {
  const Outcome outcome = run(AdapterFunction::Flush_LPT, [&] {
    Outcome opened = needOpen(AdapterFunction::Flush_LPT);
    return opened.ok() ? backend_.flush() : opened;
  });
  return finish(outcome, [] { return std::string("Tarvish_Flush_LPT()"); });
}

std::int32_t Adapter::getSlot(std::uint8_t* slot, std::int32_t kind, std::int32_t mode) {
  const auto f = AdapterFunction::GetSlot;
  const Outcome outcome = run(f, [&] {
    if (slot == nullptr) return badArgument(f, "slot is a null pointer");
    Outcome checked = needSlotArguments(f, kind, mode);
    if (checked.ok()) *slot = slot_;
    return checked;
  });
  return finish(outcome, [&] {
    const std::string result = outcome.ok() ? " -> " + number(slot_) : "";
    return "Tarvish_GetSlot" + arguments({number(kind), number(mode)}) + result;
  });
}

std::int32_t Adapter::setSlot(std::uint8_t slot, std::int32_t kind, std::int32_t mode) {
  const Outcome outcome = run(AdapterFunction::SetSlot, [&] {
    Outcome checked = needSlotArguments(AdapterFunction::SetSlot, kind, mode);
    if (checked.ok()) slot_ = slot;
    return checked;
  });
  return finish(outcome, [&] {
    return "Tarvish_SetSlot" + arguments({number(slot), number(kind), number(mode)});
  });
}

const char* Adapter::errorMessage() {
  faults_.onCall(AdapterFunction::ErrorMessage);
  if (trace_.on()) trace_.line("Tarvish_ErrorMessage() = " + traceText(error_.c_str()));
  return error_.c_str();
}

const char* Adapter::ioErrorMessage() {
  faults_.onCall(AdapterFunction::IO_ErrorMessage);
  if (trace_.on()) trace_.line("Tarvish_IO_ErrorMessage() = " + traceText(ioError_.c_str()));
  return ioError_.c_str();
}

std::int32_t Adapter::check(std::int32_t port, std::uint8_t* present) {
  const auto f = AdapterFunction::Check;
  bool answers = false;
  const Outcome outcome = run(f, [&] {
    Outcome checked = needTransfer(f, port, present, "present", 1, 1);
    if (!checked.ok()) return checked;
    Outcome probed = backend_.present(slot_, answers);
    if (probed.ok()) *present = answers ? 1 : 0;
    return probed;
  });
  return finish(outcome, [&] {
    const std::string result = outcome.ok() ? std::string(" -> ") + (answers ? "1" : "0") : "";
    return "Tarvish_Check" + arguments({number(port)}) + result;
  });
}

std::int32_t Adapter::send(std::int32_t port, const std::uint8_t* data, std::int32_t count,
                           std::int32_t final) {
  const auto f = AdapterFunction::Send;
  const Outcome outcome = run(f, [&] {
    Outcome checked = needTransfer(f, port, data, "data", count, final);
    if (!checked.ok()) return checked;
    return backend_.send(slot_, std::span(data, static_cast<std::size_t>(count)), final == 1);
  });
  return finish(outcome, [&] {
    std::string bytes = "NULL";
    if (data != nullptr)
      bytes = traceBytes(std::span(data, count > 0 ? static_cast<std::size_t>(count) : 0));
    return "Tarvish_Send" + arguments({number(port), bytes, number(count), number(final)});
  });
}

std::int32_t Adapter::receive(std::int32_t port, std::uint8_t* buffer, std::int32_t count,
                              std::int32_t final) {
  const auto f = AdapterFunction::Receive;
  const Outcome outcome = run(f, [&] {
    Outcome checked = needTransfer(f, port, buffer, "buffer", count, final);
    if (!checked.ok()) return checked;
    return backend_.receive(slot_, std::span(buffer, static_cast<std::size_t>(count)), final == 1);
  });
  return finish(outcome, [&] {
    const std::string result =
        outcome.ok() ? " -> " + traceBytes(std::span(buffer, static_cast<std::size_t>(count))) : "";
    return "Tarvish_Receive" + arguments({number(port), number(count), number(final)}) + result;
  });
}

std::int32_t Adapter::receiveString(std::int32_t port, char* buffer, std::int32_t maxLength,
                                    std::int32_t final) {
  const auto f = AdapterFunction::ReceiveString;
  const Outcome outcome = run(f, [&] {
    Outcome checked = needTransfer(f, port, buffer, "buffer", maxLength, final);
    if (!checked.ok()) return checked;
    return backend_.receiveString(slot_, std::span(buffer, static_cast<std::size_t>(maxLength)),
                                  final == 1);
  });
  return finish(outcome, [&] {
    const std::string result = outcome.ok() ? " -> " + traceText(buffer) : "";
    return "Tarvish_ReceiveString" + arguments({number(port), number(maxLength), number(final)}) +
           result;
  });
}

}  // namespace tarvish
