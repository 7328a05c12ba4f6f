// Numbers in words (French of France, of Belgium and Switzerland, English) and amounts in
// Chinese financial numerals.
#include <gtest/gtest.h>

#include <string>

#include "frame/text.h"
#include "numtext/chinese_numerals.h"
#include "numtext/number_words.h"

namespace {

using tq::WordsLanguage;

struct WordsCase {
  int64_t n;
  std::u16string expected;
};

using tq::Utf16ToUtf8;

void ExpectWords(WordsLanguage language, const std::vector<WordsCase>& cases) {
  for (const WordsCase& c : cases)
    EXPECT_EQ(Utf16ToUtf8(tq::IntegerWords(c.n, language)), Utf16ToUtf8(c.expected)) << c.n;
}

tq::CurrencyUnits Amount(int64_t tenThousandths) { return tenThousandths; }

TEST(NumberWords, FrenchOfFrance) {
  ExpectWords(WordsLanguage::kFrance,
              {
                  {0, u"zéro"}, {1, u"un"}, {17, u"dix-sept"}, {21, u"vingt et un"},
                  {71, u"soixante et onze"}, {77, u"soixante-dix-sept"}, {80, u"quatre-vingts"},
                  {81, u"quatre-vingt et un"}, {91, u"quatre-vingt-onze"},
                  {99, u"quatre-vingt-dix-neuf"}, {100, u"cent"}, {101, u"cent un"},
                  {200, u"deux cents"}, {201, u"deux cent un"}, {280, u"deux cent quatre-vingts"},
                  {1000, u"mille"}, {1001, u"mille un"}, {2000, u"deux mille"},
                  {3000, u"trois mille"}, {80000, u"quatre-vingt mille"},
                  {200000, u"deux cent mille"}, {1000000, u"un million"},
                  {2000000, u"deux millions"}, {200000000, u"deux cents millions"},
                  {1000000000, u"un milliard"}, {-5, u"moins cinq"},
                  {INT64_MAX,
                   u"neuf trillions deux cent vingt-trois billiards trois cent soixante-douze "
                   u"billions trente-six milliards huit cent cinquante-quatre millions sept cent "
                   u"soixante-quinze mille huit cent sept"},
              });
}

TEST(NumberWords, FrenchOfBelgiumAndSwitzerland) {
  ExpectWords(WordsLanguage::kBelgiumSwitzerland,
              {
                  {71, u"septante et un"}, {90, u"nonante"}, {80, u"quatre-vingts"},
                  {81, u"quatre-vingt et un"}, {77, u"septante-sept"}, {91, u"nonante et un"},
                  {99, u"nonante-neuf"}, {11, u"onze"},
              });
}

TEST(NumberWords, English) {
  ExpectWords(WordsLanguage::kEnglish,
              {
                  {0, u"zéro"}, {15, u"fifteeen"}, {42, u"forty-two"}, {100, u"one hundred"},
                  {105, u"one hundred and five"}, {2005, u"two thousand and five"},
                  {2000, u"two thousand"}, {1000000, u"one million"},
                  {1000000000000000, u"one quadrillon"}, {-105, u"minus one hundred and five"},
                  {-5, u"minus five"}, {3000042, u"three million and forty-two"},
              });
}

TEST(NumberWords, UnitsAndHundredths) {
  const WordsLanguage fr = WordsLanguage::kFrance, en = WordsLanguage::kEnglish;
  struct Case {
    int64_t tenThousandths;
    std::u16string unit, hundredths;
    WordsLanguage language;
    std::u16string expected;
  } cases[] = {
      {123500, u"euro(s)", u"centime(s)", fr, u"douze euros et trente-cinq centimes"},
      {123500, u"", u"", fr, u"douze virgule trente-cinq"},
      {123500, u"", u"", en, u"twelve point thirty-five"},
      {10000, u"euro(s)", u"", fr, u"un euro"},
      {0, u"euro(s)", u"", fr, u"zéro euro"},
      {-10000, u"euro(s)", u"", fr, u"moins un euro"},
      {20000000000, u"euro(s)", u"", fr, u"deux millions d'euros"},
      {20000000000, u"franc(s)", u"", fr, u"deux millions de francs"},
      {10000000000, u"Yen", u"", fr, u"un million d'Yen"},
      {129990, u"", u"", fr, u"treize"},
      {-129990, u"", u"", fr, u"moins treize"},
      {-9990, u"", u"", en, u"minus one"},
      {100100, u"dollar(s)", u"cent(s)", en, u"ten dollars and one cent"},
      {100200, u"dollar(s)", u"cent(s)", en, u"ten dollars and two cents"},
      {100250, u"dollar(s)", u"", en, u"ten dollars three"},
  };
  for (const Case& c : cases) {
    const std::u16string words =
        tq::NumberInWords(Amount(c.tenThousandths), c.unit, c.hundredths, c.language);
    EXPECT_EQ(Utf16ToUtf8(words), Utf16ToUtf8(c.expected)) << c.tenThousandths;
  }
}

TEST(NumberWords, WholeCurrencyRangeSaturates) {
  const tq::CurrencyUnits largest = (static_cast<tq::CurrencyUnits>(1) << 79) - 1;
  const std::u16string words = tq::NumberInWords(largest, u"", u"", WordsLanguage::kEnglish);
  EXPECT_EQ(words.rfind(u"nine quintillion", 0), 0u);
  const std::u16string negative = tq::NumberInWords(-largest - 1, u"", u"", WordsLanguage::kFrance);
  EXPECT_EQ(negative.rfind(u"moins neuf trillion", 0), 0u);
}

TEST(ChineseNumerals, Amounts) {
  struct Case {
    int64_t tenThousandths;
    std::u16string expected;
  } cases[] = {
      {500, u"人民币伍分"},
      {5000, u"人民币伍角整"},
      {0, u"人民币"},
      {10000, u"人民币壹元整"},
      {123456, u"人民币壹拾贰元叁角伍分"},
      {10055000, u"人民币壹仟零伍元伍角整"},
      {1000000000, u"人民币壹拾万元整"},
      {1000000010000, u"人民币壹亿零壹元整"},
      {1000100000000, u"人民币壹亿零壹万元整"},
  };
  for (const Case& c : cases) {
    const std::optional<std::u16string> text = tq::AmountInChineseNumerals(c.tenThousandths);
    ASSERT_TRUE(text.has_value()) << c.tenThousandths;
    EXPECT_EQ(Utf16ToUtf8(*text), Utf16ToUtf8(c.expected)) << c.tenThousandths;
  }
  EXPECT_EQ(Utf16ToUtf8(*tq::AmountInChineseNumerals(150)), Utf16ToUtf8(u"人民币贰分"));
  EXPECT_EQ(Utf16ToUtf8(*tq::AmountInChineseNumerals(149)), Utf16ToUtf8(u"人民币壹分"));
  EXPECT_FALSE(tq::AmountInChineseNumerals(-1).has_value());
  const tq::CurrencyUnits eighteenDigits = static_cast<tq::CurrencyUnits>(10000000000000000) * 10 * 10000;
  EXPECT_FALSE(tq::AmountInChineseNumerals(eighteenDigits).has_value());
  EXPECT_TRUE(tq::AmountInChineseNumerals(eighteenDigits / 100).has_value());
}

}  // namespace
