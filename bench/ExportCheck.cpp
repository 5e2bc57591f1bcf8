// Runs every export of the device library many times over the null adapter
// and counts what it asks of the system meanwhile: heap allocations (malloc
// and its relatives, which operator new uses too, are replaced here by
// counting versions) and system calls (a seccomp filter in a child process
// traps every system call but the child's exit and counts it). Prints both
// counts; the exit status is 0 only when both are 0.
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "LoadedAdapter.h"
#include "Orvex.h"

// ---- Counting allocator ----------------------------------------------------

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* block);
}

namespace {

std::atomic<bool> counting{false};
std::atomic<long> allocations{0};

void counted() {
  if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace

#define EXPORTED extern "C" __attribute__((visibility("default")))

EXPORTED void* malloc(std::size_t size) {
  counted();
  return __libc_malloc(size);
}

EXPORTED void* calloc(std::size_t count, std::size_t size) {
  counted();
  return __libc_calloc(count, size);
}

EXPORTED void* realloc(void* block, std::size_t size) {
  counted();
  return __libc_realloc(block, size);
}

EXPORTED void* aligned_alloc(std::size_t alignment, std::size_t size) {
  counted();
  return __libc_memalign(alignment, size);
}

EXPORTED int posix_memalign(void** block, std::size_t alignment, std::size_t size) {
  counted();
  *block = __libc_memalign(alignment, size);
  return *block != nullptr ? 0 : 12;  // ENOMEM
}

EXPORTED void free(void* block) { __libc_free(block); }

// ---- Every export once -------------------------------------------------------

namespace {

volatile std::int64_t sink;
std::uint8_t u8;
std::uint8_t u8b;
std::uint16_t u16;
std::uint32_t u32;
float f1;
float f2;
double d;
char date[16];
char productId[81];

template <class T>
void keep(T value) {
  sink = static_cast<std::int64_t>(value);
}

using Call = void (*)();

const std::array<Call, 43> kExports{{
    [] { keep(Orvex_Version()); },
    [] { keep(Orvex_Check(&u8)); },
    [] { keep(Orvex_SetLPF(0, 12)); },
    [] { keep(Orvex_GetLPF(1, &u16, &u8)); },
    [] { keep(Orvex_GetLPF_Frequency(1000, 12)); },
    [] { keep(Orvex_GetLPF_Damping(1000, 12)); },
    [] { Orvex_GetLPF_Parameters(1000, 12, &f1, &f2); },
    [] { keep(Orvex_GetLPF_Alpha(12, 0.7f)); },
    [] { keep(Orvex_SetHPF_Tau(0, 5)); },
    [] { keep(Orvex_GetHPF_Tau(1, &u8)); },
    [] { keep(Orvex_GetHPF_Frequency(5)); },
    [] { keep(Orvex_SetAmplification(0, 1.5f)); },
    [] { keep(Orvex_GetAmplification(1, &f1)); },
    [] { keep(Orvex_SetPolarity(0, 1)); },
    [] { keep(Orvex_GetPolarity(1, &u8)); },
    [] { keep(Orvex_SetOffset(0, -1.0f)); },
    [] { keep(Orvex_GetOffset(1, &f1)); },
    [] { keep(Orvex_SetOffsetRange(10.0f)); },
    [] { keep(Orvex_GetOffsetRange(&f1)); },
    [] { keep(Orvex_SetFLT(0, 8)); },
    [] { keep(Orvex_GetFLT(1, &u16, &u8b)); },
    [] { keep(Orvex_GetFLT_Frequency(100, 8)); },
    [] { keep(Orvex_GetFLT_Damping(100, 8)); },
    [] { Orvex_GetFLT_Parameters(100, 8, &f1, &f2); },
    [] { keep(Orvex_GetFLT_Alpha(8, 0.7f)); },
    [] { keep(Orvex_SetAmplitude(0, 2.5f)); },
    [] { keep(Orvex_GetAmplitude(1, &f1)); },
    [] { keep(Orvex_GetMeasAmplit(0, &f1)); },
    [] { keep(Orvex_SetOperMode(1, 2)); },
    [] { keep(Orvex_GetOperMode(0, &u8)); },
    [] { keep(Orvex_FW_Ver(&u16)); },
    [] { keep(Orvex_FW_Date(date)); },
    [] { keep(Orvex_Prod_ID(productId)); },
    [] { keep(Orvex_Prod_No(&u32)); },
    [] { keep(Orvex_Get5V(&f1)); },
    [] { keep(Orvex_Get3V(&f1)); },
    [] { keep(Orvex_GetTemp(&f1)); },
    [] { keep(Orvex_GetClkCPU(&f1)); },
    [] { keep(Orvex_GetClkPer(&f1)); },
    [] { keep(Orvex_GetClkADC(&f1)); },
    [] { keep(Orvex_GetClkDAC(&f1)); },
    [] { keep(Orvex_GetClkFilt(&f1)); },
    [] { keep(Orvex_GetUptime(&d)); },
}};

constexpr int kRounds = 100000;

void runAll() {
  for (int round = 0; round < kRounds; ++round) {
    for (Call call : kExports) call();
  }
}

// ---- System call trap --------------------------------------------------------

// Shared with the child, which cannot write anywhere else once trapped.
struct Counts {
  std::atomic<long> systemCalls;
  std::atomic<long> allocations;
  long probeSystemCalls;  // what one deliberate call of each kind counted
  long probeAllocations;
  std::atomic<bool> done;
};

Counts* shared = nullptr;

void onTrappedCall(int) { shared->systemCalls.fetch_add(1, std::memory_order_relaxed); }

// Every system call but exit, exit_group and the return from the trap
// handler raises SIGSYS and is skipped.
bool trapSystemCalls() {
  static sock_filter filter[] = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_rt_sigreturn, 3, 0),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_exit_group, 2, 0),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_exit, 1, 0),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_TRAP),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
  };
  static sock_fprog program{static_cast<unsigned short>(sizeof filter / sizeof filter[0]), filter};
  struct sigaction action {};
  action.sa_handler = onTrappedCall;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_NODEFER;
  if (sigaction(SIGSYS, &action, nullptr) != 0) return false;
  if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0) return false;
  return prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

}  // namespace

int main() {
  if (!bench::nullAdapterLoaded()) return 2;

  void* page =
      mmap(nullptr, sizeof(Counts), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  if (page == MAP_FAILED) return 2;
  shared = new (page) Counts{};

  runAll();  // every call bound once by the loader before anything counts
  const pid_t child = fork();
  if (child < 0) return 2;
  if (child == 0) {
    if (!trapSystemCalls()) _exit(3);
    counting = true;
    // One system call and one allocation of its own first, to show that both
    // are seen.
    syscall(SYS_getppid);
    void* volatile probe = std::malloc(16);
    std::free(probe);
    shared->probeSystemCalls = shared->systemCalls.exchange(0);
    shared->probeAllocations = allocations.exchange(0);
    runAll();
    counting = false;
    shared->allocations = allocations.load();
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
  const long calls = static_cast<long>(kExports.size()) * kRounds;
  std::printf("%ld export calls (%zu exports x %d): %ld heap allocations, %ld system calls\n",
              calls, kExports.size(), kRounds, shared->allocations.load(),
              shared->systemCalls.load());
  std::printf("RESULT allocations %ld\nRESULT system_calls %ld\n", shared->allocations.load(),
              shared->systemCalls.load());
  return shared->allocations == 0 && shared->systemCalls == 0 ? 0 : 1;
}
