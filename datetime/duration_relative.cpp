// Relative durations: choosing, filling and showing the phrase.
#include "datetime/duration_relative.h"

#include <algorithm>

#include "datetime/date_mask_format.h"
#include "datetime/date_parse.h"
#include "datetime/date_values.h"
#include "datetime/system_masks.h"
#include "frame/message_format.h"
#include "frame/message_loader.h"
#include "platform/device_clock.h"

namespace tq {
namespace {

constexpr uint32_t kPhrasesMessage = 0x6520;
constexpr int kTodayPhrase = 23;
constexpr int64_t kMsPerDay = 86400000;
constexpr std::u16string_view kRelativeInputFormat = u"YYYYMMDDHHmmSS";

struct Placeholder {
  std::u16string_view text;
  RelativeUnit unit;
};
constexpr Placeholder kPlaceholders[] = {
    {u"RAA", kYears}, {u"RYY", kYears}, {u"RMM", kMonths},  {u"RWW", kWeeks},   {u"RJJ", kDays},
    {u"RDD", kDays},  {u"RHH", kHours}, {u"Rmm", kMinutes}, {u"RSS", kSeconds},
};
constexpr std::u16string_view kInserts[kUnitCount] = {
    u"%1!I64d!", u"%2!I64d!", u"%3!I64d!", u"%4!I64d!", u"%5!I64d!", u"%6!I64d!", u"%7!I64d!"};
constexpr int64_t kUnitMs[kUnitCount] = {0, 0, 7 * kMsPerDay, kMsPerDay, 3600000, 60000, 1000};

int64_t Abs(int64_t v) {
  return v < 0 ? -v : v;
}

int32_t DayNumberOf(const CompactDateTime& r) {
  int32_t n = 0;
  DateToDayNumber(r.day, r.month, r.year, n);
  return n;
}

int64_t MomentMs(const CompactDateTime& r) {
  return static_cast<int64_t>(DayNumberOf(r)) * kMsPerDay + r.millisecondOfDay;
}

// The day number of `r` moved by `months` calendar months (the day kept within the month).
int64_t DayNumberAfterMonths(const CompactDateTime& r, int64_t months) {
  int64_t index = static_cast<int64_t>(r.year) * 12 + (r.month - 1) + months;
  const int32_t year = static_cast<int32_t>(index / 12);
  const int32_t month = static_cast<int32_t>(index % 12 + 1);
  const int32_t day = std::min<int32_t>(r.day, MonthLength(month, year));
  int32_t n = 0;
  return DateToDayNumber(day, month, year, n) ? n : DayNumberOf(r);
}

// Parses "YYYYMMDD" and up to 8 time digits ("_" read as "0") into a compact record.
CompactDateTime RecordOfText(std::u16string_view text) {
  auto digits = [&](size_t at, size_t count) {
    int64_t v = 0;
    for (size_t i = at; i < at + count; ++i) {
      const char16_t c = i < text.size() ? text[i] : u'0';
      v = v * 10 + (c >= u'0' && c <= u'9' ? c - u'0' : 0);
    }
    return v;
  };
  CompactDateTime r;
  r.year = static_cast<uint16_t>(digits(0, 4));
  r.month = static_cast<uint8_t>(digits(4, 2));
  r.day = static_cast<uint8_t>(digits(6, 2));
  const int64_t ms =
      ((digits(8, 2) * 60 + digits(10, 2)) * 60 + digits(12, 2)) * 1000 + digits(14, 2) * 10;
  r.millisecondOfDay = static_cast<uint32_t>(ms);
  return r;
}

}  // namespace

int ChooseRelativePhrase(int64_t dayDifference, int64_t milliseconds, int64_t weeks, int64_t months,
                         int64_t years) {
  const bool past = milliseconds < 0;
  auto pick = [past](int p, int f) { return past ? p : f; };
  const int64_t ms = Abs(milliseconds);
  if (Abs(dayDifference) == 1) return pick(7, 15);
  if (ms < 1000) return 11;
  if (ms < 60000) return pick(10, 12);
  if (ms < 3600000) return pick(9, 13);
  if (ms < kMsPerDay) return pick(8, 14);
  if (weeks == 0) return pick(6, 16);
  if (Abs(weeks) == 1) return pick(5, 17);
  if (months == 0) return pick(4, 18);
  if (Abs(months) == 1) return pick(3, 19);
  if (years == 0) return pick(2, 20);
  if (Abs(years) == 1) return pick(1, 21);
  return pick(0, 22);
}

std::u16string RelativeDurationMask::ExpandPhrase(std::u16string_view phrase,
                                                  const std::array<int64_t, kUnitCount>& totals,
                                                  int64_t dayDifference, int64_t milliseconds,
                                                  const CompactDateTime& earlier) {
  std::u16string text(phrase);
  bool present[kUnitCount] = {};
  for (const Placeholder& p : kPlaceholders)
    if (ReplaceAll(text, p.text, kInserts[p.unit])) present[p.unit] = true;

  // The largest unit present takes the whole difference; each smaller one what remains.
  std::array<int64_t, kUnitCount> values{};
  int64_t spannedDays = 0;  // calendar days covered by the date units already given
  int64_t spannedMs = 0;    // milliseconds covered by the time units already given
  int64_t monthsGiven = 0;
  bool first = true;
  int64_t largest = 0;
  for (int u = 0; u < kUnitCount; ++u) {
    if (!present[u]) continue;
    int64_t v;
    if (first) {
      v = totals[u];
    } else if (u == kMonths) {
      v = totals[kMonths] - monthsGiven;
    } else if (u == kWeeks || u == kDays) {
      const int64_t days = Abs(dayDifference) - spannedDays;
      v = u == kWeeks ? days / 7 : days;
    } else {
      v = (Abs(milliseconds) - spannedDays * kMsPerDay - spannedMs) / kUnitMs[u];
    }
    v = std::max<int64_t>(v, 0);
    values[u] = v;
    if (first) largest = v;
    first = false;
    if (u == kYears || u == kMonths) {
      monthsGiven += u == kYears ? v * 12 : v;
      spannedDays = DayNumberAfterMonths(earlier, monthsGiven) - DayNumberOf(earlier);
    } else if (u == kWeeks || u == kDays) {
      spannedDays += v * (u == kWeeks ? 7 : 1);
    } else {
      spannedMs += v * kUnitMs[u];
    }
  }
  ReplaceAll(text, u"(s)", largest >= 2 ? u"s" : u"");
  const MessageArg args[kUnitCount] = {values[0], values[1], values[2], values[3],
                                       values[4], values[5], values[6]};
  return FormatInserts(text, MessageArgs(args, kUnitCount));
}

RelativeDurationMask::RelativeDurationMask()
    : DateMask(kUseDateRelativeDurationMask, true, kRelativeInputFormat) {
  const std::u16string all = LoadMessageText(kPhrasesMessage).value_or(std::u16string());
  size_t start = 0;
  for (int i = 0; i < kRelativePhraseCount && start <= all.size(); ++i) {
    const size_t end = std::min(all.find(u'\n', start), all.size());
    phrases_[static_cast<size_t>(i)] = all.substr(start, end - start);
    start = end + 1;
  }
}

bool RelativeDurationMask::Format(std::u16string_view value, std::u16string& out) {
  out.clear();
  ce::SYSTEMTIME local;
  ce::GetLocalTime(&local);
  now_ = FromSystemTime(local);
  const std::u16string today = FormatDateText(local.wYear, local.wMonth, local.wDay);
  if (value.size() <= 8 && value == today) SetInputFormat(u"YYYYMMDD");

  // The value written back as "YYYYMMDDHHmmSS"; time letters left over read as zeros.
  DateParts parts;
  if (!ParseDateParts(*this, value, inputFormat(), parts, 0)) return false;
  std::u16string text = FormatDateParts(*this, kRelativeInputFormat, parts, 0);
  for (char16_t& c : text)
    if (c == u'H' || c == u'm' || c == u'S' || c == u'_') c = u'0';
  shown_ = RecordOfText(text);

  dayDifference_ = static_cast<int64_t>(DayNumberOf(shown_)) - DayNumberOf(now_);
  if (dayDifference_ == 0 && !IsDateTimeFormat(inputFormat())) {
    out = phrases_[kTodayPhrase];
    return true;
  }
  milliseconds_ = MomentMs(shown_) - MomentMs(now_);
  past_ = milliseconds_ < 0;
  // Weeks between the Mondays of both weeks (day of week: Monday = 1 .. Sunday = 7).
  const int64_t shownMonday = DayNumberOf(shown_) - (DayOfWeekNumber(DayNumberOf(shown_)) - 1);
  const int64_t nowMonday = DayNumberOf(now_) - (DayOfWeekNumber(DayNumberOf(now_)) - 1);
  const int64_t weeks = (shownMonday - nowMonday) / 7;
  const int64_t years = static_cast<int64_t>(shown_.year) - now_.year;
  const int64_t months = years * 12 + shown_.month - now_.month;

  units_ = {Abs(years),
            Abs(months),
            Abs(weeks),
            Abs(dayDifference_),
            Abs(milliseconds_) / 3600000,
            Abs(milliseconds_) / 60000,
            Abs(milliseconds_) / 1000};
  const int phrase = ChooseRelativePhrase(dayDifference_, milliseconds_, weeks, months, years);
  const std::u16string mask = ExpandPhrase(phrases_[static_cast<size_t>(phrase)], units_,
                                           dayDifference_, milliseconds_, past_ ? shown_ : now_);
  SetDisplayMask(mask);
  return FormatDate(*this, value, out, 0);
}

}  // namespace tq
