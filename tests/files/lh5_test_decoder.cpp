// A bit reader and canonical-Huffman tables read from the stream: slow and simple on purpose.
#include "tests/files/lh5_test_decoder.h"

#include <map>

namespace tqtest {
namespace {

class Bits {
 public:
  explicit Bits(const std::vector<uint8_t>& data) : data_(data) {}
  std::optional<uint32_t> Get(int count) {
    uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
      // Reading past the end yields zeros, as the archivers do (the last byte is padded).
      const size_t byte = position_ / 8;
      if (byte > data_.size() + 4) return std::nullopt;
      const int bit = byte < data_.size() ? (data_[byte] >> (7 - position_ % 8)) & 1 : 0;
      value = value << 1 | static_cast<uint32_t>(bit);
      ++position_;
    }
    return value;
  }

 private:
  const std::vector<uint8_t>& data_;
  size_t position_ = 0;
};

// A canonical code: (length, code) -> symbol; or a constant symbol for the one-symbol form.
struct Tree {
  std::map<std::pair<int, uint32_t>, int> codes;
  int constant = -1;
};

std::optional<Tree> Build(const std::vector<int>& lengths) {
  Tree tree;
  uint32_t code = 0;
  uint64_t kraft = 0;
  for (int length = 1; length <= 16; ++length) {
    for (size_t s = 0; s < lengths.size(); ++s) {
      if (lengths[s] == length) {
        tree.codes[{length, code++}] = static_cast<int>(s);
        kraft += uint64_t{1} << (16 - length);
      }
    }
    code <<= 1;
  }
  if (kraft != (uint64_t{1} << 16)) return std::nullopt;  // the reader needs a complete tree
  return tree;
}

std::optional<int> Decode(Bits& bits, const Tree& tree) {
  if (tree.constant >= 0) return tree.constant;
  uint32_t code = 0;
  for (int length = 1; length <= 16; ++length) {
    const std::optional<uint32_t> bit = bits.Get(1);
    if (!bit) return std::nullopt;
    code = code << 1 | *bit;
    const auto found = tree.codes.find({length, code});
    if (found != tree.codes.end()) return found->second;
  }
  return std::nullopt;
}

std::optional<Tree> ReadSmallTree(Bits& bits, int symbols, int countBits, int zeroRunAfter) {
  const std::optional<uint32_t> n = bits.Get(countBits);
  if (!n || static_cast<int>(*n) > symbols) return std::nullopt;
  if (*n == 0) {
    const std::optional<uint32_t> c = bits.Get(countBits);
    if (!c || static_cast<int>(*c) >= symbols) return std::nullopt;
    Tree tree;
    tree.constant = static_cast<int>(*c);
    return tree;
  }
  std::vector<int> lengths(static_cast<size_t>(symbols), 0);
  for (int i = 0; i < static_cast<int>(*n);) {
    std::optional<uint32_t> c = bits.Get(3);
    if (!c) return std::nullopt;
    if (*c == 7) {
      for (;;) {
        const std::optional<uint32_t> bit = bits.Get(1);
        if (!bit) return std::nullopt;
        if (*bit == 0) break;
        if (++*c > 16) return std::nullopt;
      }
    }
    lengths[static_cast<size_t>(i++)] = static_cast<int>(*c);
    if (i == zeroRunAfter) {
      const std::optional<uint32_t> zeros = bits.Get(2);
      if (!zeros) return std::nullopt;
      i += static_cast<int>(*zeros);
    }
  }
  return Build(lengths);
}

std::optional<Tree> ReadLiteralTree(Bits& bits, const Tree& lengthTree) {
  const std::optional<uint32_t> n = bits.Get(9);
  if (!n || *n > 510) return std::nullopt;
  if (*n == 0) {
    const std::optional<uint32_t> c = bits.Get(9);
    if (!c || *c >= 510) return std::nullopt;
    Tree tree;
    tree.constant = static_cast<int>(*c);
    return tree;
  }
  std::vector<int> lengths(510, 0);
  for (size_t i = 0; i < *n;) {
    const std::optional<int> c = Decode(bits, lengthTree);
    if (!c) return std::nullopt;
    if (*c <= 2) {
      std::optional<uint32_t> run = *c == 0 ? std::optional<uint32_t>(1)
                                  : *c == 1 ? bits.Get(4)
                                            : bits.Get(9);
      if (!run) return std::nullopt;
      const size_t count = *c == 0 ? 1 : *c == 1 ? *run + 3 : *run + 20;
      if (i + count > *n) return std::nullopt;
      i += count;
    } else {
      lengths[i++] = *c - 2;
    }
  }
  return Build(lengths);
}

}  // namespace

std::optional<std::vector<uint8_t>> DecodeLh5(const std::vector<uint8_t>& packed, size_t size) {
  Bits bits(packed);
  std::vector<uint8_t> out;
  out.reserve(size);
  while (out.size() < size) {
    const std::optional<uint32_t> count = bits.Get(16);
    if (!count || *count == 0) return std::nullopt;
    const std::optional<Tree> lengthTree = ReadSmallTree(bits, 19, 5, 3);
    if (!lengthTree) return std::nullopt;
    const std::optional<Tree> literalTree = ReadLiteralTree(bits, *lengthTree);
    if (!literalTree) return std::nullopt;
    const std::optional<Tree> positionTree = ReadSmallTree(bits, 14, 4, -1);
    if (!positionTree) return std::nullopt;
    for (uint32_t k = 0; k < *count && out.size() < size; ++k) {
      const std::optional<int> c = Decode(bits, *literalTree);
      if (!c) return std::nullopt;
      if (*c < 256) {
        out.push_back(static_cast<uint8_t>(*c));
        continue;
      }
      const std::optional<int> p = Decode(bits, *positionTree);
      if (!p) return std::nullopt;
      uint32_t distance = static_cast<uint32_t>(*p);
      if (*p > 1) {
        const std::optional<uint32_t> low = bits.Get(*p - 1);
        if (!low) return std::nullopt;
        distance = (uint32_t{1} << (*p - 1)) | *low;
      }
      ++distance;
      if (distance > out.size() || distance > 8192) return std::nullopt;
      const size_t length = static_cast<size_t>(*c) - 253;
      for (size_t j = 0; j < length; ++j) out.push_back(out[out.size() - distance]);
    }
  }
  out.resize(size);
  return out;
}

}  // namespace tqtest
