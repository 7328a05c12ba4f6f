// The shape of a numeric display mask: its positive, negative and zero sections (separated by
// ';'), the colour tags they may carry, and the properties the formatter asks about.
//
// A backslash escapes the character after it everywhere: an escaped ';', '%', '(' or digit
// placeholder is a literal and never changes the shape of the mask.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tq {

inline constexpr char16_t kGroupPlaceholder = u' ';
inline constexpr char16_t kDecimalPlaceholder = u',';

struct MaskSections {
  std::u16string storage;                      // the mask with its colour tags removed
  std::array<std::u16string_view, 3> section;  // positive, negative, zero (views of storage)
  int count = 0;                               // sections present (1 to 3)
  bool hasSemicolon = false;

  // Section 1 or 2 when present and not empty, else section 0.
  std::u16string_view Choose(int index) const;
};

// Splits `mask` at its unescaped ';' (three sections at most; a further ';' stays in the zero
// section) and cuts out every '[name]' colour tag.
MaskSections SplitSections(std::u16string_view mask);

// True when the section holds an unescaped '(' and, after it, a digit placeholder and a ')'.
bool EnclosesDigitsInParentheses(std::u16string_view section);

// True when the mask holds a single unescaped '%' (a '%%' pair is a literal percent sign).
bool HasPercent(std::u16string_view mask);

// The colour of a tag name (without brackets): the named colours in French or English, a
// '#RRGGBB' value, -1 for "transparent"; 0xFBADC0DE for anything else. Values are 0x00BBGGRR.
uint32_t ColourOfTag(std::u16string_view name);

// Reads up to 8 hexadecimal digits; stops at the first other character.
uint32_t ReadHexadecimal(std::u16string_view text);

}  // namespace tq
