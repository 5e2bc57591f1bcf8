// Operator entries on standard input and the number parser of the slot entry.
//
// Each entry is one formatted read: leading blanks and line ends are skipped,
// the longest beginning of the word that fits is taken, and the rest stays
// for the next read.
#pragma once

#include <cstdint>
#include <string>

#include "terminal/Terminal.h"

namespace orvex::console {

enum class EntryResult {
  Value,      // a value was read and stored
  NotNumber,  // the entry does not begin with a number; nothing stored
  End,        // standard input ended before an entry began
};

// A decimal integer with an optional sign; saturates at the int range.
EntryResult readInteger(Terminal& term, int& value);
// A decimal real number with an optional sign, fraction and exponent.
EntryResult readReal(Terminal& term, float& value);
// One word of at most maxLength characters.
EntryResult readWord(Terminal& term, std::string& word, std::size_t maxLength);

// Converts a decimal number, a hexadecimal one ending in 'h' or a binary one
// ending in 'b'. Returns 0 and stores the value, -1 for an empty text, -2 for
// a text that is not a number in its notation; value is untouched then.
// Numbers beyond 32 bits give 0xFFFFFFFF; a '-' negates modulo 2^32.
int String2ULong(const char* text, std::uint32_t& value);

// Ends the prompt's line when standard input ended at an entry; the command
// is then abandoned without calling the module.
void endEntryLine();

// Asks for the channel; true and 0 (X) or 1 (Y) stored, or false after
// "Wrong value specified!" or at the end of input.
bool EnterChannel(Terminal& term, std::uint8_t& channel);

}  // namespace orvex::console
