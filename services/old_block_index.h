// The index of an old buffer's 128-byte blocks by their Adler-32 (start value 0): blocks at
// offsets 0, 128, 256, ... while the whole block lies in the buffer. Where several blocks
// share a hash, the last one wins: a lookup gives the offset of the last block with that hash,
// and that block alone is tried as a match.
//
// Open addressing over a power-of-two table at most half full, keyed by the full 32-bit
// hash, behind a one-bit-per-hash filter eight times larger than the block count, so that
// the frequent misses of the scan usually cost one cached bit test.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>

namespace tq {

class OldBlockIndex {
 public:
  static constexpr uint32_t kBlockSize = 128;

  explicit OldBlockIndex(std::span<const uint8_t> old);

  // The offset of the last block whose hash is `hash`, or -1.
  int64_t Find(uint32_t hash) const {
    const uint64_t f = FilterPosition(hash);
    if ((filter_.get()[f >> 6] >> (f & 63) & 1) == 0) return -1;
    for (uint64_t i = SlotPosition(hash);; i = (i + 1) & slotMask_) {
      const uint64_t slot = slots_.get()[i];
      if (slot == 0) return -1;
      if (slot >> 32 == hash) return int64_t{static_cast<uint32_t>(slot) - 1} * kBlockSize;
    }
  }

  // The hash of one block (the Adler-32 of its 128 bytes with start value 0).
  static uint32_t BlockHash(const uint8_t* block);

 private:
  struct Free {
    void operator()(uint64_t* p) const { std::free(p); }
  };
  // Zeroed words; calloc hands large tables over as fresh zero pages without clearing them.
  using Words = std::unique_ptr<uint64_t, Free>;

  uint64_t SlotPosition(uint32_t hash) const {
    return (hash * 0x9E3779B97F4A7C15ull) >> slotShift_;
  }
  uint64_t FilterPosition(uint32_t hash) const {
    return (hash * 0xC2B2AE3D27D4EB4Full) >> filterShift_;
  }
  void Insert(uint32_t hash, uint64_t blockNumber);

  // (hash << 32) | (block number + 1); 0 marks an empty slot.
  Words slots_;
  uint64_t slotMask_ = 0;
  unsigned slotShift_ = 0;
  Words filter_;
  unsigned filterShift_ = 0;
};

}  // namespace tq
