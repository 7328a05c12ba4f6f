// UTF-8 <-> UTF-16 conversion, used wherever device text (UTF-16) meets host text (UTF-8).
//
// Invariants: the lossy forms never fail: an ill-formed UTF-8 sequence becomes one U+FFFD per
// maximal ill-formed subpart (the Unicode recommended practice, so "\xE2\x82" is one U+FFFD
// and "\xC0\x80" two), and a lone surrogate in UTF-16 becomes U+FFFD. The strict forms return
// nullopt instead. Overlong forms, encoded surrogates and values above U+10FFFF are ill-formed.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ce {

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

std::optional<std::u16string> Utf8ToUtf16Strict(std::string_view text);
std::optional<std::string> Utf16ToUtf8Strict(std::u16string_view text);

// One step of decoding: the code point at the start of `text` (non-empty) and the number of
// bytes it takes; an ill-formed subpart gives U+FFFD, its length, and valid = false.
struct Utf8Step {
  char32_t codePoint;
  size_t length;
  bool valid;
};
Utf8Step DecodeUtf8(std::string_view text);

// One step of UTF-16 decoding at `text[0]` (non-empty): a pair gives the supplementary code
// point and length 2; a lone surrogate gives U+FFFD, length 1 and valid = false.
struct Utf16Step {
  char32_t codePoint;
  size_t length;
  bool valid;
};
Utf16Step DecodeUtf16(std::u16string_view text);

// Appends the encoding of a code point (which must not be a surrogate).
void AppendUtf8(char32_t codePoint, std::string* out);
void AppendUtf16(char32_t codePoint, std::u16string* out);

}  // namespace ce
