// The random-number proxy handed to the VM.
#include "frame/random_proxy.h"

#include "platform/crt_random.h"

namespace tq {
namespace {

int32_t AddRef(RandomProxy* p) { return ++p->references; }
void DeletingDestructor(RandomProxy* p) { delete p; }
int32_t Release(RandomProxy* p) {
  if (--p->references <= 0) {
    p->table->deletingDestructor(p);
    return 0;
  }
  return p->references;
}
int32_t Random(RandomProxy*, int32_t a, int32_t b) { return RandomBetween(a, b); }

constexpr RandomProxyTable kTable = {&AddRef, &Release, &Random, &DeletingDestructor};

}  // namespace

RandomProxy* CreateRandomProxy() { return new RandomProxy{&kTable, 1}; }

int32_t RandomBetween(int32_t a, int32_t b) {
  const int64_t low = a < b ? a : b;
  const int64_t range = (a < b ? int64_t{b} - a : int64_t{a} - b) + 1;
  const int64_t r = ce::rand();
  int64_t offset;
  if (range >= 65536)
    offset = (range * r) / 32768;
  else
    offset = static_cast<int32_t>(r * range) / 32768;
  return static_cast<int32_t>(low + offset);
}

}  // namespace tq
