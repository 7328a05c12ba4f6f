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
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 8) return 0;
  int64_t duration;
  std::memcpy(&duration, data, 8);
  const auto [mask, text] = fuzzinput::SplitAt(fuzzinput::Utf16Units(data, size, 8), u'\n');

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
