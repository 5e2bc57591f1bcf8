// The allocation and system-call check over the i2c-dev backend: every
// export of the device library many times through the adapter library's
// test build, whose system calls go to the fake i2c-dev device. What the
// fake does (it runs the simulated module) is set aside through the hooks it
// calls; everything else is counted: heap allocations and real system calls
// must be 0, and each export must make exactly its bus transfers, one
// I2C_RDWR per query and per setting. Needs the environment of the i2cdev
// tests (the fake device at /dev/i2c-3, selected by TARVISH_I2C_BUS).
#include <sys/mman.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "CountingAllocator.h"
#include "DeviceExports.h"
#include "LoadedAdapter.h"
#include "SystemCallTrap.h"
#include "Tarvish.h"

namespace {

constexpr int kRounds = 20000;
constexpr std::size_t kExports = bench::kDeviceExports.size();

// Shared with the child, which cannot write anywhere else once trapped.
struct Counts {
  std::atomic<long> systemCalls;
  std::atomic<long> fakeSystemCalls;
  std::atomic<long> allocations;
  std::array<long, kExports> transfers;  // I2C_RDWR requests per export
  std::array<long, kExports> failures;   // non-zero statuses per export
  long probeSystemCalls;
  long probeAllocations;
  std::atomic<bool> done;
};

Counts* shared = nullptr;
std::atomic<long> transfers{0};

}  // namespace

// The fake device's hooks: its own work is neither an allocation nor a
// system call of the library's; its I2C_RDWR requests are the bus transfers.
extern "C" __attribute__((visibility("default"))) void orvex_fake_device_enter(const char* call) {
  bench::pauseAllocationCount(true);
  bench::setAsideSystemCalls(true);
  if (std::strcmp(call, "I2C_RDWR") == 0) transfers.fetch_add(1, std::memory_order_relaxed);
}

extern "C" __attribute__((visibility("default"))) void orvex_fake_device_leave() {
  bench::setAsideSystemCalls(false);
  bench::pauseAllocationCount(false);
}

namespace {

void runAll(Counts* counts) {
  for (int round = 0; round < kRounds; ++round) {
    for (std::size_t i = 0; i < kExports; ++i) {
      const long before = transfers.load(std::memory_order_relaxed);
      const std::int32_t status = bench::kDeviceExports[i].call();
      if (counts != nullptr) {
        counts->transfers[i] += transfers.load(std::memory_order_relaxed) - before;
        if (status != 0) ++counts->failures[i];
      }
    }
  }
}

}  // namespace

int main() {
  if (!bench::adapterLoadedFrom(ORVEX_FAKE_I2C_DIR)) return 2;
  if (std::getenv("TARVISH_I2C_BUS") == nullptr || std::getenv("ORVEX_TEST_FAKE_I2C") == nullptr) {
    std::fprintf(stderr, "TARVISH_I2C_BUS and ORVEX_TEST_FAKE_I2C must name the fake device\n");
    return 2;
  }
  if (Tarvish_Open() != 0) {
    std::fprintf(stderr, "Tarvish_Open failed: %s (%s); is the fake device set up?\n",
                 Tarvish_ErrorMessage(), Tarvish_IO_ErrorMessage());
    return 2;
  }
  void* page =
      mmap(nullptr, sizeof(Counts), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  if (page == MAP_FAILED) return 2;
  shared = new (page) Counts{};

  runAll(nullptr);  // bound once by the loader, and the heap grown, before anything counts
  const pid_t child = fork();
  if (child < 0) return 2;
  if (child == 0) {
    if (!bench::trapSystemCalls(&shared->systemCalls, &shared->fakeSystemCalls)) _exit(3);
    bench::countAllocations(true);
    syscall(SYS_getppid);
    void* volatile probe = std::malloc(16);
    std::free(probe);
    shared->probeSystemCalls = shared->systemCalls.exchange(0);
    shared->probeAllocations = bench::takeAllocationCount();
    runAll(shared);
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
  bool ok = shared->allocations == 0 && shared->systemCalls == 0;
  long allTransfers = 0;
  for (std::size_t i = 0; i < kExports; ++i) {
    const bench::DeviceExport& e = bench::kDeviceExports[i];
    const long expected = static_cast<long>(e.busTransfers) * kRounds;
    allTransfers += shared->transfers[i];
    if (shared->transfers[i] != expected || shared->failures[i] != 0) {
      std::printf("%s: %ld bus transfers (expected %ld), %ld failures\n", e.name,
                  shared->transfers[i], expected, shared->failures[i]);
      ok = false;
    }
  }
  std::printf(
      "%ld export calls over the i2c-dev backend (%zu exports x %d): %ld heap allocations, %ld "
      "system calls, %ld I2C_RDWR requests (one per query and setting, two per presence test)\n",
      static_cast<long>(kExports) * kRounds, kExports, kRounds, shared->allocations.load(),
      shared->systemCalls.load(), allTransfers);
  std::printf("RESULT i2cdev_allocations %ld\nRESULT i2cdev_system_calls %ld\n",
              shared->allocations.load(), shared->systemCalls.load());
  return ok ? 0 : 1;
}
