// Adler-32 over a byte range with the 5552-byte reduction rule.
#include "services/adler32.h"

namespace tq {

uint32_t Adler32Update(uint32_t value, const uint8_t* data, size_t size) {
  // 5552 is the largest n with 255 n (n + 1) / 2 + (n + 1) (65521 - 1) below 2^32.
  constexpr size_t kLongestRun = 5552;
  uint32_t a = value & 0xffff, b = value >> 16;
  while (size > 0) {
    const size_t run = size < kLongestRun ? size : kLongestRun;
    for (size_t i = 0; i < run; ++i) {
      a += data[i];
      b += a;
    }
    a %= kAdlerModulus;
    b %= kAdlerModulus;
    data += run;
    size -= run;
  }
  return b << 16 | a;
}

}  // namespace tq
