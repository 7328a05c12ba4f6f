// The tables are built once from the byte lists; encoding sizes its output for the worst case
// (every byte escaped) and trims, so a megabyte is one allocation.
#include "numtext/url_encoding.h"

#include <array>

#include "platform/code_pages.h"
#include "platform/utf8.h"

namespace tq {
namespace {

constexpr char kUpperHex[] = "0123456789ABCDEF";
constexpr char16_t kEuroSequence[] = u"%26%238364%3B";
constexpr size_t kEuroSequenceLength = 13;

struct EscapeTables {
  std::array<char[3], 256> text{};
  std::array<bool, 256> general{};
  std::array<bool, 256> componentOnly{};
};

bool InGeneralTable(int b) {
  return b <= 32 || b == 34 || b == 37 || b == 43 || b == 60 || b == 62 ||
         (b >= 91 && b <= 94) || b == 96 || b >= 123;
}

bool OnlyInComponentTable(int b) {
  return b == 33 || b == 35 || b == 36 || (b >= 38 && b <= 42) || (b >= 44 && b <= 47) ||
         b == 58 || b == 59 || b == 61 || b == 63 || b == 64 || b == 95;
}

const EscapeTables& Tables() {
  static const EscapeTables tables = [] {
    EscapeTables t;
    for (int b = 0; b < 256; ++b) {
      t.text[b][0] = kUpperHex[b >> 4];
      t.text[b][1] = kUpperHex[b & 15];
      t.text[b][2] = 0;
      t.general[b] = InGeneralTable(b);
      t.componentOnly[b] = OnlyInComponentTable(b);
    }
    return t;
  }();
  return tables;
}

unsigned DigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'Z') return c - u'A' + 10u;
  if (c >= u'a' && c <= u'z') return c - u'a' + 10u;
  return 0;
}

// The decoding loop, for UTF-16 output and for the bytes of UrlDecode (the low 8 bits of
// each unit).
template <typename Unit>
size_t DecodeInto(std::u16string_view text, Unit* out) {
  const size_t n = text.size();
  const char16_t* p = text.data();
  size_t w = 0;
  size_t i = 0;
  while (i < n) {
    const char16_t c = p[i];
    if (c != u'%') {
      out[w++] = static_cast<Unit>(c == u'+' ? u' ' : c);
      ++i;
      continue;
    }
    if (text.compare(i, kEuroSequenceLength, kEuroSequence) == 0) {
      out[w++] = static_cast<Unit>(u'\u20AC');
      i += kEuroSequenceLength;
      continue;
    }
    if (n - i < 3) break;
    ++i;
    unsigned value = 0;
    for (int digit = 0; digit < 2; ++digit) {
      while (i < n && p[i] == u'%') ++i;
      if (i == n) return w;
      value = value * 16 + DigitValue(p[i++]);
    }
    out[w++] = static_cast<Unit>(value);
  }
  return w;
}

std::u16string Widen(std::string_view bytes, uint32_t codePage) {
  std::u16string wide(bytes.size(), u'\0');
  const int n = ce::MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()),
                                        wide.data(), static_cast<int>(wide.size()));
  wide.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return wide;
}

std::string Narrow(std::u16string_view wide, uint32_t codePage) {
  const int need = ce::WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
  std::string bytes(need > 0 ? static_cast<size_t>(need) : 0, '\0');
  if (need > 0)
    ce::WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(),
                            need, nullptr, nullptr);
  return bytes;
}

bool ThroughUtf8(int32_t encoding) { return encoding == 8 || encoding == 9; }

}  // namespace

std::string_view GeneralEscape(uint8_t byte) {
  const EscapeTables& t = Tables();
  return t.general[byte] ? std::string_view(t.text[byte], 2) : std::string_view();
}

std::string_view ComponentEscape(uint8_t byte) {
  const EscapeTables& t = Tables();
  return t.general[byte] || t.componentOnly[byte] ? std::string_view(t.text[byte], 2)
                                                  : std::string_view();
}

std::u16string PercentEncode(std::string_view bytes, bool componentMode) {
  const EscapeTables& t = Tables();
  const std::array<bool, 256>& escaped = componentMode ? t.componentOnly : t.general;
  std::u16string out(bytes.size() * 3, u'\0');
  char16_t* w = out.data();
  for (char c : bytes) {
    const uint8_t b = static_cast<uint8_t>(c);
    if (escaped[b]) {
      w[0] = u'%';
      w[1] = static_cast<char16_t>(t.text[b][0]);
      w[2] = static_cast<char16_t>(t.text[b][1]);
      w += 3;
    } else {
      *w++ = b;
    }
  }
  out.resize(static_cast<size_t>(w - out.data()));
  return out;
}

size_t PercentDecode(std::u16string_view text, char16_t* out) {
  return DecodeInto(text, out);
}

std::u16string PercentDecode(std::u16string_view text) {
  std::u16string out(text.size(), u'\0');
  out.resize(PercentDecode(text, out.data()));
  return out;
}

std::u16string UrlEncode(std::string_view text, int32_t encoding, uint32_t codePage) {
  if (text.empty()) return {};
  if (ThroughUtf8(encoding) && codePage != 65001) {
    const std::string utf8 = ce::Utf16ToUtf8(Widen(text, codePage));
    return PercentEncode(utf8, encoding == kUrlComponentEncoding);
  }
  return PercentEncode(text, encoding == kUrlComponentEncoding);
}

std::string UrlDecode(std::u16string_view text, int32_t encoding, uint32_t codePage) {
  if (text.empty()) return {};
  std::string bytes(text.size(), '\0');
  bytes.resize(DecodeInto(text, bytes.data()));
  if (ThroughUtf8(encoding) && codePage != 65001) return Narrow(ce::Utf8ToUtf16(bytes), codePage);
  return bytes;
}

}  // namespace tq
