// The device runtime library's pseudo-random generator: one seed per process, values 0 to
// 32767 (RAND_MAX of the device's C library). Glibc's rand() has a 31-bit range, so the
// device's generator is provided here: a linear congruential generator whose 15-bit output is
// bits 16..30 of the state.
#pragma once

#include <cstdint>

namespace ce {

inline constexpr int kRandMax = 32767;

int rand();
void srand(uint32_t seed);

}  // namespace ce
