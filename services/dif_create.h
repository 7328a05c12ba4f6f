// Creating a DIF that turns an old buffer into a new one. Steps and statuses: an empty old
// buffer 6; buffers with the same CRC-32 7 (nothing to do); a DIF larger than the allowed
// percentage of the old buffer 5 (only with the size-limit option and a limit above 0); then
// the DIF is verified by applying it to the old buffer and comparing with the new one, and
// the creation succeeds only when that rebuilds the new buffer exactly (otherwise the status
// of the applying step, or 0). Buffers or a DIF beyond 32-bit lengths, or memory running
// out, give 1.
//
// Matching: the old buffer's 128-byte blocks are indexed by hash (OldBlockIndex); the new
// buffer is scanned at every position not covered by a copy, while a full 128-byte window
// remains beyond the position with at least one more byte after it; a hit that matches 128
// bytes or more becomes one copy, as long as the bytes go on matching; every other byte joins
// the pending literal run. Archive mode builds the single-block form like the default mode.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "services/dif_format.h"
#include "services/dif_status.h"

namespace tq {

inline constexpr int32_t kDiffOptionSizeLimit = 2;
inline constexpr int32_t kDiffOptionArchive = 4;
inline constexpr int32_t kDiffDefaultLargestPercent = 50;

struct DiffCreation {
  DiffOutcome outcome;
  std::vector<uint8_t> dif;  // empty unless the creation succeeded
};

DiffCreation CreateDifference(std::span<const uint8_t> oldBuffer,
                              std::span<const uint8_t> newBuffer, int32_t options = 0,
                              int32_t largestPercent = kDiffDefaultLargestPercent);

// The operations and literal data that rebuild `newRegion` from `oldRegion` (one block).
void MatchRegions(std::span<const uint8_t> oldRegion, std::span<const uint8_t> newRegion,
                  DifBlockToWrite& block);

}  // namespace tq
