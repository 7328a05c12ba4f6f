// The C conversions over char16_t. Each one writes its body (digits, point, exponent) into a
// stack buffer, then the sign and the padding around it into the result.
#include "numtext/printf_render.h"

#include <charconv>
#include <cmath>

namespace tq {
namespace {

// Sign + 309 integer digits + point + 100 decimals fits with room to spare.
constexpr size_t kBodyCapacity = 512;

void Pad(std::u16string& out, size_t count, char16_t c) { out.append(count, c); }

void Emit(std::u16string& out, char sign, const char* body, size_t length, const CConversion& c,
          bool zeroAllowed) {
  const size_t total = length + (sign != 0 ? 1 : 0);
  const size_t width = c.width > 0 ? static_cast<size_t>(c.width) : 0;
  const size_t fill = width > total ? width - total : 0;
  if (!c.left && !(c.zero && zeroAllowed)) Pad(out, fill, u' ');
  if (sign != 0) out += static_cast<char16_t>(sign);
  if (!c.left && c.zero && zeroAllowed) Pad(out, fill, u'0');
  for (size_t i = 0; i < length; ++i) out += static_cast<char16_t>(body[i]);
  if (c.left) Pad(out, fill, u' ');
}

}  // namespace

void AppendReal(std::u16string& out, double value, const CConversion& c) {
  const bool upper = c.letter == 'E';
  char sign = std::signbit(value) ? '-' : c.sign ? '+' : 0;
  if (!std::isfinite(value)) {
    const char* word = std::isnan(value) ? (upper ? "NAN" : "nan") : (upper ? "INF" : "inf");
    Emit(out, sign, word, 3, c, false);
    return;
  }
  char body[kBodyCapacity];
  const std::chars_format form =
      c.letter == 'f' ? std::chars_format::fixed : std::chars_format::scientific;
  const auto r = std::to_chars(body, body + sizeof body, std::fabs(value), form, c.precision);
  if (r.ec != std::errc()) return;
  const size_t length = static_cast<size_t>(r.ptr - body);
  if (upper)
    for (size_t i = 0; i < length; ++i)
      if (body[i] == 'e') body[i] = 'E';
  Emit(out, sign, body, length, c, true);
}

void AppendSigned(std::u16string& out, int64_t value, const CConversion& c) {
  char body[24];
  const uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  const auto r = std::to_chars(body, body + sizeof body, magnitude);
  const char sign = value < 0 ? '-' : c.sign ? '+' : 0;
  Emit(out, sign, body, static_cast<size_t>(r.ptr - body), c, true);
}

void AppendUnsigned(std::u16string& out, uint64_t value, const CConversion& c) {
  char body[24];
  const int base = c.letter == 'o' ? 8 : 16;
  const auto r = std::to_chars(body, body + sizeof body, value, base);
  const size_t length = static_cast<size_t>(r.ptr - body);
  if (c.letter == 'X')
    for (size_t i = 0; i < length; ++i)
      if (body[i] >= 'a' && body[i] <= 'f') body[i] = static_cast<char>(body[i] - 'a' + 'A');
  Emit(out, 0, body, length, c, true);
}

}  // namespace tq
