// Adler-32 as the difference format uses it: modulus 65521, both sums starting at 0 (not at
// 1 as in zlib's default), so a single byte b hashes to b x 0x10001 and the value of a window
// can be rolled forward one byte at a time. The value is (second sum << 16) | first sum.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tq {

inline constexpr uint32_t kAdlerModulus = 65521;

// Continues `value` (0 to start) over `size` bytes; sums are reduced at least every 5552
// bytes, the longest run that cannot overflow 32 bits.
uint32_t Adler32Update(uint32_t value, const uint8_t* data, size_t size);

// The hash of a window of kWidth bytes, moved forward one byte at a time.
template <uint32_t kWidth>
class RollingAdler32 {
 public:
  static_assert(kWidth * 255 < kAdlerModulus, "the first sum must stay below the modulus");

  void Start(const uint8_t* window) {
    a_ = 0;
    b_ = 0;
    for (uint32_t i = 0; i < kWidth; ++i) {
      a_ += window[i];
      b_ += a_;
    }
    b_ %= kAdlerModulus;
  }
  // Drops `leaving` (the window's first byte) and appends `entering`.
  void Roll(uint8_t leaving, uint8_t entering) {
    a_ = a_ - leaving + entering;
    // b - kWidth x leaving + a, kept non-negative by adding a multiple of the modulus.
    b_ = (b_ + kWidth * kAdlerModulus - kWidth * leaving + a_) % kAdlerModulus;
  }
  uint32_t value() const { return b_ << 16 | a_; }

 private:
  uint32_t a_ = 0;  // sum of the window's bytes: below the modulus by the assertion
  uint32_t b_ = 0;  // sum of the running first sums, reduced
};

}  // namespace tq
