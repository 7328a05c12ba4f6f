// Applying a DIF to an old buffer to rebuild the new one, and the reading shared with the
// creator's verification. Steps and statuses: a malformed header 2; an old buffer whose CRC-32
// differs from the header's 3 (before any block is looked at); malformed blocks 2; a rebuilt
// buffer whose CRC-32 differs from the header's 4; no memory for the output 1. The whole file
// is checked before the output is requested, so a failing call writes nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "services/dif_format.h"
#include "services/dif_status.h"

namespace tq {

// Reads `dif` for applying to `old`. `knownOldCrc` spares recomputing the old buffer's
// CRC-32 when the caller has it.
DiffOutcome ReadDifFor(std::span<const uint8_t> old, std::span<const uint8_t> dif,
                       std::optional<uint32_t> knownOldCrc, DifLayout& layout);

// Calls visit(pointer, size) for each piece of the rebuilt buffer in order: ranges of the
// old buffer and of the literal data. The layout must come from ReadDifFor with `old`.
template <typename Visit>
void ForEachPiece(const DifLayout& layout, std::span<const uint8_t> old, Visit&& visit) {
  for (const DifBlockView& block : layout.blocks) {
    const uint8_t* region = old.data() + block.header.oldStart;
    const uint32_t count = block.presentOperations();
    for (uint32_t i = 0; i < count; ++i) {
      const DifOperation op = block.operation(i);
      if (op.last == op.first) continue;
      const uint8_t* from = op.kind == kDifCopyOld ? region : block.data.data();
      visit(from + op.first, size_t{op.last - op.first});
    }
  }
}

// Called once with the new length; returns where the rebuilt buffer goes (any non-null
// pointer when the length is 0), or null when there is no memory for it.
using DiffOutputAllocator = std::function<uint8_t*(size_t)>;

DiffOutcome ApplyDifference(std::span<const uint8_t> old, std::span<const uint8_t> dif,
                            const DiffOutputAllocator& allocate);

}  // namespace tq
