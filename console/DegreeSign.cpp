#include "DegreeSign.h"

#include "terminal/OutputCharset.h"

namespace orvex::console {

const char* degreeSign() {
  static const char* const sign = outputIsUtf8() ? "\xC2\xB0" : "\xF8";
  return sign;
}

}  // namespace orvex::console
