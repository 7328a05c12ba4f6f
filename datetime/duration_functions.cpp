// StringToDuration and DurationToString.
#include "datetime/duration_functions.h"

#include "datetime/duration.h"
#include "datetime/duration_unit_mask.h"

namespace tq {

int64_t StringToDurationByForm(std::u16string_view text, int32_t form) {
  return ParseDurationText(text, form == kCentisecondForm);
}

int64_t StringToDurationByMask(std::u16string_view text, std::u16string_view mask) {
  if (mask.empty()) return ParseDurationText(text, false);
  return ParseLetterMask(text, mask, CurrentDurationLetters());
}

std::u16string DurationToStringByForm(int64_t duration, int32_t form) {
  return FormatDurationText(duration, form == kCentisecondForm);
}

std::u16string DurationToStringByMask(int64_t duration, std::u16string_view mask) {
  if (mask.empty()) return FormatDurationText(duration, false);
  if (!IsUnitMask(mask)) return FormatLetterMask(duration, mask, CurrentDurationLetters());
  // Every value goes through the millisecond form first, so that all read the same way.
  std::u16string text = FormatDurationText(duration, false);
  if (text.size() < 10) {
    const bool negative = !text.empty() && text[0] == u'-';
    if (negative) text.erase(0, 1);
    text.insert(0, 10 - text.size(), u'0');
    if (negative) text.insert(0, 1, u'-');
  }
  return FormatUnitMask(DurationMask(mask), ParseDurationText(text, false));
}

}  // namespace tq
