// The call trace: one line per adapter call, with its arguments, the bytes
// that crossed and the status, written in one piece and flushed at once so
// that it interleaves sanely with the program's own output.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace tarvish {

class Trace {
 public:
  // Receives one complete line, newline included.
  using Sink = std::function<void(const std::string& line)>;

  Trace() = default;  // traces nothing
  explicit Trace(Sink sink) : sink_(std::move(sink)) {}

  bool on() const { return static_cast<bool>(sink_); }
  void line(const std::string& text) const;

 private:
  Sink sink_;
};

// "stderr" traces to standard error, anything else appends to that file.
// When the file cannot be opened, error says why and the trace is off.
Trace openTrace(const std::string& where, std::string& error);

// Bytes as "[15 80 01]".
std::string traceBytes(std::span<const std::uint8_t> bytes);

// A text in double quotes; quotes, backslashes and unprintable bytes escaped.
std::string traceText(const char* text);

}  // namespace tarvish
