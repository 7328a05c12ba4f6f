// The token table of date and time display masks and the tokenizer over it.
#include "datetime/date_mask_tokens.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace tq {
namespace {

struct TokenEntry {
  std::u16string_view text;
  int widthClass;
  int code;
};

// In search order. Entries 0..34 are the date tokens, 35..44 the time tokens.
constexpr std::array<TokenEntry, 45> kTokens = {{
    {u"AAAA", 4, 24}, {u"AA", 2, 23},   {u"YYYY", 4, 24}, {u"YY", 2, 23},  {u"MMMM", 2, 19},
    {u"Mmmm", 2, 20}, {u"mmmm", 2, 21}, {u"MMMm", 2, 22}, {u"MMM", 2, 15}, {u"Mmm", 2, 16},
    {u"mmm", 2, 17},  {u"MMm", 2, 18},  {u"MM", 2, 14},   {u"M", 2, 13},   {u"JJJJ", 0, 9},
    {u"Jjjj", 0, 10}, {u"jjjj", 0, 11}, {u"JJJj", 0, 12}, {u"JJJ", 0, 5},  {u"Jjj", 0, 6},
    {u"jjj", 0, 7},   {u"JJj", 0, 8},   {u"JJ", 2, 3},    {u"J", 2, 2},    {u"DDDD", 0, 9},
    {u"Dddd", 0, 10}, {u"dddd", 0, 11}, {u"DDDd", 0, 12}, {u"DDD", 0, 5},  {u"Ddd", 0, 6},
    {u"ddd", 0, 7},   {u"DDd", 0, 8},   {u"DD", 2, 3},    {u"D", 2, 2},    {u"L", 1, 4},
    {u"HH", 2, 25},   {u"H", 2, 26},    {u"MM", 2, 27},   {u"mm", 2, 27},  {u"SS", 2, 28},
    {u"CCC", 3, 30},  {u"CC", 2, 29},   {u"AM", 2, 31},   {u"AP", 2, 31},  {u"PM", 2, 31},
}};

constexpr size_t kFirstTimeToken = 35;
constexpr size_t kDayInitialEntry = 34;

// "L" stands for the day's initial only alone or before "|", a space or the end.
bool DayInitialAllowed(std::u16string_view mask, size_t after) {
  if (mask == u"L") return true;
  return after >= mask.size() || mask[after] == u'|' || mask[after] == u' ';
}

// For each first character, the table entries that start with it, in table order (at most
// nine: the "M" entries), ending with -1. Built once; the tokenizer then compares only those.
struct FirstCharIndex {
  std::array<std::array<int8_t, 12>, 128> entries;
  constexpr FirstCharIndex() : entries() {
    for (auto& list : entries) list.fill(-1);
    for (size_t i = 0; i < kTokens.size(); ++i) {
      auto& list = entries[static_cast<size_t>(kTokens[i].text[0])];
      size_t n = 0;
      while (list[n] != -1) ++n;
      list[n] = static_cast<int8_t>(i);
    }
  }
};
constexpr FirstCharIndex kByFirstChar;

}  // namespace

MaskToken NextMaskToken(std::u16string_view mask, size_t& position, TokenRange range) {
  if (position >= mask.size()) return {token::kEnd, 0, 0};
  const char16_t first = mask[position];
  if (first == u'\\' || first >= 128) {
    ++position;
    return {token::kLiteral, 0, 1};
  }
  const size_t low = range == TokenRange::kTime ? kFirstTimeToken : 0;
  const size_t high = range == TokenRange::kDate ? kFirstTimeToken : kTokens.size();
  const std::u16string_view rest = mask.substr(position);
  for (int8_t index : kByFirstChar.entries[first]) {
    if (index < 0) break;
    const size_t i = static_cast<size_t>(index);
    if (i < low || i >= high) continue;
    const TokenEntry& entry = kTokens[i];
    if (!rest.starts_with(entry.text)) continue;
    if (i == kDayInitialEntry && !DayInitialAllowed(mask, position + entry.text.size())) continue;
    position += entry.text.size();
    return {entry.code, entry.widthClass, entry.text.size()};
  }
  ++position;
  return {token::kLiteral, 0, 1};
}

bool IsDateTimeFormat(std::u16string_view format) {
  // The six formats: the English or French letters of a date and a time, with 0, 2 or 3
  // digits of the second's fractions.
  if (format.size() != 14 && format.size() != 16 && format.size() != 17) return false;
  constexpr std::u16string_view kEnglish = u"YYYYMMDDHHmmSSCCC", kFrench = u"AAAAMMJJHHmmSSCCC";
  const std::u16string_view letters = format[0] == u'Y' ? kEnglish : kFrench;
  return std::memcmp(format.data(), letters.data(), format.size() * sizeof(char16_t)) == 0;
}

uint32_t NameStyleOfCode(int code) {
  int offset;
  if (code >= token::kDayNameFirst && code <= token::kDayNameLast) {
    offset = code - token::kDayNameFirst;
  } else if (code >= token::kMonthNameFirst && code <= token::kMonthNameLast) {
    offset = code - token::kMonthNameFirst;
  } else {
    return 0;
  }
  // Offsets 0..3 abbreviated, 4..7 full; within each: as stored, first upper, first lower,
  // all upper.
  static constexpr uint32_t kCase[] = {0, kStyleFirstUpper, kStyleFirstLower, kStyleAllUpper};
  return (offset < 4 ? kStyleAbbreviated : 0) | kCase[offset % 4];
}

bool HasAmPmMarker(std::u16string_view mask) {
  if (mask.find(u"AP") != std::u16string_view::npos) return true;
  if (mask.find(u"PM") != std::u16string_view::npos) return true;
  for (size_t at = mask.find(u"AM"); at != std::u16string_view::npos;
       at = mask.find(u"AM", at + 1)) {
    if (at + 2 >= mask.size() || mask[at + 2] != u'M') return true;
  }
  return false;
}

bool MaskHasTokenCode(std::u16string_view mask, TokenRange range,
                      std::initializer_list<int> codes) {
  size_t position = 0;
  for (MaskToken t = NextMaskToken(mask, position, range); t.code != token::kEnd;
       t = NextMaskToken(mask, position, range)) {
    if (std::find(codes.begin(), codes.end(), t.code) != codes.end()) return true;
  }
  return false;
}

}  // namespace tq
