// Code page 1252 (Western European), our own exact table.
//
// Invariants: decoding is total: every byte maps to one UTF-16 unit, the five bytes that the
// page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) to the C1 controls of the same value,
// as the device does. Encoding is the exact inverse: the 256 code units that decoding yields
// map back to their byte, nothing else has a byte (no best-fit approximations).
#pragma once

#include <optional>

namespace ce {

char16_t DecodeCp1252(unsigned char byte);
std::optional<unsigned char> EncodeCp1252(char16_t unit);

}  // namespace ce
