// CRC-32 of IEEE 802.3: the reflected polynomial 0xEDB88320, initial value all ones, final
// complement (the value zlib's crc32 gives). Values chain like zlib's: start from 0 and pass
// the previous result to continue over the next bytes.
//
// Long inputs are folded with carry-less multiplication where the processor has it; the
// table-driven path (sixteen bytes per step) gives the same values everywhere else.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tq {

uint32_t Crc32Update(uint32_t crc, const uint8_t* data, size_t size);

inline uint32_t Crc32(std::span<const uint8_t> bytes) {
  return Crc32Update(0, bytes.data(), bytes.size());
}

// The table-driven computation alone (the reference the folded path is checked against).
uint32_t Crc32UpdateByTable(uint32_t crc, const uint8_t* data, size_t size);

}  // namespace tq
