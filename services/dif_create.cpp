// Creating and verifying a DIF. The scan keeps a rolling hash of the window at the current
// position while it advances one byte at a time, and starts it afresh after a copy.
#include "services/dif_create.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

#include "services/adler32.h"
#include "services/crc32.h"
#include "services/dif_apply.h"
#include "services/old_block_index.h"

namespace tq {
namespace {

constexpr uint32_t kWindow = OldBlockIndex::kBlockSize;
constexpr uint64_t kMaxLength = std::numeric_limits<uint32_t>::max();

// How many leading bytes of a and b are equal, at most `limit`.
size_t MatchLength(const uint8_t* a, const uint8_t* b, size_t limit) {
  size_t k = 0;
  for (; k + 8 <= limit; k += 8) {
    uint64_t x, y;
    std::memcpy(&x, a + k, 8);
    std::memcpy(&y, b + k, 8);
    // Little-endian: the lowest differing bit belongs to the first differing byte.
    if (x != y) return k + static_cast<size_t>(__builtin_ctzll(x ^ y)) / 8;
  }
  while (k < limit && a[k] == b[k]) ++k;
  return k;
}

// Applies `dif` to `old` without materialising the result, comparing it with `expected`.
// When they are equal the rebuilt CRC-32 is the expected one; otherwise the applying step's
// own check decides between status 4 and 0.
DiffOutcome Verify(std::span<const uint8_t> old, std::span<const uint8_t> expected, uint32_t oldCrc,
                   std::span<const uint8_t> dif) {
  DifLayout layout;
  const DiffOutcome read = ReadDifFor(old, dif, oldCrc, layout);
  if (!read.succeeded) return read;
  size_t at = 0;
  bool same = layout.header.newLength == expected.size();
  ForEachPiece(layout, old, [&](const uint8_t* from, size_t size) {
    if (same && (size > expected.size() - at || std::memcmp(from, &expected[at], size) != 0))
      same = false;
    at += size;
  });
  if (same && at == expected.size()) return DiffOutcome::Success();
  uint32_t rebuiltCrc = 0;
  ForEachPiece(layout, old, [&](const uint8_t* from, size_t size) {
    rebuiltCrc = Crc32Update(rebuiltCrc, from, size);
  });
  return DiffOutcome::Failure(rebuiltCrc != layout.header.newCrc ? DiffStatus::kWrongResult
                                                                 : DiffStatus::kNone);
}

}  // namespace

void MatchRegions(std::span<const uint8_t> old, std::span<const uint8_t> neu,
                  DifBlockToWrite& block) {
  const size_t n = neu.size();
  uint64_t dataLength = 0;
  size_t literalStart = 0;
  auto flushLiteral = [&](size_t end) {
    if (end == literalStart) return;
    const uint64_t size = end - literalStart;
    block.operations.push_back({kDifInsertLiteral, static_cast<uint32_t>(dataLength),
                                static_cast<uint32_t>(dataLength + size)});
    block.dataPieces.push_back(neu.subspan(literalStart, size));
    dataLength += size;
  };

  if (old.size() >= kWindow && n > kWindow) {
    const OldBlockIndex index(old);
    RollingAdler32<kWindow> window;
    bool windowAtP = false;  // whether `window` holds the hash of neu[p, p + 128)
    size_t p = 0;
    while (p + kWindow < n) {
      if (!windowAtP) window.Start(&neu[p]);
      const int64_t s = index.Find(window.value());
      if (s >= 0) {
        const size_t at = static_cast<size_t>(s);
        const size_t m = MatchLength(&neu[p], &old[at], std::min(n - p, old.size() - at));
        if (m >= kWindow) {
          flushLiteral(p);
          block.operations.push_back(
              {kDifCopyOld, static_cast<uint32_t>(at), static_cast<uint32_t>(at + m)});
          p += m;
          literalStart = p;
          windowAtP = false;
          continue;
        }
      }
      // neu[p] stays in the literal run; the window moves on by one byte when the next
      // position is still scanned.
      windowAtP = p + 1 + kWindow < n;
      if (windowAtP) window.Roll(neu[p], neu[p + kWindow]);
      ++p;
    }
  }
  flushLiteral(n);
  block.dataLength = dataLength;
}

namespace {

// The creation itself; running out of memory surfaces as std::bad_alloc.
DiffCreation CreateDifferenceOrThrow(std::span<const uint8_t> old, std::span<const uint8_t> neu,
                                     int32_t options, int32_t largestPercent) {
  DiffCreation result;
  auto fail = [&result](DiffStatus status) {
    result.outcome = DiffOutcome::Failure(status);
    result.dif.clear();
    return std::move(result);
  };
  if (old.empty()) return fail(DiffStatus::kEmptyOriginal);
  const uint32_t oldCrc = Crc32(old);
  const uint32_t newCrc = Crc32(neu);
  if (oldCrc == newCrc) return fail(DiffStatus::kNothingToDo);
  if (old.size() > kMaxLength || neu.size() > kMaxLength) return fail(DiffStatus::kBlockFailed);

  DifHeader header;
  header.version = kDifVersion;
  header.flag = kDifFormatFlag;
  header.oldCrc = oldCrc;
  header.newCrc = newCrc;
  header.blockSize = kDifMatchBlockSize;
  header.blockCount = 1;
  header.newLength = static_cast<uint32_t>(neu.size());

  // Archive mode (kDiffOptionArchive) would cut along archive entries; the single stored
  // block covering both buffers is what a creator falls back to, and what is built here.
  std::vector<DifBlockToWrite> blocks(1);
  DifBlockToWrite& block = blocks[0];
  block.header.method = kDifMethodStored;
  block.header.oldStart = 0;
  block.header.oldEnd = static_cast<uint32_t>(old.size());
  block.header.newStart = 0;
  block.header.newEnd = static_cast<uint32_t>(neu.size());
  MatchRegions(old, neu, block);

  const uint64_t size = DifFileSize(blocks);
  if (size > kMaxLength) return fail(DiffStatus::kBlockFailed);
  result.dif.resize(static_cast<size_t>(size));
  WriteDif(header, blocks, result.dif.data());

  if ((options & kDiffOptionSizeLimit) != 0 && largestPercent > 0) {
    const double percent = std::trunc(static_cast<double>(size) * 100 / old.size());
    if (largestPercent < percent) return fail(DiffStatus::kTooLarge);
  }
  const DiffOutcome verified = Verify(old, neu, oldCrc, result.dif);
  if (!verified.succeeded) return fail(verified.status);
  result.outcome = DiffOutcome::Success();
  return result;
}

}  // namespace

DiffCreation CreateDifference(std::span<const uint8_t> old, std::span<const uint8_t> neu,
                              int32_t options, int32_t largestPercent) {
  try {
    return CreateDifferenceOrThrow(old, neu, options, largestPercent);
  } catch (const std::bad_alloc&) {
    return {DiffOutcome::Failure(DiffStatus::kBlockFailed), {}};
  }
}

}  // namespace tq
