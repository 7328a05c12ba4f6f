// Code lengths and canonical codes of the static Huffman trees the "-lh5-" coder writes.
//
// Invariants: lengths are at most `limit` bits and, when two or more symbols occur, describe a
// complete tree (the reader rejects any other); a single used symbol is left to the caller's
// one-symbol form (all lengths 0). Codes are canonical: shorter codes first, and within one
// length in symbol order, most significant bit first.
#pragma once

#include <cstdint>
#include <vector>

namespace tq::lzh {

// Lengths for the given frequencies (0 for unused symbols).
std::vector<uint8_t> HuffmanLengths(const std::vector<uint32_t>& frequencies, int limit);
std::vector<uint16_t> CanonicalCodes(const std::vector<uint8_t>& lengths);

}  // namespace tq::lzh
