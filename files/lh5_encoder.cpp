// The "-lh5-" coder: hash-chain match finding with one step of lazy evaluation, and blocks
// written with three static Huffman trees (the tree of code lengths, the literal/length tree
// and the position tree).
#include "files/lh5_encoder.h"

#include <algorithm>
#include <cstring>

#include "files/huffman_lengths.h"

namespace tq::lzh {
namespace {

constexpr size_t kWindowBytes = 4 * kDictionarySize + kMaxMatch + 1;
constexpr int kHashBits = 15;
constexpr int kMaxChain = 96;
constexpr size_t kGoodEnough = 128;  // a match this long is taken without a lazy look
constexpr int kLengthTreeSymbols = 19;
constexpr int kLengthTreeBits = 5;
constexpr int kLiteralCountBits = 9;
constexpr int kPositionCountBits = 4;
constexpr int kMaxCodeBits = 16;

uint32_t Hash(const uint8_t* p) {
  return ((static_cast<uint32_t>(p[0]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[2]) *
          2654435761u) >> (32 - kHashBits);
}

int BitLength(size_t value) {
  int bits = 0;
  while (value != 0) {
    value >>= 1;
    ++bits;
  }
  return bits;
}

size_t UsedSymbols(const std::vector<uint32_t>& frequencies, int* only) {
  size_t used = 0;
  *only = 0;
  for (size_t s = 0; s < frequencies.size(); ++s) {
    if (frequencies[s] != 0) {
      ++used;
      *only = static_cast<int>(s);
    }
  }
  return used;
}

size_t TrimmedCount(const std::vector<uint8_t>& lengths) {
  size_t n = lengths.size();
  while (n > 0 && lengths[n - 1] == 0) --n;
  return n;
}

}  // namespace

Lh5Encoder::Lh5Encoder(ByteSink& sink, size_t blockBytes)
    : sink_(sink),
      window_(kWindowBytes),
      head_(size_t{1} << kHashBits, -1),
      prev_(kWindowBytes, -1),
      blockBytes_(std::max<size_t>(blockBytes, 64)),
      literalFrequency_(kLiteralLengthSymbols, 0),
      positionFrequency_(kPositionSymbols, 0) {
  out_.reserve(16384);
}

void Lh5Encoder::Feed(const uint8_t* data, size_t count) {
  while (count > 0 && !stopped_) {
    if (end_ == window_.size()) Slide();
    const size_t take = std::min(count, window_.size() - end_);
    std::memcpy(window_.data() + end_, data, take);
    end_ += take;
    data += take;
    count -= take;
    Compress(false);
  }
}

void Lh5Encoder::Finish() {
  Compress(true);
  if (!symbols_.empty()) SendBlock();
  PutBits(7, 0);  // completes a partly filled last byte
  FlushOutput();
}

// Drops the oldest part of the window, keeping the dictionary behind the coder.
void Lh5Encoder::Slide() {
  const size_t shift = pos_ > kDictionarySize ? pos_ - kDictionarySize : 0;
  if (shift == 0) return;
  std::memmove(window_.data(), window_.data() + shift, end_ - shift);
  std::memmove(prev_.data(), prev_.data() + shift, (end_ - shift) * sizeof(int32_t));
  std::fill(prev_.begin() + static_cast<ptrdiff_t>(end_ - shift), prev_.end(), -1);
  const auto moved = static_cast<int32_t>(shift);
  for (int32_t& h : head_) h = h >= moved ? h - moved : -1;
  for (size_t i = 0; i < end_ - shift; ++i) {
    if (prev_[i] >= 0) prev_[i] = prev_[i] >= moved ? prev_[i] - moved : -1;
  }
  end_ -= shift;
  pos_ -= shift;
}

void Lh5Encoder::Insert(size_t position) {
  if (position + kMinMatch > end_) return;
  const uint32_t h = Hash(window_.data() + position);
  prev_[position] = head_[h];
  head_[h] = static_cast<int32_t>(position);
}

size_t Lh5Encoder::LongestMatch(size_t position, size_t* distance) const {
  const size_t limit = std::min(kMaxMatch, end_ - position);
  if (limit < kMinMatch) return 0;
  const uint8_t* here = window_.data() + position;
  size_t best = kMinMatch - 1;
  int chain = kMaxChain;
  for (int32_t candidate = prev_[position]; candidate >= 0 && chain-- > 0;
       candidate = prev_[static_cast<size_t>(candidate)]) {
    const size_t from = static_cast<size_t>(candidate);
    if (position - from > kDictionarySize) break;
    const uint8_t* there = window_.data() + from;
    if (there[best] != here[best] || there[0] != here[0]) continue;
    size_t length = 0;
    while (length < limit && there[length] == here[length]) ++length;
    if (length > best) {
      best = length;
      *distance = position - from;
      if (length == limit) break;
    }
  }
  return best >= kMinMatch ? best : 0;
}

void Lh5Encoder::Compress(bool final) {
  // Without the final flag, keep a full match and one lazy step of lookahead.
  const size_t stop = final ? end_ : (end_ > kMaxMatch + 1 ? end_ - kMaxMatch - 1 : 0);
  while (pos_ < stop && !stopped_) {
    Insert(pos_);
    size_t distance = 0;
    size_t length = 0;
    if (!pending_ || pendingLength_ < kGoodEnough) length = LongestMatch(pos_, &distance);
    if (pending_ && pendingLength_ >= kMinMatch && length <= pendingLength_) {
      EmitMatch(pendingLength_, pendingDistance_);
      const size_t matchEnd = pos_ - 1 + pendingLength_;
      for (size_t p = pos_ + 1; p < matchEnd; ++p) Insert(p);
      pos_ = matchEnd;
      pending_ = false;
      continue;
    }
    if (pending_) EmitLiteral(window_[pos_ - 1]);
    pending_ = true;
    pendingLength_ = length;
    pendingDistance_ = distance;
    ++pos_;
  }
  if (final && pending_ && !stopped_) {
    if (pendingLength_ >= kMinMatch) {
      EmitMatch(pendingLength_, pendingDistance_);
    } else {
      EmitLiteral(window_[pos_ - 1]);
    }
    pending_ = false;
  }
}

void Lh5Encoder::EmitLiteral(uint8_t byte) {
  symbols_.push_back(byte);
  ++literalFrequency_[byte];
  blockCost_ += 1;
  EndSymbol();
}

void Lh5Encoder::EmitMatch(size_t length, size_t distance) {
  const auto symbol = static_cast<uint16_t>(length - kMinMatch + 256);
  symbols_.push_back(symbol);
  positions_.push_back(static_cast<uint16_t>(distance - 1));
  ++literalFrequency_[symbol];
  ++positionFrequency_[static_cast<size_t>(BitLength(distance - 1))];
  blockCost_ += 3;
  EndSymbol();
}

void Lh5Encoder::EndSymbol() {
  if (symbols_.size() % 8 == 1) blockCost_ += 1;
  if (blockCost_ + 4 >= blockBytes_ || symbols_.size() == 0xffff) SendBlock();
}

void Lh5Encoder::PutBits(int count, uint32_t value) {
  bitBuffer_ = (bitBuffer_ << count) | (value & ((1u << count) - 1));
  bitCount_ += count;
  while (bitCount_ >= 8) {
    bitCount_ -= 8;
    out_.push_back(static_cast<uint8_t>(bitBuffer_ >> bitCount_));
  }
  bitBuffer_ &= (1u << bitCount_) - 1;
  if (out_.size() >= 16000) FlushOutput();
}

void Lh5Encoder::FlushOutput() {
  if (!out_.empty() && !stopped_ && !sink_.Put(out_.data(), out_.size())) stopped_ = true;
  out_.clear();
}

void Lh5Encoder::SendBlock() {
  const std::vector<uint8_t> literalLengths = HuffmanLengths(literalFrequency_, kMaxCodeBits);
  const std::vector<uint16_t> literalCodes = CanonicalCodes(literalLengths);
  PutBits(16, static_cast<uint32_t>(symbols_.size()));

  // Lengths of a tree written with the small trees' rule (3 bits, then a run of ones).
  const auto writeSmallLengths = [this](const std::vector<uint8_t>& lengths, int countBits,
                                        int zeroRunAfter) {
    const size_t n = TrimmedCount(lengths);
    PutBits(countBits, static_cast<uint32_t>(n));
    for (size_t i = 0; i < n;) {
      const int k = lengths[i++];
      if (k <= 6) {
        PutBits(3, static_cast<uint32_t>(k));
      } else {
        PutBits(k - 3, (1u << (k - 3)) - 2);
      }
      if (static_cast<int>(i) == zeroRunAfter) {
        int zeros = 0;
        while (zeros < 3 && i < n && lengths[i] == 0) {
          ++zeros;
          ++i;
        }
        PutBits(2, static_cast<uint32_t>(zeros));
      }
    }
  };

  int only = 0;
  if (UsedSymbols(literalFrequency_, &only) < 2) {
    PutBits(kLengthTreeBits, 0);
    PutBits(kLengthTreeBits, 0);
    PutBits(kLiteralCountBits, 0);
    PutBits(kLiteralCountBits, static_cast<uint32_t>(only));
  } else {
    // Literal/length code lengths are coded with the length tree: 0 one zero, 1 a run of
    // 3..18 zeros (4 more bits), 2 a run of 20 or more (9 more bits), k + 2 length k.
    const size_t n = TrimmedCount(literalLengths);
    struct Step {
      int symbol;
      int extraBits;
      uint32_t extra;
    };
    std::vector<Step> steps;
    for (size_t i = 0; i < n;) {
      const int k = literalLengths[i++];
      if (k != 0) {
        steps.push_back({k + 2, 0, 0});
        continue;
      }
      size_t run = 1;
      while (i < n && literalLengths[i] == 0) {
        ++i;
        ++run;
      }
      if (run <= 2) {
        for (size_t r = 0; r < run; ++r) steps.push_back({0, 0, 0});
      } else if (run <= 18) {
        steps.push_back({1, 4, static_cast<uint32_t>(run - 3)});
      } else if (run == 19) {
        steps.push_back({0, 0, 0});
        steps.push_back({1, 4, 15});
      } else {
        steps.push_back({2, kLiteralCountBits, static_cast<uint32_t>(run - 20)});
      }
    }
    std::vector<uint32_t> stepFrequency(kLengthTreeSymbols, 0);
    for (const Step& s : steps) ++stepFrequency[static_cast<size_t>(s.symbol)];
    const std::vector<uint8_t> stepLengths = HuffmanLengths(stepFrequency, kMaxCodeBits);
    const std::vector<uint16_t> stepCodes = CanonicalCodes(stepLengths);
    int onlyStep = 0;
    if (UsedSymbols(stepFrequency, &onlyStep) < 2) {
      PutBits(kLengthTreeBits, 0);
      PutBits(kLengthTreeBits, static_cast<uint32_t>(onlyStep));
    } else {
      writeSmallLengths(stepLengths, kLengthTreeBits, 3);
    }
    PutBits(kLiteralCountBits, static_cast<uint32_t>(n));
    for (const Step& s : steps) {
      const auto symbol = static_cast<size_t>(s.symbol);
      if (stepLengths[symbol] != 0) PutBits(stepLengths[symbol], stepCodes[symbol]);
      if (s.extraBits != 0) PutBits(s.extraBits, s.extra);
    }
  }

  const std::vector<uint8_t> positionLengths = HuffmanLengths(positionFrequency_, kMaxCodeBits);
  const std::vector<uint16_t> positionCodes = CanonicalCodes(positionLengths);
  int onlyPosition = 0;
  if (UsedSymbols(positionFrequency_, &onlyPosition) < 2) {
    PutBits(kPositionCountBits, 0);
    PutBits(kPositionCountBits, static_cast<uint32_t>(onlyPosition));
  } else {
    writeSmallLengths(positionLengths, kPositionCountBits, -1);
  }

  size_t nextPosition = 0;
  for (const uint16_t symbol : symbols_) {
    if (literalLengths[symbol] != 0) PutBits(literalLengths[symbol], literalCodes[symbol]);
    if (symbol < 256) continue;
    const uint16_t p = positions_[nextPosition++];
    const int bits = BitLength(p);
    if (positionLengths[static_cast<size_t>(bits)] != 0) {
      PutBits(positionLengths[static_cast<size_t>(bits)], positionCodes[static_cast<size_t>(bits)]);
    }
    if (bits > 1) PutBits(bits - 1, p);
  }

  symbols_.clear();
  positions_.clear();
  std::fill(literalFrequency_.begin(), literalFrequency_.end(), 0);
  std::fill(positionFrequency_.begin(), positionFrequency_.end(), 0);
  blockCost_ = 0;
}

}  // namespace tq::lzh
