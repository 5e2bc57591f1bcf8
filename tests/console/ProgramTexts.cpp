// The program's fixed texts, as the tests expect them.
#include "ProgramRun.h"

namespace orvex::test {

std::string helpText() {
  return "Press (if not explicitly specified, the case doesn't matter):\n"
         "    'q' to scan ZPB for the device,     'o/O' to get/set ZPB slot number,\n"
         "    'l/L' to get/set LPF frequency,     'h/H' to get/set HPF frequency,\n"
         "    'a/A' to get/set amplification,     's/S' to get/set polarity,\n"
         "    'r/R' to get/set offset range,      't/T' to get/set channel offset,\n"
         "    'f/F' to get/set amplitude LPF,     'g/G' to get/set channel amplitude,\n"
         "    'e/E' to get/set operation mode,\n"
         "    'm/M' to get measured amplitude, M: continuously,\n"
         "    'k' to get housekeeping data,       'c' to get clock frequencies,\n"
         "    'd' to get firmware date,           'v' to get firmware version,\n"
         "    'p' to get product identification,  'n' to get product number,\n"
         "    'u/U' to get uptime, U: continuously,\n"
         "    'Esc' to stop,                      '?' for this help...\n"
         "Note:\n"
         "  Integral values can be entered in decimal, hexadecimal, or binary formats.\n"
         "  The hexadecimal format can be specified by the postfix 'h', the binary format\n"
         "  by 'b'. Example: 123, 7Bh, and 1111011b specify the same number.\n";
}

std::string normalStart() { return "Communication port opened\nBuffers flushed\n" + helpText(); }

}  // namespace orvex::test
