// Whether text written to standard output is read as UTF-8 or as bytes of a
// single-byte code page, as the platform tells it.
#pragma once

namespace orvex::console {

// POSIX: the character set of the locale's LC_CTYPE. Windows: the output
// code page of the console (65001), when the program has one.
bool outputIsUtf8();

}  // namespace orvex::console
