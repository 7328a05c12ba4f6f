// Buffers as hexadecimal text and back (BufferToHex, HexToBuffer).
//
// Options (bits of the VM's integers): the grouping's 0x100 adds a character column; the line
// width's 0x200 (and HexToBuffer's options' 0x200) writes and reads 2- and 4-byte groups in
// memory order (first byte most significant) instead of as little-endian numbers; the line
// width's 0x400 suppresses line breaks.
//
// Invariants: both functions are total over their input; they fail only on the conditions
// their status names, and then leave `out` empty.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tq {

inline constexpr int32_t kHexCharacterColumn = 0x100;
inline constexpr int32_t kHexMemoryOrder = 0x200;
inline constexpr int32_t kHexNoLineBreaks = 0x400;

enum class HexStatus { kOk, kBadGrouping, kNotHexadecimal };

// Grouping 0 (one byte, no separators), 1, 2 or 4 bytes per group; line width 0 means 16.
HexStatus BufferToHex(std::span<const uint8_t> bytes, int32_t grouping, int32_t lineWidth,
                      std::u16string& out);

// On kNotHexadecimal, `badGroup` receives the text of the group that does not start with a
// hexadecimal digit.
HexStatus HexToBuffer(std::u16string_view text, int32_t grouping, int32_t options,
                      std::vector<uint8_t>& out, std::u16string* badGroup = nullptr);

}  // namespace tq
