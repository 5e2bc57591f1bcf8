// The adapter front: what the eleven library functions do before anything
// reaches the bus. It keeps the open port, the selected slot and the error
// texts, checks each call's arguments, lets injected failures take a call's
// place, traces every call, and hands transfers to its Backend. A successful
// call allocates nothing unless the trace is on.
#pragma once

#include <cstdint>
#include <string>

#include "AdapterFunction.h"
#include "Backend.h"
#include "FaultInjection.h"
#include "Trace.h"

namespace tarvish {

// The constant arguments of the interface.
inline constexpr std::int32_t kPort = 1;
inline constexpr std::int32_t kModuleSlotKind = 1;
inline constexpr std::int32_t kKeepMaster = 0;

class Adapter {
 public:
  Adapter(Backend& backend, std::uint8_t slot, std::uint16_t version, FaultInjection faults,
          Trace trace);

  std::uint16_t version();
  std::int32_t open();
  std::int32_t flush();
  std::int32_t getSlot(std::uint8_t* slot, std::int32_t kind, std::int32_t mode);
  std::int32_t setSlot(std::uint8_t slot, std::int32_t kind, std::int32_t mode);
  const char* errorMessage();
  const char* ioErrorMessage();
  std::int32_t check(std::int32_t port, std::uint8_t* present);
  std::int32_t send(std::int32_t port, const std::uint8_t* data, std::int32_t count,
                    std::int32_t final);
  std::int32_t receive(std::int32_t port, std::uint8_t* buffer, std::int32_t count,
                       std::int32_t final);
  std::int32_t receiveString(std::int32_t port, char* buffer, std::int32_t maxLength,
                             std::int32_t final);

 private:
  // The injected failure of this call, if any, else the call's own outcome.
  template <class Work>
  Outcome run(AdapterFunction f, Work work);
  // Keeps a failure's texts and, when tracing, writes the line that
  // describe() builds for the call; returns the status. The line is built
  // only when the trace is on, so that an untraced call costs no text.
  template <class Describe>
  std::int32_t finish(const Outcome& outcome, Describe describe);

  Outcome needOpen(AdapterFunction f) const;
  Outcome needSlotArguments(AdapterFunction f, std::int32_t kind, std::int32_t mode) const;
  Outcome needTransfer(AdapterFunction f, std::int32_t port, const void* pointer,
                       const char* pointerName, std::int32_t count, std::int32_t final) const;

  Backend& backend_;
  std::uint8_t slot_;
  std::uint16_t version_;
  FaultInjection faults_;
  Trace trace_;
  bool open_ = false;
  std::string error_ = "No error";
  std::string ioError_ = "No error";
};

}  // namespace tarvish
