// Marks the definitions of the library's public functions; everything else
// stays hidden. Windows builds export through the same macro.
#pragma once

#if defined(_WIN32)
#define ORVEX_API extern "C" __declspec(dllexport)
#else
#define ORVEX_API extern "C" __attribute__((visibility("default")))
#endif
