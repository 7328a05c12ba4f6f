// Random bytes and the identifiers made from them: RandomBytes (a SHA-256 digest over a seed
// block), the version-4 UUID of NewUuid, the 32-byte buffer of RandomBuffer and the texts of
// GetGuid.
//
// Invariants: RandomBytes gives at most 32 bytes per call (one digest); the seed block mixes
// a process-wide call counter, so two calls never hash the same block, and 16 bytes of the
// device's cryptographic generator, so that two processes started in the same millisecond do
// not draw the same identifiers.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace tq {

inline constexpr size_t kRandomBytesMax = 32;

// Fills out[0..count) (count at most 32; larger counts are cut to 32).
void RandomBytes(uint8_t* out, size_t count);

using Uuid = std::array<uint8_t, 16>;
// 16 random bytes with the version (4) and variant (binary 10) bits of RFC 4122.
Uuid NewUuid();
std::array<uint8_t, 32> RandomBuffer();

// GetGuid: format 2 is 32 random bytes as 64 lower-case hexadecimal digits; format 0 a GUID
// from the device's COM service as 32 digits; every other format the braced 38-character
// form. Empty when the GUID service fails or is missing.
std::u16string GuidText(int32_t format);

}  // namespace tq
