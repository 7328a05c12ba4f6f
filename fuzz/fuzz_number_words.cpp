// Fuzzes the amounts in words over the whole currency range: the first 10 bytes are a
// currency value (every 10-byte pattern), the eleventh picks the language and the names.
// Whatever it is, the words and the Chinese numerals must come back without crashing, and
// neither may grow beyond what the largest amount needs.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "numtext/chinese_numerals.h"
#include "numtext/number_words.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 11) return 0;
  const tq::CurrencyUnits value = tq::ReadCurrency(data);
  static constexpr tq::WordsLanguage kLanguages[] = {tq::WordsLanguage::kFrance,
                                                     tq::WordsLanguage::kBelgiumSwitzerland,
                                                     tq::WordsLanguage::kEnglish};
  const tq::WordsLanguage language = kLanguages[data[10] % 3];
  const bool names = (data[10] & 0x10) != 0;
  const std::u16string words = tq::NumberInWords(value, names ? u"euro(s)" : u"",
                                                 names ? u"centime(s)" : u"", language);
  if (words.empty() || words.size() > 600) std::abort();
  const std::optional<std::u16string> numerals = tq::AmountInChineseNumerals(value);
  if (numerals && numerals->size() > 3 + 16 * 2 + 5) std::abort();
  return 0;
}
