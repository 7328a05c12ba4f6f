// Fuzzes duration masks: the input's first 8 bytes are a duration, the rest (UTF-16LE) a mask
// and a text separated by a line feed. Letter masks, unit masks and the plain forms must
// neither crash nor overflow; a duration written in a plain form reads back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "datetime/duration.h"
#include "datetime/duration_functions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 8) return 0;
  int64_t duration;
  std::memcpy(&duration, data, 8);
  std::u16string units;
  for (size_t i = 8; i + 1 < size; i += 2)
    units.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  const size_t split = units.find(u'\n');
  const std::u16string mask = units.substr(0, split);
  const std::u16string text = split == std::u16string::npos ? u"" : units.substr(split + 1);

  tq::DurationToStringByMask(duration, mask);
  tq::StringToDurationByMask(text, mask);
  tq::StringToDurationByForm(text, 0);
  tq::StringToDurationByForm(text, 1);
  if (tq::ParseDurationText(tq::FormatDurationText(duration, false), false) != duration)
    std::abort();
  const tq::DurationLetters letters{u'J', u'H', u'M', u'S', u'L'};
  tq::ParseLetterMask(tq::FormatLetterMask(duration, mask, letters), mask, letters);
  return 0;
}
