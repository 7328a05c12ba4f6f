// Process-wide generator state, updated atomically so concurrent callers never lose a step.
#include "platform/crt_random.h"

#include <atomic>

namespace ce {
namespace {

std::atomic<uint32_t> gState{1};

constexpr uint32_t Next(uint32_t state) { return state * 214013u + 2531011u; }

}  // namespace

int rand() {
  uint32_t state = gState.load(std::memory_order_relaxed);
  uint32_t next;
  do {
    next = Next(state);
  } while (!gState.compare_exchange_weak(state, next, std::memory_order_relaxed));
  return static_cast<int>((next >> 16) & 0x7fff);
}

void srand(uint32_t seed) { gState.store(seed, std::memory_order_relaxed); }

}  // namespace ce
