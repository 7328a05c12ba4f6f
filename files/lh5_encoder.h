// The "-lh5-" coder: LZSS over an 8192-byte dictionary (matches of 3 to 256 bytes) with static
// Huffman trees rebuilt for every block, written as the LHA archivers read it.
//
// Invariants: the output is a complete "-lh5-" stream for the bytes fed so far once Finish
// has run (the last partial byte padded with zero bits). Distances are 1..8192 (position
// codes of 13 bits), lengths 3..256 (codes 256..509). Every Huffman tree is either complete
// with codes of at most 16 bits or written in the one-symbol form. Bytes leave through the
// sink one buffer at a time; when the sink refuses, the coder stops emitting and the rest of
// the input is ignored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tq::lzh {

inline constexpr int kDictionaryBits = 13;
inline constexpr size_t kDictionarySize = size_t{1} << kDictionaryBits;
inline constexpr size_t kMaxMatch = 256;
inline constexpr size_t kMinMatch = 3;
inline constexpr int kLiteralLengthSymbols = 510;  // 256 literals, then length - 3 + 256
inline constexpr int kPositionSymbols = kDictionaryBits + 1;

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // False stops the coder.
  virtual bool Put(const uint8_t* bytes, size_t count) = 0;
};

class Lh5Encoder {
 public:
  // `blockBytes`: the size of the block buffer (each literal counts 1, each match 3, plus a
  // flag byte per 8 symbols); a block is written when it is full.
  explicit Lh5Encoder(ByteSink& sink, size_t blockBytes = 16384);
  Lh5Encoder(const Lh5Encoder&) = delete;
  Lh5Encoder& operator=(const Lh5Encoder&) = delete;

  void Feed(const uint8_t* data, size_t count);
  void Finish();
  bool stopped() const { return stopped_; }

 private:
  void Compress(bool final);
  void Slide();
  void Insert(size_t position);
  size_t LongestMatch(size_t position, size_t* distance) const;
  void EmitLiteral(uint8_t byte);
  void EmitMatch(size_t length, size_t distance);
  void EndSymbol();
  void SendBlock();
  void PutBits(int count, uint32_t value);
  void FlushOutput();

  ByteSink& sink_;
  bool stopped_ = false;

  // Window: bytes [0, end_) with the coder at pos_; older than pos_ - 8192 is never used.
  std::vector<uint8_t> window_;
  size_t end_ = 0;
  size_t pos_ = 0;
  std::vector<int32_t> head_;
  std::vector<int32_t> prev_;
  // Lazy evaluation carried across Feed calls.
  bool pending_ = false;
  size_t pendingLength_ = 0;
  size_t pendingDistance_ = 0;

  // The block being collected.
  size_t blockBytes_;
  size_t blockCost_ = 0;
  std::vector<uint16_t> symbols_;
  std::vector<uint16_t> positions_;
  std::vector<uint32_t> literalFrequency_;
  std::vector<uint32_t> positionFrequency_;

  uint32_t bitBuffer_ = 0;
  int bitCount_ = 0;
  std::vector<uint8_t> out_;
};

}  // namespace tq::lzh
