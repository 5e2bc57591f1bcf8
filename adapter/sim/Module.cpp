#include "Module.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "../../device/Codec.h"
#include "Clock.h"
#include "Hex.h"
#include "Housekeeping.h"
#include "ModuleFilter.h"

namespace tarvish::sim {

namespace {

constexpr const char* kDataRefused = "I2C data not acknowledged";
constexpr const char* kReadRefused = "I2C read not acknowledged";

// Codes of the settings the amplitude loop of a channel depends on.
constexpr std::uint8_t kDesiredAmplitude = 0x19;
constexpr std::uint8_t kFlt = 0x1B;
constexpr std::uint8_t kOperationMode = 0x21;

Outcome refuseSend(const std::string& why) { return failure(kRefused, why, kDataRefused); }
Outcome refuseRead(const std::string& why) { return failure(kRefused, why, kReadRefused); }

std::string byteCount(std::size_t n) { return std::to_string(n) + (n == 1 ? " byte" : " bytes"); }

}  // namespace

Module::Module(const Clock& clock, Replies fixedReplies, std::uint32_t seed)
    : clock_(clock),
      fixedReplies_(std::move(fixedReplies)),
      noise_(seed),
      settings_(powerOnSettings()) {}

Outcome Module::send(std::span<const std::uint8_t> data, bool final) {
  pending_.reset();  // a new request abandons an unread answer
  if (data.empty()) return refuseSend("Empty request: a request starts with a command code");
  const std::uint8_t code = data[0];
  const std::optional<Addressed> at = lookup(code);
  if (!at) return refuseSend("Unknown command code " + hexCode(code));
  const Register& reg = *at->reg;
  const std::size_t dataBytes = data.size() - 1;
  if (!final) {
    if (dataBytes != 0) {
      return refuseSend("Command code " + hexCode(code) + " sent with " + byteCount(dataBytes) +
                        " of data and final 0: a query is the bare code");
    }
    pending_ = code;
    return success();
  }
  if (dataBytes == 0) {
    return refuseSend("Query of command code " + hexCode(code) +
                      " sent with final 1: its answer could not be read");
  }
  if (reg.dataBytes == 0) {
    return refuseSend("Command code " + hexCode(code) + " (" + reg.name +
                      ") is read-only and takes no data");
  }
  if (dataBytes != reg.dataBytes) {
    return refuseSend("Command code " + hexCode(code) + " (" + reg.name + ") takes " +
                      byteCount(reg.dataBytes) + " of data, got " + std::to_string(dataBytes));
  }
  store(*at, data.subspan(1));
  return success();
}

std::optional<Addressed> Module::takePending(Outcome& refusal, bool final) {
  const std::optional<std::uint8_t> code = pending_;
  pending_.reset();  // a receive ends the transaction, answered or not
  if (!code) {
    refusal = refuseRead("No query pending: send the bare command code with final 0 first");
    return std::nullopt;
  }
  if (!final) {
    refusal = refuseRead("Receive with final 0: the answer to command code " + hexCode(*code) +
                         " ends the transaction");
    return std::nullopt;
  }
  return lookup(*code);
}

Outcome Module::receive(std::span<std::uint8_t> buffer, bool final) {
  Outcome refusal;
  const std::optional<Addressed> at = takePending(refusal, final);
  if (!at) return refusal;
  const Register& reg = *at->reg;
  const std::string code = hexCode(static_cast<std::uint8_t>(reg.code + at->channel));
  if (reg.source == Source::Text) {
    return refuseRead("Command code " + code + " (" + reg.name +
                      ") answers with a text: receive it as a string");
  }
  if (buffer.size() != reg.replyBytes) {
    return refuseRead("Command code " + code + " (" + reg.name + ") answers " +
                      byteCount(reg.replyBytes) + ", " + std::to_string(buffer.size()) +
                      " requested");
  }
  const std::vector<std::uint8_t> bytes = answer(*at);
  std::copy(bytes.begin(), bytes.end(), buffer.begin());
  return success();
}

Outcome Module::receiveString(std::span<char> buffer, bool final) {
  Outcome refusal;
  const std::optional<Addressed> at = takePending(refusal, final);
  if (!at) return refusal;
  const Register& reg = *at->reg;
  if (reg.source != Source::Text) {
    const std::string code = hexCode(static_cast<std::uint8_t>(reg.code + at->channel));
    return refuseRead("Command code " + code + " (" + reg.name + ") answers " +
                      byteCount(reg.replyBytes) + ", not a text: receive it as bytes");
  }
  const std::vector<std::uint8_t> text = answer(*at);
  const std::size_t length = std::min(text.size(), buffer.size() - 1);
  // copy_n, not memcpy: an empty fixed text has no data pointer at all.
  std::copy_n(text.begin(), length, buffer.begin());
  buffer[length] = '\0';
  return success();
}

void Module::restore(const Settings& stored) {
  for (const auto& [code, bytes] : stored) {
    auto it = settings_.find(code);
    if (it != settings_.end() && it->second.size() == bytes.size()) it->second = bytes;
  }
}

std::vector<std::uint8_t> Module::answer(const Addressed& at) {
  const Register& reg = *at.reg;
  const auto code = static_cast<std::uint8_t>(reg.code + at.channel);
  if (auto fixed = fixedReplies_.find(code); fixed != fixedReplies_.end()) return fixed->second;
  std::vector<std::uint8_t> bytes(reg.replyBytes);
  const double now = clock_.seconds();
  switch (reg.source) {
    case Source::Constant:
      for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(reg.value >> (8 * i));
      }
      break;
    case Source::Text:
      bytes.assign(reg.text, reg.text + std::strlen(reg.text));
      break;
    case Source::Stored:
    case Source::FilterPair:
      bytes = settings_.at(code);
      break;
    case Source::Uptime: {
      const auto uptime = uptimeBytes(now);
      bytes.assign(uptime.begin(), uptime.end());
      break;
    }
    case Source::Supply5V:
      orvex::wire::writeU16(bytes.data(), supply5V(now, noise_));
      break;
    case Source::Supply3V:
      orvex::wire::writeU16(bytes.data(), supply3V(now, noise_));
      break;
    case Source::Temperature:
      orvex::wire::writeU16(bytes.data(), temperature(now, noise_));
      break;
    case Source::MeasuredAmplitude:
      orvex::wire::writeU16(bytes.data(), measuredAmplitude(at.channel));
      break;
  }
  return bytes;
}

void Module::store(const Addressed& at, std::span<const std::uint8_t> data) {
  advanceLoops();  // the loops ran under the old settings until now
  const auto code = static_cast<std::uint8_t>(at.reg->code + at.channel);
  std::vector<std::uint8_t>& held = settings_.at(code);
  if (at.reg->source == Source::FilterPair) {
    orvex::wire::writeU16(held.data(), alphaForBeta(data[0]));
    held[2] = data[0];
  } else {
    held.assign(data.begin(), data.end());
  }
  if (listener_) listener_(settings_);
}

void Module::advanceLoops() {
  const double now = clock_.seconds();
  for (int channel = 0; channel < 2; ++channel) {
    const std::vector<std::uint8_t>& flt = settings_.at(static_cast<std::uint8_t>(kFlt + channel));
    const LoopSettings loop{
        settings_.at(static_cast<std::uint8_t>(kOperationMode + channel))[0],
        static_cast<double>(orvex::wire::readU16(
            settings_.at(static_cast<std::uint8_t>(kDesiredAmplitude + channel)).data())),
        fltTimeConstant(orvex::wire::readU16(flt.data()), flt[2]),
    };
    loops_[static_cast<std::size_t>(channel)].advance(now, loop);
  }
}

std::uint16_t Module::measuredAmplitude(int channel) {
  advanceLoops();
  const double level = loops_[static_cast<std::size_t>(channel)].millivolts();
  // The measurement picks up a few millivolts of noise while the output runs.
  const double noisy = level > 0 ? level + noise_.next(3) : 0;
  return static_cast<std::uint16_t>(std::clamp(std::round(noisy), 0.0, 65535.0));
}

}  // namespace tarvish::sim
