// English words of one group of three digits: "hundred", the "and" before the last group's
// tens and units, hyphenated tens, scale words without a plural.
#include <string_view>

#include "numtext/number_words.h"

namespace tq {
namespace {

constexpr std::u16string_view kUnits[20] = {
    u"",         u"one",      u"two",      u"three",    u"four",     u"five",    u"six",
    u"seven",    u"eight",    u"nine",     u"ten",      u"eleven",   u"twelve",  u"thirteen",
    u"fourteen", u"fifteeen", u"sixteen",  u"seventeen", u"eighteen", u"nineteen"};
constexpr std::u16string_view kTens[8] = {u"twenty", u"thirty",  u"forty",  u"fifty",
                                          u"sixty",  u"seventy", u"eighty", u"ninety"};
constexpr std::u16string_view kScale[7] = {u"thousand",    u"million",     u"billion",
                                           u"trillion",    u"quadrillon",  u"quintillion",
                                           u"sextillion"};

void AddWord(std::u16string& text, std::u16string_view word) {
  if (!text.empty()) text += u' ';
  text += word;
}

}  // namespace

void AppendEnglishGroup(std::u16string& text, int q, int e) {
  const bool leading = text.empty() || text == u"minus";
  const int k = q / 100;
  const int r = q % 100;
  if (k >= 1) {
    AddWord(text, kUnits[k]);
    AddWord(text, u"hundred");
  }
  if (e == 0 && r >= 1 && (k >= 1 || !leading)) AddWord(text, u"and");
  if (r >= 20) {
    AddWord(text, kTens[r / 10 - 2]);
    if (r % 10 != 0) {
      text += u'-';
      text += kUnits[r % 10];
    }
  } else if (r >= 1) {
    AddWord(text, kUnits[r]);
  }
  if (e >= 3) AddWord(text, kScale[e / 3 - 1]);
}

}  // namespace tq
