// Masks tokenized once: the token list of a mask in a token range, with the facts the engines
// ask of the whole mask (12-hour clock, name and day tokens). Formatting and parsing run over
// these lists instead of tokenizing the mask again on every call.
//
// Invariants: a compiled mask is exactly what NextMaskToken yields for its text and range.
// Each thread keeps its 16 most recently used compiled masks; a reference stays valid until
// 15 other masks have been compiled on the same thread, which no call comes near (a
// formatting or parsing call uses at most three).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "datetime/date_mask_tokens.h"
#include "datetime/date_values.h"

namespace tq {

struct CompiledToken {
  int code;
  int widthClass;
  uint32_t start;  // position of the token in the mask
  uint32_t end;    // position after it
  bool numeric;    // a number field: codes 2, 3, 13, 14, 23..30
  bool name;       // a day or month name: codes 5..12, 15..22
};

// A number field at a fixed place of the input, for masks whose every field has a fixed
// width (see CompiledMask::fixedLayout).
struct FixedField {
  uint16_t offset;  // of the field's first character in the input
  uint8_t width;    // 2, 3 or 4 digits
  uint8_t scale;    // the part holds the value times this (centiseconds as milliseconds)
  uint16_t DateParts::*part;
};

// A letter of the mask that the input must repeat at `offset` when the parse is strict.
struct FixedLetter {
  uint16_t offset;
  char16_t letter;
};

struct CompiledMask {
  std::u16string text;
  TokenRange range = TokenRange::kDate;
  std::vector<CompiledToken> tokens;
  bool twelveHour = false;       // HasAmPmMarker
  bool storedMonthName = false;  // codes 15 or 19
  bool dayToken = false;         // codes 2, 3, 5..12
  bool dayOfWeekToken = false;   // codes 4..12: the day of week is shown
  bool styledDayName = false;    // codes 6, 7, 8, 10, 11, 12
  bool styledMonthName = false;  // codes 16, 17, 18, 20, 21, 22
  bool numericOnly = true;       // literals and numeric fields only: codes 1, 2, 3, 13, 14, 23..30
  // Literals and fixed-width numbers only (codes 1, 3, 14, 24, 25, 27..30) and no 12-hour
  // clock: every field of the input lies at a place known from the mask alone, so a parser
  // can read an input of at least `fixedLength` characters field by field.
  bool fixedLayout = false;
  uint16_t fixedLength = 0;
  std::vector<FixedField> fixedFields;
  std::vector<FixedLetter> fixedLetters;
  // The mask after the lenient-letter rewrite, compiled in the same range, once a formatting
  // call has asked for it (it depends only on the text and the range). Owned by this entry,
  // so that one cache lookup serves a formatting call.
  mutable std::unique_ptr<const CompiledMask> lenient;
  // The mask after StringToDate's rewrite (it depends only on the text), compiled in the range
  // StringToDate reads it in (date-time when the mask holds an hour, else date).
  mutable std::unique_ptr<const CompiledMask> parseRewrite;

  // The mask character at `position`, or 0 at the end.
  char16_t At(uint32_t position) const { return position < text.size() ? text[position] : 0; }
};

const CompiledMask& CompileMask(std::u16string_view mask, TokenRange range);

// A compiled mask outside the cache (for the rewrites an entry keeps).
std::unique_ptr<const CompiledMask> CompileUncached(std::u16string_view mask, TokenRange range);

}  // namespace tq
