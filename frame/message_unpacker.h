// Unpacking of the library's packed message texts.
//
// A packed text is read two bytes at a time. A pair (a, b), both non-zero, gives the value
// v = a * 255 + b - 256, split into three base-40 digits (v / 1600, v / 40 mod 40, v mod 40)
// decoded in that order. The decoder holds a locked table (0 at the start) and a pending single
// shift (none at the start): digits 0..3 shift to table 0..3 for the next symbol, digits 4..7
// lock table 0..3 and cancel a pending shift, digits 8..39 emit entry (digit - 8) of the table
// in effect and clear the shift. Where table 3 is in effect, digit 38 is an escape for the one
// literal byte after the pair and digit 39 for a count byte N after the pair followed by N
// literal bytes; the rest of the pair's digits are dropped. An escape uses up a pending shift.
// One byte left at the end is a single digit, (byte + 255) mod 256.
//
// Invariants: never reads outside [packed, packed + packedLength) nor writes outside
// [out, out + capacity); bytes beyond capacity - 1 are counted but not stored; the output is
// terminated whenever capacity > 0. Digits of 40 or more (only a damaged text has them) emit
// nothing.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tq {

enum UnpackResult : int {
  kUnpackComplete = 0,
  kUnpackCut = 2,            // the output did not fit in capacity - 1 bytes
  kUnpackZeroByte = 4,       // a pair held a zero byte
  kUnpackEscapePastEnd = 5,  // an escape's literal bytes ran past the end of the input
};

// The output capacity that always holds an unpacked text and its terminator.
constexpr size_t UnpackCapacity(size_t packedLength) {
  return 2 + packedLength * 3 / 2;
}

// Unpacks `packed` into `out` (always terminated when capacity > 0). `*produced` (may be null)
// receives the number of bytes the text unpacks to, stored or not, without the terminator.
// Returns an UnpackResult; after 4 or 5 the output holds what was decoded before the fault.
int UnpackMessageText(const uint8_t* packed, size_t packedLength, uint8_t* out, size_t capacity,
                      size_t* produced);

}  // namespace tq
