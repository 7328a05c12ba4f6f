// The checks run in the order negative offset, size, then bounds, so a call with several
// faults reports the first of them.
#include "numtext/buffer_numbers.h"

#include <cstring>

namespace tq {
namespace {

BufferReadStatus Check(std::span<const uint8_t> bytes, int32_t offset, int32_t size,
                       bool sizeAllowed) {
  if (offset < 0) return BufferReadStatus::kNegativeOffset;
  if (!sizeAllowed) return BufferReadStatus::kBadSize;
  if (static_cast<uint64_t>(offset) + static_cast<uint64_t>(size) > bytes.size())
    return BufferReadStatus::kBeyondEnd;
  return BufferReadStatus::kOk;
}

}  // namespace

BufferRead<int64_t> ReadBufferInteger(std::span<const uint8_t> bytes, int32_t offset,
                                      int32_t size) {
  BufferRead<int64_t> read;
  read.status = Check(bytes, offset, size, size == 1 || size == 2 || size == 4 || size == 8);
  if (read.status != BufferReadStatus::kOk) return read;
  uint64_t value = 0;
  for (int32_t i = size - 1; i >= 0; --i)
    value = (value << 8) | bytes[static_cast<size_t>(offset + i)];
  read.value = static_cast<int64_t>(value);
  return read;
}

BufferRead<double> ReadBufferReal(std::span<const uint8_t> bytes, int32_t offset, int32_t size) {
  BufferRead<double> read;
  read.status = Check(bytes, offset, size, size == 4 || size == 8);
  if (read.status != BufferReadStatus::kOk) return read;
  const uint8_t* p = bytes.data() + offset;
  if (size == 4) {
    float single;
    std::memcpy(&single, p, 4);
    read.value = single;
  } else {
    std::memcpy(&read.value, p, 8);
  }
  return read;
}

}  // namespace tq
