// Amounts in words, as on a cheque: NumberInWords in French (France, or Belgium and
// Switzerland) or English, with optional unit and hundredths names, and the integer words
// both languages build on. The word tables are the library's own, written out exactly as
// they stand (their odd spellings included).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "numtext/currency_value.h"

namespace tq {

enum class WordsLanguage { kFrance, kBelgiumSwitzerland, kEnglish };

// "zéro" for 0; "moins"/"minus" before a negative number.
std::u16string IntegerWords(int64_t n, WordsLanguage language);

// The words of one group of three digits (1 to 999) with exponent e (0, 3, ... 18), appended
// to `text` (which holds the words of the higher groups).
void AppendFrenchGroup(std::u16string& text, int q, int e, bool belgianTens);
void AppendEnglishGroup(std::u16string& text, int q, int e);

// A unit name made singular or plural: the first "(s)" becomes "s" or goes away.
std::u16string UnitName(std::u16string_view name, bool plural);

std::u16string NumberInWords(CurrencyUnits value, std::u16string_view unitName,
                             std::u16string_view hundredthsName, WordsLanguage language);

// The language the VM's application language and the device select: 1 and 6 are French;
// the device's French of Belgium (0x080C) or Switzerland (0x100C) gives their tens.
WordsLanguage WordsLanguageOf(int32_t applicationLanguage);

}  // namespace tq
