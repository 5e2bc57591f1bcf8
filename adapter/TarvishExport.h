// Marks the definitions of the adapter interface's functions as exported, in
// the adapter library and in anything that stands in its place. The marking
// comes from the interface header; a target that defines these functions
// defines TARVISH_BUILDING_LIBRARY.
#pragma once

#include "Tarvish.h"

#define TARVISH_API extern "C" TARVISH_EXPORT
