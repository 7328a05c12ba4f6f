// Writing and reading DIF files. Positions are 64-bit so that announced lengths near 2^32
// cannot wrap; every read checks the remaining length first.
#include "services/dif_format.h"

#include <cstring>

namespace tq {
namespace {

constexpr uint64_t kRecordLengthBase = 40;  // added to data and operations in the record length

uint32_t ReadWord(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

uint8_t* WriteWord(uint8_t* p, uint32_t w) {
  p[0] = static_cast<uint8_t>(w);
  p[1] = static_cast<uint8_t>(w >> 8);
  p[2] = static_cast<uint8_t>(w >> 16);
  p[3] = static_cast<uint8_t>(w >> 24);
  return p + 4;
}

// Reads a header of `known` words announced as `announced` bytes at `pos`: the announced
// bytes up to the known size go over zeroed words (so a partial last word keeps its low
// bytes), the excess is skipped. False when the file is shorter than the announcement.
bool ReadWords(std::span<const uint8_t> file, size_t& pos, uint32_t announced, uint32_t* words,
               size_t known) {
  if (file.size() - pos < announced) return false;
  uint8_t bytes[kDifBlockHeaderLength] = {};
  const size_t taken = announced < known * 4 ? announced : known * 4;
  if (taken > 0) std::memcpy(bytes, &file[pos], taken);
  for (size_t i = 0; i < known; ++i) words[i] = ReadWord(bytes + 4 * i);
  pos += announced;
  return true;
}

// A (length, length) pair at `pos`.
bool ReadPair(std::span<const uint8_t> file, size_t& pos, uint32_t& first, uint32_t& second) {
  if (file.size() - pos < 8) return false;
  first = ReadWord(&file[pos]);
  second = ReadWord(&file[pos + 4]);
  pos += 8;
  return true;
}

}  // namespace

// ---- writing -----------------------------------------------------------------------------

uint64_t DifFileSize(const std::vector<DifBlockToWrite>& blocks) {
  uint64_t size = 8 + kDifHeaderLength;
  for (const DifBlockToWrite& b : blocks)
    size += 8 + kDifBlockHeaderLength + kDifOperationBytes * b.operations.size() + b.dataLength;
  return size;
}

void WriteDif(const DifHeader& header, const std::vector<DifBlockToWrite>& blocks, uint8_t* out) {
  uint8_t* p = WriteWord(out, kDifMagic);
  p = WriteWord(p, kDifHeaderLength);
  for (uint32_t w : {header.version, header.flag, header.oldCrc, header.newCrc, header.blockSize,
                     static_cast<uint32_t>(blocks.size()), header.newLength})
    p = WriteWord(p, w);
  for (const DifBlockToWrite& b : blocks) {
    const uint32_t count = static_cast<uint32_t>(b.operations.size());
    const uint32_t dataLength = static_cast<uint32_t>(b.dataLength);
    p = WriteWord(
        p, static_cast<uint32_t>(b.dataLength + kDifOperationBytes * count + kRecordLengthBase));
    p = WriteWord(p, kDifBlockHeaderLength);
    const DifBlockHeader& h = b.header;
    for (uint32_t w : {h.method, count, h.entryCrc, h.entrySize, h.oldStart, h.oldEnd, h.newStart,
                       h.newEnd, dataLength})
      p = WriteWord(p, w);
    for (const DifOperation& op : b.operations) {
      p = WriteWord(p, op.kind);
      p = WriteWord(p, op.first);
      p = WriteWord(p, op.last);
    }
    for (std::span<const uint8_t> piece : b.dataPieces) {
      if (!piece.empty()) std::memcpy(p, piece.data(), piece.size());
      p += piece.size();
    }
  }
}

// ---- reading -----------------------------------------------------------------------------

DifOperation DifBlockView::operation(uint32_t i) const {
  const uint8_t* p = operationBytes.data() + size_t{i} * kDifOperationBytes;
  return {ReadWord(p), ReadWord(p + 4), ReadWord(p + 8)};
}

bool ReadDifHeader(std::span<const uint8_t> dif, DifHeader& header, size_t& end) {
  size_t pos = 0;
  uint32_t magic = 0, length = 0;
  if (!ReadPair(dif, pos, magic, length) || magic != kDifMagic) return false;
  uint32_t w[7];
  if (!ReadWords(dif, pos, length, w, 7)) return false;
  header = {w[0], w[1], w[2], w[3], w[4], w[5], w[6]};
  if (header.version == 0 || header.blockCount == 0) return false;
  end = pos;
  return true;
}

bool ReadDifBlocks(std::span<const uint8_t> dif, const DifHeader& header, size_t start,
                   uint64_t oldSize, DifLayout& layout) {
  layout.header = header;
  layout.blocks.clear();
  size_t pos = start;
  uint64_t produced = 0;  // where the next block's new region must start
  // Each block takes at least 8 bytes, so a count beyond that fails on the file's end first.
  for (uint32_t n = 0; n < layout.header.blockCount; ++n) {
    uint32_t recordLength = 0, headerLength = 0;
    if (!ReadPair(dif, pos, recordLength, headerLength)) return false;
    uint32_t w[9];
    if (!ReadWords(dif, pos, headerLength, w, 9)) return false;
    DifBlockView block;
    block.header = {w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7], w[8]};
    const DifBlockHeader& h = block.header;
    if (h.method != kDifMethodStored) return false;
    if (h.oldStart > h.oldEnd || h.oldEnd > oldSize) return false;
    if (h.newStart != produced || h.newEnd < h.newStart || h.newEnd > layout.header.newLength)
      return false;

    const uint64_t remaining = dif.size() - pos;
    const uint64_t announcedOps = uint64_t{h.operationCount} * kDifOperationBytes;
    const uint64_t presentOps = announcedOps <= remaining
                                    ? announcedOps
                                    : remaining / kDifOperationBytes * kDifOperationBytes;
    block.operationBytes = dif.subspan(pos, static_cast<size_t>(presentOps));
    if (announcedOps > remaining) {
      // Truncated operations: nothing is left for data or for another block.
      pos = dif.size();
      if (h.dataLength > 0) return false;
    } else {
      pos += static_cast<size_t>(announcedOps);
      if (dif.size() - pos < h.dataLength) return false;
      block.data = dif.subspan(pos, h.dataLength);
      pos += h.dataLength;
    }

    const uint64_t oldRegion = h.oldEnd - h.oldStart;
    const uint64_t newRegion = h.newEnd - h.newStart;
    uint64_t written = 0;
    for (uint32_t i = 0; i < block.presentOperations(); ++i) {
      const DifOperation op = block.operation(i);
      const uint64_t limit = op.kind == kDifCopyOld         ? oldRegion
                             : op.kind == kDifInsertLiteral ? uint64_t{h.dataLength}
                                                            : 0;
      if (op.kind > kDifInsertLiteral || op.first > op.last || op.last > limit) return false;
      written += op.last - op.first;
      if (written > newRegion) return false;
    }
    if (written != newRegion) return false;
    produced = h.newEnd;
    layout.blocks.push_back(block);
  }
  return produced == layout.header.newLength;
}

}  // namespace tq
