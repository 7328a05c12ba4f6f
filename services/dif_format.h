// The DIF binary-difference format: what turns an old buffer into a new one. Every integer is
// an unsigned 32-bit little-endian word.
//
//   magic 0x464944 ("DIF\0"), header length (28), header: version (1), flag (1), CRC-32 of
//   the old buffer, CRC-32 of the new buffer, block size used for matching (128), block
//   count, new length;
//   then per block: record length (data length + 12 x operation count + 40), block header
//   length (36), block header: storage method, operation count, entry CRC-32, entry size,
//   old start, old end, new start, new end, data length; the operations (kind, first, last:
//   kind 0 copies [first, last) of the block's old region, kind 1 inserts [first, last) of
//   the block's literal data); the literal data.
//
// Reading follows the lengths the file announces: a header or block header is read up to its
// known size, excess bytes are skipped and missing words read as zero; an operation whose 12
// bytes are not all present reads as a copy of nothing. The reader refuses (as malformed) any
// file whose lengths, counts or bounds do not fit, before a byte of output is produced, so
// that applying never reads or writes out of bounds:
//   - a length pair or an announced header that the file does not hold; a bad magic; header
//     version 0; no block;
//   - a storage method other than 0 (stored): this library defines no compression method;
//   - an old region outside the old buffer; literal data that the file does not hold;
//   - an operation kind other than 0 and 1, or bounds outside the old region or the data;
//   - blocks that do not rebuild the new buffer exactly: each block's operations produce its
//     new region [new start, new end), and the regions follow one another from 0 to the new
//     length. (The creator always writes such blocks; checking it bounds the output by what
//     the file really describes, so a few bytes cannot demand gigabytes.)
// The record length word is written as above and not relied upon when reading.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tq {

inline constexpr uint32_t kDifMagic = 0x464944;
inline constexpr uint32_t kDifHeaderLength = 28;
inline constexpr uint32_t kDifBlockHeaderLength = 36;
inline constexpr uint32_t kDifVersion = 1;
inline constexpr uint32_t kDifFormatFlag = 1;
inline constexpr uint32_t kDifMatchBlockSize = 128;
inline constexpr uint32_t kDifMethodStored = 0;
inline constexpr uint32_t kDifOperationBytes = 12;

enum DifOperationKind : uint32_t { kDifCopyOld = 0, kDifInsertLiteral = 1 };

struct DifHeader {
  uint32_t version = 0;
  uint32_t flag = 0;
  uint32_t oldCrc = 0;
  uint32_t newCrc = 0;
  uint32_t blockSize = 0;
  uint32_t blockCount = 0;
  uint32_t newLength = 0;
};

struct DifBlockHeader {
  uint32_t method = 0;
  uint32_t operationCount = 0;
  uint32_t entryCrc = 0;
  uint32_t entrySize = 0;
  uint32_t oldStart = 0;
  uint32_t oldEnd = 0;
  uint32_t newStart = 0;
  uint32_t newEnd = 0;
  uint32_t dataLength = 0;
};

struct DifOperation {
  uint32_t kind = kDifCopyOld;
  uint32_t first = 0;
  uint32_t last = 0;
};

// ---- writing -----------------------------------------------------------------------------

// A block to write: its header (operation count and data length are taken from the other
// members), its operations and its literal data as pieces written one after the other.
struct DifBlockToWrite {
  DifBlockHeader header;
  std::vector<DifOperation> operations;
  std::vector<std::span<const uint8_t>> dataPieces;
  uint64_t dataLength = 0;  // the pieces' total
};

// The size of the file, which may exceed what 32-bit lengths can describe.
uint64_t DifFileSize(const std::vector<DifBlockToWrite>& blocks);
// Writes the file into `out`, which holds DifFileSize bytes. The header's block count is
// taken from `blocks`.
void WriteDif(const DifHeader& header, const std::vector<DifBlockToWrite>& blocks, uint8_t* out);

// ---- reading -----------------------------------------------------------------------------

// A block as read and checked: operations are decoded on demand from the file's bytes.
struct DifBlockView {
  DifBlockHeader header;
  std::span<const uint8_t> operationBytes;  // the operations present in the file
  std::span<const uint8_t> data;            // the literal data
  // Operations beyond those present read as copies of nothing and need no visit.
  uint32_t presentOperations() const {
    return static_cast<uint32_t>(operationBytes.size() / kDifOperationBytes);
  }
  DifOperation operation(uint32_t i) const;
};

struct DifLayout {
  DifHeader header;
  std::vector<DifBlockView> blocks;
};

// Reads the magic and the header; the position after them goes to `end`. False when the
// file is malformed at that level.
bool ReadDifHeader(std::span<const uint8_t> dif, DifHeader& header, size_t& end);

// Reads and checks every block that `header` announces, from `start` on, against an old
// buffer of `oldSize` bytes (the rules above). False when the file is malformed.
bool ReadDifBlocks(std::span<const uint8_t> dif, const DifHeader& header, size_t start,
                   uint64_t oldSize, DifLayout& layout);

}  // namespace tq
