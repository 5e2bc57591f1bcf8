// Marks the definitions of the adapter interface's functions as exported, in
// the adapter library and in anything that stands in its place.
#pragma once

#if defined(_WIN32)
#define TARVISH_API extern "C" __declspec(dllexport)
#else
#define TARVISH_API extern "C" __attribute__((visibility("default")))
#endif
