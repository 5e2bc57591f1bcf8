// Runs every export of the device library many times over the null adapter
// and counts what it asks of the system meanwhile: heap allocations (see
// CountingAllocator.h) and system calls (a seccomp filter in a child process
// traps every system call but the child's exit and counts it). Prints both
// counts; the exit status is 0 only when both are 0.
#include <sys/mman.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "CountingAllocator.h"
#include "DeviceExports.h"
#include "LoadedAdapter.h"
#include "SystemCallTrap.h"

namespace {

constexpr int kRounds = 100000;

void runAll() {
  for (int round = 0; round < kRounds; ++round) {
    for (const bench::DeviceExport& e : bench::kDeviceExports) e.call();
  }
}

// Shared with the child, which cannot write anywhere else once trapped.
struct Counts {
  std::atomic<long> systemCalls;
  std::atomic<long> setAside;
  std::atomic<long> allocations;
  long probeSystemCalls;  // what one deliberate call of each kind counted
  long probeAllocations;
  std::atomic<bool> done;
};

}  // namespace

int main() {
  if (!bench::nullAdapterLoaded()) return 2;

  void* page =
      mmap(nullptr, sizeof(Counts), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  if (page == MAP_FAILED) return 2;
  Counts* shared = new (page) Counts{};

  runAll();  // every call bound once by the loader before anything counts
  const pid_t child = fork();
  if (child < 0) return 2;
  if (child == 0) {
    if (!bench::trapSystemCalls(&shared->systemCalls, &shared->setAside)) _exit(3);
    bench::countAllocations(true);
    // One system call and one allocation of its own first, to show that both
    // are seen.
    syscall(SYS_getppid);
    void* volatile probe = std::malloc(16);
    std::free(probe);
    shared->probeSystemCalls = shared->systemCalls.exchange(0);
    shared->probeAllocations = bench::takeAllocationCount();
    runAll();
    bench::countAllocations(false);
    shared->allocations = bench::allocationCount();
    shared->done = true;
    _exit(0);
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
      !shared->done) {
    std::fprintf(stderr, "the counting child failed (status 0x%x)\n",
                 static_cast<unsigned>(status));
    return 2;
  }
  if (shared->probeSystemCalls != 1 || shared->probeAllocations != 1) {
    std::fprintf(stderr,
                 "the counters missed a probe: %ld system calls, %ld allocations (1 each)\n",
                 shared->probeSystemCalls, shared->probeAllocations);
    return 2;
  }
  const long calls = static_cast<long>(bench::kDeviceExports.size()) * kRounds;
  std::printf("%ld export calls (%zu exports x %d): %ld heap allocations, %ld system calls\n",
              calls, bench::kDeviceExports.size(), kRounds, shared->allocations.load(),
              shared->systemCalls.load());
  std::printf("RESULT allocations %ld\nRESULT system_calls %ld\n", shared->allocations.load(),
              shared->systemCalls.load());
  return shared->allocations == 0 && shared->systemCalls == 0 ? 0 : 1;
}
