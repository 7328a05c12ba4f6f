// HexToBuffer on arbitrary text and options, and BufferToHex on the same bytes: reading never
// fails but on a bad group or grouping, and any buffer written with an accepted layout reads
// back to itself.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "numtext/hex_text.h"

namespace {

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 8) return 0;
  int32_t grouping, options;
  std::memcpy(&grouping, data, 4);
  std::memcpy(&options, data + 4, 4);
  data += 8;
  size -= 8;
  std::u16string text(size / 2, u'\0');
  std::memcpy(text.data(), data, text.size() * 2);
  std::vector<uint8_t> bytes;
  std::u16string bad;
  const tq::HexStatus read = tq::HexToBuffer(text, grouping, options, bytes, &bad);
  Require(read == tq::HexStatus::kOk || bytes.empty());
  Require(bytes.size() <= text.size());

  const std::vector<uint8_t> raw(data, data + size);
  std::u16string written;
  if (tq::BufferToHex(raw, grouping, options, written) != tq::HexStatus::kOk) return 0;
  const int32_t plainGrouping = grouping & ~tq::kHexCharacterColumn;
  if ((grouping & tq::kHexCharacterColumn) == 0) {
    std::vector<uint8_t> back;
    Require(tq::HexToBuffer(written, plainGrouping, options & tq::kHexMemoryOrder, back) ==
            tq::HexStatus::kOk);
    Require(back == raw);
  }
  return 0;
}
