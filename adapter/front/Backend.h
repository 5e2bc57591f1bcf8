// What the adapter front needs from whatever carries its transfers: the
// simulated bus, or a real I2C bus. Slots are ZPB slots 0..255; every
// operation reports an Outcome whose texts the front passes on unchanged.
// The front calls nothing but open before open succeeded.
#pragma once

#include <cstdint>
#include <span>

#include "Outcome.h"

namespace tarvish {

class Backend {
 public:
  virtual ~Backend() = default;

  // Makes the bus usable; called by Tarvish_Open until it succeeds once.
  virtual Outcome open() = 0;

  // On success, answers tells whether a module acknowledges in the slot.
  virtual Outcome present(std::uint8_t slot, bool& answers) = 0;

  // data is never empty. final is false when the next transfer reads the answer.
  virtual Outcome send(std::uint8_t slot, std::span<const std::uint8_t> data, bool final) = 0;

  // Fills all of buffer (never empty), or leaves it untouched on failure.
  virtual Outcome receive(std::uint8_t slot, std::span<std::uint8_t> buffer, bool final) = 0;

  // Writes a NUL-terminated text of at most buffer.size() bytes (never empty),
  // or leaves buffer untouched on failure.
  virtual Outcome receiveString(std::uint8_t slot, std::span<char> buffer, bool final) = 0;

  // Empties the communication buffers; an unanswered query is abandoned.
  virtual Outcome flush() = 0;

  // A receive failed before it reached the backend (an injected failure);
  // the transaction is over as after any failed receive. A backend that
  // holds the query's request drops it here; the simulated module needs
  // nothing, as its next request abandons the query anyway.
  virtual void receiveFailed() {}
};

}  // namespace tarvish
