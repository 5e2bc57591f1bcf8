#include <langinfo.h>

#include <clocale>
#include <cstring>

#include "OutputCharset.h"

namespace orvex::console {

bool outputIsUtf8() {
  // Only the character type follows the environment; numbers keep the
  // decimal point of the C locale.
  std::setlocale(LC_CTYPE, "");
  const char* codeset = nl_langinfo(CODESET);
  return codeset != nullptr &&
         (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
}

}  // namespace orvex::console
