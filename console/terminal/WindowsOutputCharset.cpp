#include <windows.h>

#include "OutputCharset.h"

namespace orvex::console {

// Asked once the console is set up, which keeps a UTF-8 console as it is and
// switches others to the OEM code page. Without a console there is no code
// page to ask (0), and output is read as OEM bytes.
bool outputIsUtf8() { return GetConsoleOutputCP() == CP_UTF8; }

}  // namespace orvex::console
