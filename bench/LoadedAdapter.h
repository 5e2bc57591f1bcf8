// Which adapter library the process runs with.
#pragma once

namespace bench {

// True when Tarvish_Send, as the program and as the device library see it,
// lies in the null adapter built next to the benchmarks. Otherwise says on
// standard error which library was loaded instead.
bool nullAdapterLoaded();

// The same for any directory that holds a build of the adapter library.
bool adapterLoadedFrom(const char* directory);

}  // namespace bench
