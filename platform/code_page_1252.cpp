// The 0x80..0x9F row of code page 1252; every other byte has the value of its code point.
#include "platform/code_page_1252.h"

namespace ce {
namespace {

constexpr char16_t kRow80[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

}  // namespace

char16_t DecodeCp1252(unsigned char byte) {
  return (byte >= 0x80 && byte <= 0x9F) ? kRow80[byte - 0x80] : static_cast<char16_t>(byte);
}

std::optional<unsigned char> EncodeCp1252(char16_t unit) {
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<unsigned char>(unit);
  for (int i = 0; i < 32; ++i) {
    if (kRow80[i] == unit) return static_cast<unsigned char>(0x80 + i);
  }
  return std::nullopt;
}

}  // namespace ce
