// Shared by the difference tests: random buffers and edits, an independent reference of the
// creation rules (naive scan, zlib's checksums), applying a DIF, and byte-level access to DIF
// words.
#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <vector>

#include "services/dif_apply.h"

namespace tq::testing {

using Bytes = std::vector<uint8_t>;

// Random bytes; with a small alphabet, blocks repeat and hashes collide often.
Bytes RandomBuffer(std::mt19937_64& rng, size_t size, unsigned alphabet = 256);

// A copy of `old` with a few random edits: byte changes, insertions, deletions, moved and
// duplicated ranges.
Bytes Edited(std::mt19937_64& rng, const Bytes& old);

// The DIF that the creation rules give for (old, new), written word by word, or nullopt with
// the status when the rules stop before writing (6 empty old buffer, 7 equal CRCs).
struct ReferenceDif {
  std::optional<Bytes> dif;
  int status = 0;
};
ReferenceDif ReferenceCreate(const Bytes& old, const Bytes& neu);

// ApplyDifference into a buffer of its own, and whether it asked for that buffer at all.
struct Applied {
  DiffOutcome outcome;
  Bytes output;
  bool outputRequested = false;
};
Applied Apply(const Bytes& old, const Bytes& dif);

uint32_t WordAt(const Bytes& dif, size_t offset);
void SetWordAt(Bytes& dif, size_t offset, uint32_t value);
void AppendWord(Bytes& dif, uint32_t value);

// Offsets of the fields of a single-block DIF as the creator writes it.
namespace offset {
inline constexpr size_t kHeaderLength = 4;
inline constexpr size_t kVersion = 8;
inline constexpr size_t kOldCrc = 16;
inline constexpr size_t kNewCrc = 20;
inline constexpr size_t kBlockCount = 28;
inline constexpr size_t kNewLength = 32;
inline constexpr size_t kRecordLength = 36;
inline constexpr size_t kBlockHeaderLength = 40;
inline constexpr size_t kMethod = 44;
inline constexpr size_t kOperationCount = 48;
inline constexpr size_t kOldStart = 60;
inline constexpr size_t kOldEnd = 64;
inline constexpr size_t kNewStart = 68;
inline constexpr size_t kNewEnd = 72;
inline constexpr size_t kDataLength = 76;
inline constexpr size_t kOperations = 80;
}  // namespace offset

}  // namespace tq::testing
