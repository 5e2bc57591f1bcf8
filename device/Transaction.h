// The transaction shapes of the module protocol. Every adapter call of the
// library goes through these functions; each returns the adapter's status
// unchanged and stops at the first failure.
#pragma once

#include <cstdint>

#include "CommandTable.h"

namespace orvex {

// Query: the command code with final 0, then a receive of the command's
// response length with final 1, straight into reply.
std::int32_t query(Cmd c, std::uint8_t channel, void* reply);

// Query of a text: the code, then a string receive of at most the command's
// maximum length, terminator included, straight into text.
std::int32_t queryText(Cmd c, char* text);

// Setting: the code and the raw value's low 1 or 2 bytes (little-endian),
// as many as the command carries, in one final send.
std::int32_t setting(Cmd c, std::uint8_t channel, std::uint16_t raw);

// Presence test: the adapter's check, then, when a module answers, the
// identification query. present is 1 only for the Orvex identification.
std::int32_t presence(std::uint8_t* present);

// Query whose response is decoded before it reaches the caller: the decoded
// output is written only after both transfers succeeded.
template <class Decode>
std::int32_t queryDecoded(Cmd c, std::uint8_t channel, Decode decode) {
  std::uint8_t reply[kMaxDecodedReply];
  const std::int32_t status = query(c, channel, reply);
  if (status == 0) decode(reply);
  return status;
}

}  // namespace orvex
