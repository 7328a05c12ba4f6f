// UTF-8 and UTF-16 codecs.
#include "platform/utf8.h"

namespace ce {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

}  // namespace

Utf8Step DecodeUtf8(std::string_view text) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return {lead, 1, true};

  // The lead byte fixes the length and the range allowed for the second byte, which is what
  // excludes overlong forms, surrogates and values past U+10FFFF.
  size_t length;
  unsigned char low = 0x80, high = 0xBF;
  char32_t value;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return {kReplacement, 1, false};
  }
  for (size_t i = 1; i < length; ++i) {
    if (i >= text.size()) return {kReplacement, i, false};
    const unsigned char next = byte(i);
    const bool inRange = i == 1 ? (next >= low && next <= high) : IsContinuation(next);
    if (!inRange) return {kReplacement, i, false};
    value = (value << 6) | (next & 0x3F);
  }
  return {value, length, true};
}

Utf16Step DecodeUtf16(std::u16string_view text) {
  const char16_t unit = text[0];
  if (unit < 0xD800 || unit > 0xDFFF) return {unit, 1, true};
  if (unit <= 0xDBFF && text.size() > 1 && text[1] >= 0xDC00 && text[1] <= 0xDFFF) {
    return {0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (text[1] - 0xDC00), 2, true};
  }
  return {kReplacement, 1, false};
}

void AppendUtf8(char32_t cp, std::string* out) {
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

void AppendUtf16(char32_t cp, std::u16string* out) {
  if (cp < 0x10000) {
    out->push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out->push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out->push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const Utf8Step step = DecodeUtf8(text);
    AppendUtf16(step.codePoint, &out);
    text.remove_prefix(step.length);
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const Utf16Step step = DecodeUtf16(text);
    AppendUtf8(step.codePoint, &out);
    text.remove_prefix(step.length);
  }
  return out;
}

std::optional<std::u16string> Utf8ToUtf16Strict(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const Utf8Step step = DecodeUtf8(text);
    if (!step.valid) return std::nullopt;
    AppendUtf16(step.codePoint, &out);
    text.remove_prefix(step.length);
  }
  return out;
}

std::optional<std::string> Utf16ToUtf8Strict(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const Utf16Step step = DecodeUtf16(text);
    if (!step.valid) return std::nullopt;
    AppendUtf8(step.codePoint, &out);
    text.remove_prefix(step.length);
  }
  return out;
}

}  // namespace ce
