#include "Trace.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "Hex.h"

namespace tarvish {

namespace {

void writeLine(std::FILE* file, const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), file);
  std::fflush(file);
}

}  // namespace

void Trace::line(const std::string& text) const {
  if (sink_) sink_(text + "\n");
}

Trace openTrace(const std::string& where, std::string& error) {
  if (where == "stderr") {
    return Trace([](const std::string& line) { writeLine(stderr, line); });
  }
  std::FILE* file = std::fopen(where.c_str(), "a");
  if (file == nullptr) {
    error = "cannot open '" + where + "' for appending: " + std::strerror(errno);
    return Trace();
  }
  // A whole line fits the buffer, so each line leaves in one write.
  std::setvbuf(file, nullptr, _IOFBF, 1 << 16);
  std::shared_ptr<std::FILE> owned(file, &std::fclose);
  return Trace([owned](const std::string& line) { writeLine(owned.get(), line); });
}

std::string traceBytes(std::span<const std::uint8_t> bytes) {
  std::string out = "[";
  out += hexBytes(bytes, " ");
  out += ']';
  return out;
}

std::string traceText(const char* text) {
  std::string out = "\"";
  for (const char* p = text; *p != '\0'; ++p) {
    const auto c = static_cast<unsigned char>(*p);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x7F) {
      out += "\\x" + hexBytes(std::span(&c, 1), "");
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

}  // namespace tarvish
