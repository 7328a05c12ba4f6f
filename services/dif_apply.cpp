// Applying a DIF. The output is written in order, so its CRC-32 is computed while it is
// written: each piece is copied in cache-sized chunks and the chunk is checksummed while it
// is still in cache.
#include "services/dif_apply.h"

#include <cstring>
#include <new>

#include "services/crc32.h"

namespace tq {

DiffOutcome ReadDifFor(std::span<const uint8_t> old, std::span<const uint8_t> dif,
                       std::optional<uint32_t> knownOldCrc, DifLayout& layout) {
  DifHeader header;
  size_t blocksStart = 0;
  if (!ReadDifHeader(dif, header, blocksStart)) return DiffOutcome::Failure(DiffStatus::kMalformed);
  const uint32_t oldCrc = knownOldCrc ? *knownOldCrc : Crc32(old);
  if (oldCrc != header.oldCrc) return DiffOutcome::Failure(DiffStatus::kOtherOriginal);
  if (!ReadDifBlocks(dif, header, blocksStart, old.size(), layout))
    return DiffOutcome::Failure(DiffStatus::kMalformed);
  return DiffOutcome::Success();
}

DiffOutcome ApplyDifference(std::span<const uint8_t> old, std::span<const uint8_t> dif,
                            const DiffOutputAllocator& allocate) {
  DifLayout layout;
  DiffOutcome read;
  try {
    read = ReadDifFor(old, dif, std::nullopt, layout);
  } catch (const std::bad_alloc&) {  // the list of blocks
    return DiffOutcome::Failure(DiffStatus::kBlockFailed);
  }
  if (!read.succeeded) return read;
  uint8_t* out = allocate(layout.header.newLength);
  if (out == nullptr) return DiffOutcome::Failure(DiffStatus::kBlockFailed);

  constexpr size_t kChunk = 64 * 1024;
  uint32_t crc = 0;
  ForEachPiece(layout, old, [&](const uint8_t* from, size_t size) {
    while (size > 0) {
      const size_t n = size < kChunk ? size : kChunk;
      std::memcpy(out, from, n);
      crc = Crc32Update(crc, out, n);
      out += n;
      from += n;
      size -= n;
    }
  });
  if (crc != layout.header.newCrc) return DiffOutcome::Failure(DiffStatus::kWrongResult);
  return DiffOutcome::Success();
}

}  // namespace tq
