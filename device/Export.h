// Marks the definitions of the library's public functions; everything else
// stays hidden. The marking itself comes from the public header: exported
// from the DLL on Windows, visible symbols elsewhere.
#pragma once

#include "Orvex.h"

#define ORVEX_API extern "C" ORVEX_EXPORT
