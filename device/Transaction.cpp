#include "Transaction.h"

#include "../adapter/Tarvish.h"
#include "Codec.h"

namespace orvex {

namespace {

constexpr std::uint16_t kIdentification = 0x9647;

std::int32_t sendCode(Cmd c, std::uint8_t channel) {
  const std::uint8_t request = code(c, channel);
  return Tarvish_Send(TARVISH_PORT, &request, 1, TARVISH_MORE);
}

}  // namespace

std::int32_t query(Cmd c, std::uint8_t channel, void* reply) {
  const std::int32_t status = sendCode(c, channel);
  if (status != 0) return status;
  return Tarvish_Receive(TARVISH_PORT, static_cast<std::uint8_t*>(reply), entry(c).replyBytes,
                         TARVISH_FINAL);
}

std::int32_t queryText(Cmd c, char* text) {
  const std::int32_t status = sendCode(c, 0);
  if (status != 0) return status;
  return Tarvish_ReceiveString(TARVISH_PORT, text, entry(c).replyBytes, TARVISH_FINAL);
}

std::int32_t setting(Cmd c, std::uint8_t channel, std::uint16_t raw) {
  std::uint8_t request[3] = {code(c, channel), 0, 0};
  wire::writeU16(request + 1, raw);
  return Tarvish_Send(TARVISH_PORT, request, 1 + entry(c).dataBytes, TARVISH_FINAL);
}

std::int32_t presence(std::uint8_t* present) {
  const std::int32_t status = Tarvish_Check(TARVISH_PORT, present);
  if (status != 0 || *present == 0) return status;
  std::uint8_t reply[2];
  const std::int32_t queried = query(Cmd::Identification, 0, reply);
  if (queried != 0) return queried;
  *present = wire::readU16(reply) == kIdentification ? 1 : 0;
  return 0;
}

}  // namespace orvex
