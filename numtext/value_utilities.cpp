// Random numbers, parity and list comparison.
#include "numtext/value_utilities.h"

#include "frame/raise_error.h"
#include "frame/random_proxy.h"
#include "frame/text.h"
#include "platform/crt_random.h"
#include "platform/strings.h"
#include "platform/tick_count.h"

namespace tq {

double RandomUnit() { return ce::rand() * (1.0 / 32767); }

int32_t RandomUpTo(ComponentProxy* proxy, int32_t n) {
  if (n < 1) {
    RaiseError(proxy, 80260, {n});
    return 0;
  }
  const int64_t r = ce::rand();
  const int64_t offset =
      n < 65536 ? static_cast<int32_t>(r * n) / 32768 : (r * int64_t{n}) >> 15;
  return static_cast<int32_t>(offset + 1);
}

int32_t RandomBetweenBounds(ComponentProxy* proxy, int32_t low, int32_t high) {
  if (low > high) {
    RaiseError(proxy, 80210, {low, high});
    return 0;
  }
  return RandomBetween(low, high);
}

void InitRandomFromClock() {
  const uint32_t start = ce::GetTickCount();
  uint32_t now;
  while ((now = ce::GetTickCount()) == start) ce::Sleep(0);
  const uint32_t factor = static_cast<uint32_t>(ce::rand() * 10 / 32768 + 1);
  ce::srand(factor * now);
}

void InitRandomWithSeed(int32_t seed) {
  ce::srand(static_cast<uint32_t>(seed));
  (void)ce::rand();
}

namespace {
int Sign(int compareStringResult) {
  // CompareStringW answers 1, 2 or 3 (0 on failure, taken as equal).
  return compareStringResult == 0 ? 0 : compareStringResult - 2;
}
}  // namespace

int CompareListTexts(std::u16string_view a, std::u16string_view b) {
  return Sign(ce::CompareStringW(ce::LOCALE_USER_DEFAULT, 0, a.data(), static_cast<int>(a.size()),
                                 b.data(), static_cast<int>(b.size())));
}

}  // namespace tq
