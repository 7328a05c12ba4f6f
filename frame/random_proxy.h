// The random-number proxy (pQueryProxy id 6): a two-word object, behaviour table and reference
// count, whose Random(a, b) draws from the run-time library's generator shared with Random
// and InitRandom.
#pragma once

#include <cstdint>

namespace tq {

struct RandomProxy;
struct RandomProxyTable {
  int32_t (*addRef)(RandomProxy*);                      // 0
  int32_t (*release)(RandomProxy*);                     // 1: 0 when destroyed, else the count
  int32_t (*random)(RandomProxy*, int32_t a, int32_t b);  // 2: between a and b inclusive
  void (*deletingDestructor)(RandomProxy*);             // 3
};

struct RandomProxy {
  const RandomProxyTable* table;
  int32_t references;
};

RandomProxy* CreateRandomProxy();

// An integer between a and b inclusive from rand(): offset = range x r / 32768, in 64 bits when
// the range is 65536 or more.
int32_t RandomBetween(int32_t a, int32_t b);

}  // namespace tq
