#pragma once

namespace orvex::console {

// The degree sign in the console's character set: UTF-8 when the locale
// says so, otherwise the byte 0xF8 of the classic PC code page.
const char* degreeSign();

}  // namespace orvex::console
