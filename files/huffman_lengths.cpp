// Length-limited Huffman code lengths: a plain Huffman tree built with a heap; when a code is
// longer than the limit the frequencies are halved (keeping every used symbol at least 1) and
// the tree is built again, which always ends because flat frequencies give short codes.
#include "files/huffman_lengths.h"

#include <algorithm>
#include <queue>

namespace tq::lzh {
namespace {

struct Node {
  uint64_t weight;
  int index;  // leaves: the symbol; inner nodes: symbolCount + their number
};

struct Heavier {
  bool operator()(const Node& a, const Node& b) const {
    return a.weight != b.weight ? a.weight > b.weight : a.index > b.index;
  }
};

// Depths of the leaves of the Huffman tree over the used symbols.
std::vector<uint8_t> TreeDepths(const std::vector<uint64_t>& weights, int* deepest) {
  const int count = static_cast<int>(weights.size());
  std::priority_queue<Node, std::vector<Node>, Heavier> heap;
  for (int s = 0; s < count; ++s) {
    if (weights[static_cast<size_t>(s)] > 0) heap.push({weights[static_cast<size_t>(s)], s});
  }
  std::vector<int> parent(static_cast<size_t>(2 * count), -1);
  int next = count;
  while (heap.size() > 1) {
    const Node a = heap.top();
    heap.pop();
    const Node b = heap.top();
    heap.pop();
    parent[static_cast<size_t>(a.index)] = next;
    parent[static_cast<size_t>(b.index)] = next;
    heap.push({a.weight + b.weight, next++});
  }
  std::vector<uint8_t> depths(static_cast<size_t>(count), 0);
  *deepest = 0;
  for (int s = 0; s < count; ++s) {
    if (weights[static_cast<size_t>(s)] == 0) continue;
    int depth = 0;
    for (int n = s; parent[static_cast<size_t>(n)] >= 0; n = parent[static_cast<size_t>(n)]) ++depth;
    depths[static_cast<size_t>(s)] = static_cast<uint8_t>(std::min(depth, 255));
    *deepest = std::max(*deepest, depth);
  }
  return depths;
}

}  // namespace

std::vector<uint8_t> HuffmanLengths(const std::vector<uint32_t>& frequencies, int limit) {
  std::vector<uint64_t> weights(frequencies.begin(), frequencies.end());
  const auto used = std::count_if(weights.begin(), weights.end(), [](uint64_t w) { return w > 0; });
  if (used < 2) return std::vector<uint8_t>(frequencies.size(), 0);
  for (;;) {
    int deepest = 0;
    std::vector<uint8_t> depths = TreeDepths(weights, &deepest);
    if (deepest <= limit) return depths;
    for (uint64_t& w : weights) {
      if (w > 0) w = (w + 1) / 2;
    }
  }
}

std::vector<uint16_t> CanonicalCodes(const std::vector<uint8_t>& lengths) {
  std::vector<uint16_t> codes(lengths.size(), 0);
  uint32_t code = 0;
  for (int length = 1; length <= 16; ++length) {
    for (size_t s = 0; s < lengths.size(); ++s) {
      if (lengths[s] == length) codes[s] = static_cast<uint16_t>(code++);
    }
    code <<= 1;
  }
  return codes;
}

}  // namespace tq::lzh
