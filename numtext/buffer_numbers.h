// Numbers read from buffers (BufferToInteger, BufferToReal): little-endian unsigned integers
// of 1, 2, 4 or 8 bytes, and IEEE reals of 4 or 8 bytes, at a byte offset.
//
// Invariants: nothing is read outside the buffer; a refused read gives its status and the
// value 0.
#pragma once

#include <cstdint>
#include <span>

namespace tq {

enum class BufferReadStatus { kOk, kNegativeOffset, kBadSize, kBeyondEnd };

template <typename Number>
struct BufferRead {
  BufferReadStatus status = BufferReadStatus::kOk;
  Number value = 0;
};

inline constexpr int32_t kBufferReadDefaultSize = 4;

BufferRead<int64_t> ReadBufferInteger(std::span<const uint8_t> bytes, int32_t offset,
                                      int32_t size);
BufferRead<double> ReadBufferReal(std::span<const uint8_t> bytes, int32_t offset, int32_t size);

}  // namespace tq
