// URL percent-encoding and percent-decoding: the two escape tables, PercentEncode,
// PercentDecode, and the UrlEncode / UrlDecode workers with their encodings (7 the VM's code
// page as it is, 8 and 9 through UTF-8, 10 component mode).
//
// Invariants: the general table escapes the bytes 0-32, 34, 37, 43, 60, 62, 91-94, 96 and
// 123-255; the component table escapes those and also 33, 35, 36, 38-42, 44-47, 58, 59, 61,
// 63, 64 and 95. Decoding never reads past the end of its text: a '%' too close to the end
// stops it there.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tq {

// The escape entry of `byte` ("%XX" without the '%': two upper-case digits), or empty.
std::string_view GeneralEscape(uint8_t byte);
std::string_view ComponentEscape(uint8_t byte);

// General mode escapes every byte of the general table; component mode only the bytes whose
// component entry differs from the general one. Other bytes are copied as one unit each.
std::u16string PercentEncode(std::string_view bytes, bool componentMode);
// Writes the decoded units into `out` (at least text.size() units) and returns their count;
// the output is not terminated.
size_t PercentDecode(std::u16string_view text, char16_t* out);
std::u16string PercentDecode(std::u16string_view text);

inline constexpr int32_t kUrlDefaultEncoding = 7;
inline constexpr int32_t kUrlComponentEncoding = 10;

// `codePage` is the VM's current code page for 8-bit text.
std::u16string UrlEncode(std::string_view text, int32_t encoding, uint32_t codePage);
std::string UrlDecode(std::u16string_view text, int32_t encoding, uint32_t codePage);

}  // namespace tq
