#pragma once

namespace orvex::console {

// The degree sign in the console's character set: UTF-8 when standard output
// is read as UTF-8 (the locale, or a console's code page 65001), otherwise
// the byte 0xF8 of the classic PC code page.
const char* degreeSign();

}  // namespace orvex::console
