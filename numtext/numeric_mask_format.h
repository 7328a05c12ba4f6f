// Writing a plain decimal number text through a numeric display mask: section choice, the
// zero section, percent scaling, digit placeholders with the excess rule, separators, sign,
// currency and literal characters. The mask never rounds: digits beyond its last fraction
// place are dropped, and a number with more integer digits than the mask has places gives the
// overflow marker.
#pragma once

#include <string>
#include <string_view>

namespace tq {

inline constexpr std::u16string_view kOverflowMarker = u"###";

// What the placeholders write: the display separators and the currency symbol.
struct MaskDisplay {
  char16_t thousands = u' ';
  char16_t decimal = u',';
  std::u16string_view symbol;
};

// `number` is plain: optional '-', digits, optional '.', digits (anything else is copied
// where the digits would go, never read past its end).
std::u16string ApplyNumericMask(std::u16string_view mask, std::u16string_view number,
                                const MaskDisplay& display);

// The number text multiplied by 100: the '.' moves two places right, leading zeros go.
std::u16string TimesHundred(std::u16string_view number);

// The mask an editing field uses for input: the negative section, no percent, one leading
// '+' when the number may be signed, trimmed of white space.
std::u16string InputMaskOf(std::u16string_view mask);

// True when the mask lets a number be signed: an unescaped '%', a parenthesised negative
// section, a ';' or a '-'.
bool MaskNeedsSign(std::u16string_view mask);

}  // namespace tq
