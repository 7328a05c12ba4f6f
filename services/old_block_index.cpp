// Building the old-block index. Blocks are inserted in buffer order and a repeated hash
// overwrites its slot, which gives the last-wins rule. Hashes are computed a batch ahead and
// their slots prefetched, because on large buffers each insertion is otherwise a cache miss.
#include "services/old_block_index.h"

#include <new>

#include "services/adler32.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tq {
namespace {

// The smallest power-of-two exponent e with 2^e >= n (at least `floor`).
unsigned CeilLog2(uint64_t n, unsigned floor) {
  unsigned e = floor;
  while ((uint64_t{1} << e) < n) ++e;
  return e;
}

uint64_t* ZeroedWords(uint64_t count) {
  void* p = std::calloc(count, sizeof(uint64_t));
  if (p == nullptr) throw std::bad_alloc();
  return static_cast<uint64_t*>(p);
}

}  // namespace

uint32_t OldBlockIndex::BlockHash(const uint8_t* block) {
  // Within one block neither sum can overflow 32 bits: the second is at most
  // 255 x 128 x 129 / 2. The first sum is the byte total; the second weighs byte i by 128 - i.
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  __m128i first = zero, second = zero;
  for (uint32_t i = 0; i < kBlockSize; i += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + i));
    first = _mm_add_epi64(first, _mm_sad_epu8(bytes, zero));
    const short w = static_cast<short>(kBlockSize - i);  // weight of block[i]
    const __m128i lowWeights = _mm_setr_epi16(w, w - 1, w - 2, w - 3, w - 4, w - 5, w - 6, w - 7);
    const __m128i highWeights = _mm_sub_epi16(lowWeights, _mm_set1_epi16(8));
    second = _mm_add_epi32(second, _mm_madd_epi16(_mm_unpacklo_epi8(bytes, zero), lowWeights));
    second = _mm_add_epi32(second, _mm_madd_epi16(_mm_unpackhi_epi8(bytes, zero), highWeights));
  }
  const uint32_t a =
      static_cast<uint32_t>(_mm_cvtsi128_si32(first) + _mm_cvtsi128_si32(_mm_srli_si128(first, 8)));
  second = _mm_add_epi32(second, _mm_srli_si128(second, 8));
  second = _mm_add_epi32(second, _mm_srli_si128(second, 4));
  const uint32_t b = static_cast<uint32_t>(_mm_cvtsi128_si32(second));
#else
  uint32_t a = 0, b = 0;
  for (uint32_t i = 0; i < kBlockSize; ++i) {
    a += block[i];
    b += (kBlockSize - i) * block[i];
  }
#endif
  return (b % kAdlerModulus) << 16 | a;
}

void OldBlockIndex::Insert(uint32_t hash, uint64_t blockNumber) {
  const uint64_t f = FilterPosition(hash);
  filter_.get()[f >> 6] |= uint64_t{1} << (f & 63);
  const uint64_t entry = uint64_t{hash} << 32 | (blockNumber + 1);
  uint64_t* slots = slots_.get();
  for (uint64_t i = SlotPosition(hash);; i = (i + 1) & slotMask_) {
    if (slots[i] == 0 || slots[i] >> 32 == hash) {
      slots[i] = entry;
      return;
    }
  }
}

OldBlockIndex::OldBlockIndex(std::span<const uint8_t> old) {
  const uint64_t blocks = old.size() / kBlockSize;
  const unsigned slotBits = CeilLog2(blocks * 2, 4);
  slots_.reset(ZeroedWords(uint64_t{1} << slotBits));
  slotMask_ = (uint64_t{1} << slotBits) - 1;
  slotShift_ = 64 - slotBits;
  const unsigned filterBits = CeilLog2(blocks * 8, 6);
  filter_.reset(ZeroedWords((uint64_t{1} << filterBits) / 64));
  filterShift_ = 64 - filterBits;

  constexpr uint64_t kBatch = 16;
  uint32_t hashes[kBatch];
  for (uint64_t start = 0; start < blocks; start += kBatch) {
    const uint64_t n = blocks - start < kBatch ? blocks - start : kBatch;
    for (uint64_t k = 0; k < n; ++k) {
      hashes[k] = BlockHash(old.data() + (start + k) * kBlockSize);
      __builtin_prefetch(slots_.get() + SlotPosition(hashes[k]), 1);
      __builtin_prefetch(filter_.get() + (FilterPosition(hashes[k]) >> 6), 1);
    }
    for (uint64_t k = 0; k < n; ++k) Insert(hashes[k], start + k);
  }
}

}  // namespace tq
