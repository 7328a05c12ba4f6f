// The mask object of one formatting or parsing call.
#include "datetime/date_mask.h"

#include "datetime/date_mask_format.h"
#include "datetime/system_masks.h"

namespace tq {
namespace {

// The year a range bound stands for: a date text of 8 or more digits gives its first four,
// any other text is read as a number. Nullopt when it is neither.
std::optional<int> YearOfBound(std::u16string_view text) {
  if (text.empty()) return std::nullopt;
  const size_t digits = text.size() >= 8 ? 4 : text.size();
  int year = 0;
  size_t i = 0;
  const bool negative = text[0] == u'-' && text.size() < 8;
  if (negative) ++i;
  if (i == digits) return std::nullopt;
  for (; i < digits; ++i) {
    if (text[i] < u'0' || text[i] > u'9') return std::nullopt;
    year = year * 10 + (text[i] - u'0');
    if (year > 100000) return std::nullopt;
  }
  return negative ? -year : year;
}

}  // namespace

DateMask::DateMask(std::u16string_view mask, bool dateMode,
                   std::optional<std::u16string_view> inputFormat)
    : displayMask_(mask),
      dateMode_(dateMode),
      inputFormat_(inputFormat ? *inputFormat
                               : (dateMode ? kDefaultDateInputFormat : kDefaultTimeInputFormat)),
      givenMask_(mask),
      range_(RangeFor(dateMode, inputFormat_)) {
  ResolveDisplayMask();
}

void DateMask::ResolveDisplayMask() {
  if (IsSpecialMaskName(displayMask_)) SetDisplayMask(ResolveSpecialMask(*this, displayMask_));
}

bool DateMask::Format(std::u16string_view value, std::u16string& out) {
  return FormatDate(*this, value, out, 0);
}

void DateMask::SetYearRange(std::u16string_view first, std::u16string_view last) {
  if (std::optional<int> y = YearOfBound(first)) minimumYear_ = *y;
  if (std::optional<int> y = YearOfBound(last)) maximumYear_ = *y;
}

void DateMask::AttachSettings(RegionalSettings settings) {
  settings_ = std::move(settings);
  if (givenMask_ == kUseSystemMask) {
    displayMask_ = givenMask_;
    ResolveDisplayMask();
  }
}

TokenRange DateMask::RangeFor(bool dateMode, std::u16string_view inputFormat) {
  if (IsDateTimeFormat(inputFormat)) return TokenRange::kDateTime;
  return dateMode ? TokenRange::kDate : TokenRange::kTime;
}

std::u16string_view DateMask::AmText() const {
  const TimeSettingsRecord* time = settings_.TimeSettings();
  if (time != nullptr && !RecordText(time->amText).empty()) return RecordText(time->amText);
  return u"AM";
}

std::u16string_view DateMask::PmText() const {
  const TimeSettingsRecord* time = settings_.TimeSettings();
  if (time != nullptr && !RecordText(time->pmText).empty()) return RecordText(time->pmText);
  return u"PM";
}

}  // namespace tq
