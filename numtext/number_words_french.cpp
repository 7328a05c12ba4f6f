// French words of one group of three digits, France tens ("soixante-dix", "quatre-vingt-dix")
// or Belgian and Swiss tens ("septante", "nonante"), with the agreement rules of "cent",
// "quatre-vingt", "mille" and the scale words.
#include <string_view>

#include "numtext/number_words.h"

namespace tq {
namespace {

constexpr std::u16string_view kUnits[20] = {
    u"",       u"un",       u"deux",     u"trois",    u"quatre",   u"cinq",     u"six",
    u"sept",   u"huit",     u"neuf",     u"dix",      u"onze",     u"douze",    u"treize",
    u"quatorze", u"quinze", u"seize",    u"dix-sept", u"dix-huit", u"dix-neuf"};
// 20 to 80 (France): 70 and 90 are written on 60 and 80.
constexpr std::u16string_view kFranceTens[7] = {u"vingt",     u"trente",   u"quarante",
                                                u"cinquante", u"soixante", u"soixante",
                                                u"quatre-vingt"};
// 20 to 90 (Belgium and Switzerland).
constexpr std::u16string_view kDirectTens[8] = {u"vingt",    u"trente",   u"quarante",
                                                u"cinquante", u"soixante", u"septante",
                                                u"quatre-vingt", u"nonante"};
constexpr std::u16string_view kScale[7] = {u"mille",   u"million",  u"milliard", u"billion",
                                           u"billiard", u"trillion", u"trillard"};
constexpr std::u16string_view kQuatreVingt = u"quatre-vingt";

void AddWord(std::u16string& text, std::u16string_view word) {
  if (!text.empty()) text += u' ';
  text += word;
}

bool EndsWith(std::u16string_view text, std::u16string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

std::u16string GroupWords(int q, bool belgianTens) {
  std::u16string g;
  const int k = q / 100;
  int r = q % 100;
  if (k >= 2) {
    g = kUnits[k];
    g += u" cent";
    if (r == 0) g += u's';
  } else if (k == 1) {
    g = u"cent";
  }
  if (r >= 20) {
    const int t = r / 10;
    std::u16string_view tens;
    if (belgianTens) {
      tens = kDirectTens[t - 2];
      r -= t * 10;
    } else {
      tens = kFranceTens[t - 2 < 7 ? t - 2 : 6];
      r -= t == 7 ? 60 : t == 9 ? 80 : t * 10;
    }
    AddWord(g, tens);
    if (r > 0) {
      const bool et = belgianTens ? r == 1 : (r == 1 || r == 11) && t != 9;
      g += et ? u" et " : u"-";
      g += kUnits[r];
    } else if (tens == kQuatreVingt) {
      g += u's';
    }
  } else if (r > 0) {
    AddWord(g, kUnits[r]);
  }
  return g;
}

}  // namespace

void AppendFrenchGroup(std::u16string& text, int q, int e, bool belgianTens) {
  if (q == 1 && e == 3) {
    AddWord(text, kScale[0]);
    return;
  }
  AddWord(text, GroupWords(q, belgianTens));
  if (e == 3 && EndsWith(text, u"s") && !EndsWith(text, u"trois")) text.pop_back();
  if (e >= 3) {
    AddWord(text, kScale[e / 3 - 1]);
    if (e >= 6 && q >= 2) text += u's';
  }
}

}  // namespace tq
