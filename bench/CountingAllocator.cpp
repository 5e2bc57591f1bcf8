#include "CountingAllocator.h"

#include <atomic>
#include <cstddef>

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* block);
}

namespace {

std::atomic<bool> counting{false};
std::atomic<bool> paused{false};
std::atomic<long> allocations{0};

void counted() {
  if (counting.load(std::memory_order_relaxed) && !paused.load(std::memory_order_relaxed)) {
    allocations.fetch_add(1, std::memory_order_relaxed);
  }
}

}  // namespace

namespace bench {

void countAllocations(bool on) { counting = on; }
void pauseAllocationCount(bool on) { paused = on; }
long allocationCount() { return allocations.load(); }
long takeAllocationCount() { return allocations.exchange(0); }

}  // namespace bench

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
