#include "DegreeSign.h"

#include <clocale>
#include <cstring>

#if __has_include(<langinfo.h>)
#include <langinfo.h>
#define ORVEX_HAVE_LANGINFO 1
#endif

namespace orvex::console {

namespace {

bool consoleIsUtf8() {
#ifdef ORVEX_HAVE_LANGINFO
  // Only the character type follows the environment; numbers keep the
  // decimal point of the C locale.
  std::setlocale(LC_CTYPE, "");
  const char* codeset = nl_langinfo(CODESET);
  return codeset != nullptr &&
         (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
#else
  return false;
#endif
}

}  // namespace

const char* degreeSign() {
  static const char* const sign = consoleIsUtf8() ? "\xC2\xB0" : "\xF8";
  return sign;
}

}  // namespace orvex::console
