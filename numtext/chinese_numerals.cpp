// Chinese financial numerals: each digit with its position unit, then the clean-up rules that
// merge zeros and drop silent units.
#include "numtext/chinese_numerals.h"

#include <string_view>
#include <utility>

namespace tq {
namespace {

constexpr std::u16string_view kDigits[10] = {u"零", u"壹", u"贰", u"叁", u"肆",
                                             u"伍", u"陆", u"柒", u"捌", u"玖"};
// From the units digit up.
constexpr std::u16string_view kPositions[16] = {u"元", u"拾", u"佰", u"仟", u"万", u"拾",
                                                u"佰", u"仟", u"亿", u"拾", u"佰", u"仟",
                                                u"万", u"拾", u"佰", u"仟"};
constexpr std::u16string_view kJiao = u"角";
constexpr std::u16string_view kFen = u"分";
constexpr std::u16string_view kPrefix = u"人民币";
constexpr std::u16string_view kWhole = u"整";

// In this order; each replaces every occurrence, also those its own replacements form (a run
// of zeros before a unit collapses whole).
constexpr std::pair<std::u16string_view, std::u16string_view> kCleanUp[] = {
    {u"零仟", u"零"}, {u"零佰", u"零"}, {u"零拾", u"零"}, {u"零角", u"零"},
    {u"零亿", u"亿"}, {u"零万", u"万"}, {u"零元", u"元"}, {u"零分", u""},
    {u"亿万元", u"亿元"}, {u"亿万", u"亿零"}, {u"零零零", u"零"}, {u"零零", u"零"}};
constexpr std::pair<std::u16string_view, std::u16string_view> kClosing[] = {
    {u"零整", u"整"}, {u"分整", u"分"}, {u"币整", u"币"}};

void ReplaceAll(std::u16string& text, std::u16string_view from, std::u16string_view to) {
  for (size_t at = text.find(from); at != std::u16string::npos;) {
    text.replace(at, from.size(), to);
    at = text.find(from, at >= from.size() - 1 ? at - (from.size() - 1) : 0);
  }
}

}  // namespace

std::optional<std::u16string> AmountInChineseNumerals(CurrencyUnits value) {
  if (value < 0) return std::nullopt;
  const unsigned __int128 fen = (static_cast<unsigned __int128>(value) + 50) / 100;
  std::u16string digits = DecimalDigits(fen / 100);
  const int cents = static_cast<int>(fen % 100);
  digits += static_cast<char16_t>(u'0' + cents / 10);
  digits += static_cast<char16_t>(u'0' + cents % 10);
  size_t zeros = 0;
  while (digits.size() - zeros >= 2 && digits[zeros] == u'0') ++zeros;
  digits.erase(0, zeros);
  const size_t integerDigits = digits.size() >= 2 ? digits.size() - 2 : 0;
  if (integerDigits > 16) return std::nullopt;
  std::u16string text(kPrefix);
  if (digits.size() == 1) {
    text += kDigits[digits[0] - u'0'];
    text += kFen;
  } else {
    for (size_t i = 0; i < integerDigits; ++i) {
      text += kDigits[digits[i] - u'0'];
      text += kPositions[integerDigits - 1 - i];
    }
    text += kDigits[digits[integerDigits] - u'0'];
    text += kJiao;
    text += kDigits[digits[integerDigits + 1] - u'0'];
    text += kFen;
  }
  for (const auto& [from, to] : kCleanUp) ReplaceAll(text, from, to);
  text += kWhole;
  for (const auto& [from, to] : kClosing) ReplaceAll(text, from, to);
  return text;
}

}  // namespace tq
