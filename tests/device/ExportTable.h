// Every export of the device library that talks to the module, with the
// transaction it must put on the wire.
#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

#include "AdapterDouble.h"

namespace orvex::test {

// The caller's variables an export may write, each preset to a sentinel.
struct Outputs {
  float f = -12345.5f;
  double d = -98765.25;
  std::uint8_t u8 = 0x5A;
  std::uint16_t u16 = 0x5A5A;
  std::uint32_t u32 = 0x5A5A5A5A;
  std::uint16_t alpha = 0x5A5A;
  std::uint8_t beta = 0x5A;
  char text[96] = {};
  Outputs();
  bool operator==(const Outputs&) const = default;
};

void PrintTo(const Outputs& out, std::ostream* os);

enum class Shape {
  Setting,  // one final send of the code and the data bytes
  Query,    // the code with final 0, then a receive of `length` bytes, final 1
  Text,     // the code with final 0, then a text receive of at most `length`
  Check,    // the adapter's check, then the query of the identification
};

struct ExportRow {
  const char* name;
  Shape shape;
  std::uint8_t codeX;
  bool perChannel;                 // channel Y uses codeX + 1
  std::int32_t length;             // receive count or text maximum
  std::vector<std::uint8_t> data;  // data bytes a setting sends for the row's argument
  std::int32_t (*call)(std::uint8_t channel, Outputs& out);
  // The caller's variable that the adapter receives into straight, or
  // nullptr when the export decodes a reply of its own.
  void* (*direct)(Outputs& out);
};

void PrintTo(const ExportRow& row, std::ostream* os);

const std::vector<ExportRow>& transactionExports();

// The adapter calls the row's export makes for this channel when nothing fails.
std::vector<Call> expectedCalls(const ExportRow& row, std::uint8_t channel);

}  // namespace orvex::test
