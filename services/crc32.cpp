// CRC-32 computation. Internally the register holds the complemented value; Crc32Update
// complements on entry and exit so that calls chain.
//
// Table path: sixteen tables, table k giving the effect of a byte followed by k zero bytes,
// so one step consumes sixteen bytes with sixteen independent lookups.
//
// Folded path (x86-64 with PCLMULQDQ and SSE4.1): four 128-bit lanes are carried forward 512
// bits at a time by carry-less multiplication of each 64-bit half with a residue x^k mod P
// (k the fold distance adjusted for the half's position); the lanes then fold into one, the
// 128-bit remainder folds to 64 bits and a Barrett reduction gives the 32-bit CRC. All
// constants are in the bit-reflected domain of the register.
#include "services/crc32.h"

#include <array>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace tq {
namespace {

constexpr uint32_t kPolynomial = 0xEDB88320u;

using CrcTables = std::array<std::array<uint32_t, 256>, 16>;

constexpr CrcTables MakeTables() {
  CrcTables t{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ kPolynomial : c >> 1;
    t[0][i] = c;
  }
  for (size_t k = 1; k < 16; ++k) {
    for (uint32_t i = 0; i < 256; ++i) t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xff];
  }
  return t;
}

constexpr CrcTables kTables = MakeTables();

uint32_t Load32(const uint8_t* p) {
  uint32_t w;
  std::memcpy(&w, p, 4);
  return w;  // little-endian hosts only (x86-64, AArch64)
}

// `reg` is the complemented register.
uint32_t TableRegister(uint32_t reg, const uint8_t* p, size_t n) {
  while (n >= 16) {
    const uint32_t w0 = Load32(p) ^ reg, w1 = Load32(p + 4), w2 = Load32(p + 8),
                   w3 = Load32(p + 12);
    reg = kTables[15][w0 & 0xff] ^ kTables[14][(w0 >> 8) & 0xff] ^ kTables[13][(w0 >> 16) & 0xff] ^
          kTables[12][w0 >> 24] ^ kTables[11][w1 & 0xff] ^ kTables[10][(w1 >> 8) & 0xff] ^
          kTables[9][(w1 >> 16) & 0xff] ^ kTables[8][w1 >> 24] ^ kTables[7][w2 & 0xff] ^
          kTables[6][(w2 >> 8) & 0xff] ^ kTables[5][(w2 >> 16) & 0xff] ^ kTables[4][w2 >> 24] ^
          kTables[3][w3 & 0xff] ^ kTables[2][(w3 >> 8) & 0xff] ^ kTables[1][(w3 >> 16) & 0xff] ^
          kTables[0][w3 >> 24];
    p += 16;
    n -= 16;
  }
  while (n-- > 0) reg = kTables[0][(reg ^ *p++) & 0xff] ^ (reg >> 8);
  return reg;
}

#if defined(__x86_64__)

// Residues of x^k mod P, bit-reflected, for the fold distances used below.
alignas(16) constexpr uint64_t kFold512[2] = {0x154442bd4, 0x1c6e41596};
alignas(16) constexpr uint64_t kFold128[2] = {0x1751997d0, 0x0ccaa009e};
alignas(16) constexpr uint64_t kFold64[2] = {0x163cd6124, 0};
// The polynomial (with its x^32 term) and the Barrett constant floor(x^64 / P), reflected.
alignas(16) constexpr uint64_t kBarrett[2] = {0x1db710641, 0x1f7011641};

__attribute__((target("pclmul,sse4.1"))) __m128i Fold(__m128i lane, __m128i constants,
                                                      __m128i next) {
  const __m128i low = _mm_clmulepi64_si128(lane, constants, 0x00);
  const __m128i high = _mm_clmulepi64_si128(lane, constants, 0x11);
  return _mm_xor_si128(_mm_xor_si128(low, high), next);
}

// Consumes `blocks` (at least 4) sixteen-byte blocks; returns the complemented register.
__attribute__((target("pclmul,sse4.1"))) uint32_t FoldedRegister(uint32_t reg, const uint8_t* p,
                                                                 size_t blocks) {
  auto load = [](const uint8_t* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  };
  __m128i lane[4] = {load(p), load(p + 16), load(p + 32), load(p + 48)};
  lane[0] = _mm_xor_si128(lane[0], _mm_cvtsi32_si128(static_cast<int>(reg)));
  p += 64;
  blocks -= 4;

  const __m128i k512 = _mm_load_si128(reinterpret_cast<const __m128i*>(kFold512));
  for (; blocks >= 4; blocks -= 4, p += 64) {
    for (int i = 0; i < 4; ++i) lane[i] = Fold(lane[i], k512, load(p + 16 * i));
  }

  const __m128i k128 = _mm_load_si128(reinterpret_cast<const __m128i*>(kFold128));
  __m128i x = Fold(lane[0], k128, lane[1]);
  x = Fold(x, k128, lane[2]);
  x = Fold(x, k128, lane[3]);
  for (; blocks > 0; --blocks, p += 16) x = Fold(x, k128, load(p));

  // 128 -> 64 bits: the low half times x^96 mod P joins the high half.
  const __m128i low32 = _mm_setr_epi32(-1, 0, -1, 0);
  x = _mm_xor_si128(_mm_srli_si128(x, 8), _mm_clmulepi64_si128(x, k128, 0x10));
  // 64 -> 32 bits plus a 32-bit remainder: the low word times x^64 mod P.
  const __m128i k64 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(kFold64));
  x = _mm_xor_si128(_mm_srli_si128(x, 4), _mm_clmulepi64_si128(_mm_and_si128(x, low32), k64, 0x00));
  // Barrett reduction: quotient estimate by mu, then subtract quotient x P.
  const __m128i barrett = _mm_load_si128(reinterpret_cast<const __m128i*>(kBarrett));
  __m128i t = _mm_clmulepi64_si128(_mm_and_si128(x, low32), barrett, 0x10);
  t = _mm_clmulepi64_si128(_mm_and_si128(t, low32), barrett, 0x00);
  x = _mm_xor_si128(x, t);
  return static_cast<uint32_t>(_mm_extract_epi32(x, 1));
}

bool HasCarrylessMultiply() {
  static const bool has = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
  return has;
}

#endif

// Below this length the table path is as fast as setting up the folds.
constexpr size_t kFoldThreshold = 256;

}  // namespace

uint32_t Crc32UpdateByTable(uint32_t crc, const uint8_t* data, size_t size) {
  return ~TableRegister(~crc, data, size);
}

uint32_t Crc32Update(uint32_t crc, const uint8_t* data, size_t size) {
  uint32_t reg = ~crc;
#if defined(__x86_64__)
  if (size >= kFoldThreshold && HasCarrylessMultiply()) {
    const size_t blocks = size / 16;
    reg = FoldedRegister(reg, data, blocks);
    data += blocks * 16;
    size -= blocks * 16;
  }
#endif
  return ~TableRegister(reg, data, size);
}

}  // namespace tq
