// Counts system calls: a seccomp filter traps every system call but exit,
// exit_group and the return from the trap handler, skips it and counts it.
// Only for a child process that does nothing but compute once trapped.
#pragma once

#include <atomic>

namespace bench {

// Installs the filter in this process; calls then add to *count, or to
// *elsewhere while set aside (see setAsideSystemCalls). False on failure.
bool trapSystemCalls(std::atomic<long>* count, std::atomic<long>* elsewhere);

// While set aside, trapped calls count to the second counter.
void setAsideSystemCalls(bool aside);

}  // namespace bench
