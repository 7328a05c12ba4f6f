// The capture groups of the URI expression (kUriExpression in net/uri_extract.h), computed by
// a hand-written parser instead of the regular-expression engine, with the engine's own
// answers: the same match or no match and the same 18 group spans for every text.
//
// How the engine assigns the groups of this expression: the match must cover the whole text
// (an anchored match whose length is compared with the text's), and among the ways the whole
// text can be matched the engine reports the first one in priority order: every optional
// group and every repetition tries to take part first, and every run takes as many characters
// as it can, giving back only what the rest of the expression needs. For this expression that
// order leaves few real choices; the parser walks them in the same order (see uri_parts.cpp).
//
// The text is read as the engine reads it: one byte of code page 1252 per UTF-16 unit, units
// the page lacks reading as '?', each byte one character (the library leaves the process in
// the C locale). NUL and newline characters are ordinary characters.
//
// Invariants: a group that did not take part has start and end -1; every other group has
// 0 <= start <= end <= text length. Group 0 is the whole text when it matched.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tq {

inline constexpr size_t kUriGroupCount = 18;

struct UriSpan {
  int64_t start = -1;
  int64_t end = -1;
  bool tookPart() const { return start >= 0; }
  bool operator==(const UriSpan&) const = default;
};

struct UriMatch {
  bool matched = false;
  std::array<UriSpan, kUriGroupCount + 1> groups{};  // [0] is the whole match
  bool operator==(const UriMatch&) const = default;
};

// The engine refuses texts whose length does not fit its offsets; so does the parser.
inline constexpr size_t kUriLongestText = static_cast<size_t>(INT32_MAX) - 1;

// Matches `uri` against the URI expression. Linear in the text's length.
UriMatch ParseUriParts(std::u16string_view uri);

}  // namespace tq
