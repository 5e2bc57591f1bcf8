// Counts heap allocations: malloc and its relatives, which operator new uses
// too, are replaced in the program that links this by counting versions.
#pragma once

namespace bench {

// Counting is off until started; allocations while paused are not counted.
void countAllocations(bool on);
// While paused (say, inside a test fixture the library calls), nothing counts.
void pauseAllocationCount(bool paused);
long allocationCount();
// Returns the count and starts again from 0.
long takeAllocationCount();

}  // namespace bench
