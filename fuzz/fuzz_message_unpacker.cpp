// Fuzzes the message unpacker with arbitrary packed bytes and output capacities: it must never
// read or write out of bounds, must terminate its output, and must count the same bytes
// whatever the capacity.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "frame/message_unpacker.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  // The first two bytes choose the capacity; the rest is the packed text, copied to an exact
  // allocation so that the sanitizer sees any read past its end.
  const size_t capacity = (static_cast<size_t>(data[0]) << 8 | data[1]) % 4096;
  std::vector<uint8_t> packed(data + 2, data + size);
  std::vector<uint8_t> out(capacity);
  size_t produced = 0;
  const int result =
      tq::UnpackMessageText(packed.data(), packed.size(), out.data(), out.size(), &produced);
  std::vector<uint8_t> full(tq::UnpackCapacity(packed.size()));
  size_t fullProduced = 0;
  const int fullResult =
      tq::UnpackMessageText(packed.data(), packed.size(), full.data(), full.size(), &fullProduced);
  const bool cut = produced > (capacity == 0 ? 0 : capacity - 1);
  if (produced != fullProduced || fullResult == tq::kUnpackCut ||
      (result == tq::kUnpackCut) != (cut && fullResult == tq::kUnpackComplete) ||
      (capacity > 0 && out[produced < capacity ? produced : capacity - 1] != 0))
    std::abort();
  return 0;
}
