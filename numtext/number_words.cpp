// NumberInWords: the hundredths, the integer part, the unit and hundredths names.
#include "numtext/number_words.h"

#include <cmath>
#include <limits>

#include "platform/locale_ids.h"

namespace tq {
namespace {

constexpr uint16_t kFrenchBelgium = 0x080C;
constexpr uint16_t kFrenchSwitzerland = 0x100C;
constexpr int64_t kMaxWhole = std::numeric_limits<int64_t>::max();

bool IsFrench(WordsLanguage language) { return language != WordsLanguage::kEnglish; }

void AddWord(std::u16string& text, std::u16string_view word) {
  if (!text.empty()) text += u' ';
  text += word;
}

bool StartsWithVowel(std::u16string_view name) {
  if (name.empty()) return false;
  const char16_t c = name[0] | 0x20;
  return c == u'a' || c == u'e' || c == u'i' || c == u'o' || c == u'u' || c == u'y';
}

}  // namespace

std::u16string IntegerWords(int64_t n, WordsLanguage language) {
  if (n == 0) return u"zéro";
  std::u16string text;
  uint64_t m = static_cast<uint64_t>(n);
  if (n < 0) {
    text = IsFrench(language) ? u"moins" : u"minus";
    m = 0 - m;
  }
  int groups[7] = {};
  int count = 0;
  for (uint64_t rest = m; rest != 0; rest /= 1000) groups[count++] = static_cast<int>(rest % 1000);
  for (int g = count - 1; g >= 0; --g) {
    if (groups[g] == 0) continue;
    if (IsFrench(language))
      AppendFrenchGroup(text, groups[g], g * 3, language == WordsLanguage::kBelgiumSwitzerland);
    else
      AppendEnglishGroup(text, groups[g], g * 3);
  }
  return text;
}

std::u16string UnitName(std::u16string_view name, bool plural) {
  std::u16string out(name);
  const size_t at = out.find(u"(s)");
  if (at != std::u16string::npos) out.replace(at, 3, plural ? u"s" : u"");
  return out;
}

std::u16string NumberInWords(CurrencyUnits value, std::u16string_view unitName,
                             std::u16string_view hundredthsName, WordsLanguage language) {
  const unsigned __int128 magnitude = Magnitude(value);
  // The fraction read as 0.xxxx, times 100, plus a half, floored.
  const double fraction = static_cast<double>(magnitude % kCurrencyScale) / kCurrencyScale;
  int hundredths = static_cast<int>(std::floor(fraction * 100 + 0.5));
  const unsigned __int128 whole = magnitude / kCurrencyScale;
  int64_t n = whole > static_cast<unsigned __int128>(kMaxWhole) ? kMaxWhole : static_cast<int64_t>(whole);
  if (hundredths == 100) {
    hundredths = 0;
    if (n < kMaxWhole) ++n;
  }
  if (value < 0) n = -n;
  const bool french = IsFrench(language);
  std::u16string text = IntegerWords(n, language);
  if (!unitName.empty()) {
    if (!text.empty()) text += u' ';
    if (french && n != 0 && n % 1000000 == 0) text += StartsWithVowel(unitName) ? u"d'" : u"de ";
    text += UnitName(unitName, n != -1 && n != 0 && n != 1);
  }
  if (hundredths != 0) {
    if (unitName.empty()) AddWord(text, french ? u"virgule" : u"point");
    const std::u16string words = IntegerWords(hundredths, language);
    if (!words.empty()) {
      if (!hundredthsName.empty()) AddWord(text, french ? u"et" : u"and");
      AddWord(text, words);
      if (!hundredthsName.empty()) AddWord(text, UnitName(hundredthsName, hundredths > 1));
    }
  }
  return text;
}

WordsLanguage WordsLanguageOf(int32_t applicationLanguage) {
  if (applicationLanguage != 1 && applicationLanguage != 6) return WordsLanguage::kEnglish;
  const auto device = ce::GetUserDefaultLangID();
  return device == kFrenchBelgium || device == kFrenchSwitzerland
             ? WordsLanguage::kBelgiumSwitzerland
             : WordsLanguage::kFrance;
}

}  // namespace tq
