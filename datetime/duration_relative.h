// Relative durations: a moment shown as a phrase that says how long ago or how far ahead of
// now it is ("il y a 3 jours", "in 5 minutes", "yesterday"), for DateToString's mask
// "UseDateRelativeDurationMask".
//
// Invariants: the 24 phrases come from library message 0x6520, one text split at line feeds,
// in this order: years ago, last year, months ago, last month, weeks ago, last week, days ago,
// yesterday, hours ago, minutes ago, seconds ago, now, in seconds, in minutes, in hours,
// tomorrow, in days, next week, in weeks, next month, in months, next year, in years, today.
// The chosen phrase, with its numbers inserted, is then used as a display mask of the moment,
// so a phrase may also show fields of the date. "Now" is the device's local time.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "datetime/date_mask.h"
#include "datetime/rfc3339.h"

namespace tq {

inline constexpr std::u16string_view kUseDateRelativeDurationMask = u"UseDateRelativeDurationMask";
inline constexpr int kRelativePhraseCount = 24;

// The units a phrase can show, in the order of their inserts %1 .. %7.
enum RelativeUnit { kYears, kMonths, kWeeks, kDays, kHours, kMinutes, kSeconds, kUnitCount };

// The phrase number (0..23) for a moment against now: `dayDifference` in calendar days,
// `milliseconds` the signed difference (moment - now), `weeks` the calendar weeks between the
// Mondays of both weeks, `months` and `years` the calendar differences (all signed).
int ChooseRelativePhrase(int64_t dayDifference, int64_t milliseconds, int64_t weeks, int64_t months,
                         int64_t years);

class RelativeDurationMask final : public DateMask {
 public:
  RelativeDurationMask();
  bool Format(std::u16string_view value, std::u16string& out) override;
  int Kind() const override { return kRelativeDurationMaskKind; }

  // The phrase with its placeholders replaced by inserts, "(s)" settled and the numbers
  // expanded, before it is used as a mask (exposed for tests).
  static std::u16string ExpandPhrase(std::u16string_view phrase,
                                     const std::array<int64_t, kUnitCount>& totals,
                                     int64_t dayDifference, int64_t milliseconds,
                                     const CompactDateTime& earlier);

 private:
  std::array<std::u16string, kRelativePhraseCount> phrases_;
  CompactDateTime shown_, now_;
  int64_t milliseconds_ = 0;
  int64_t dayDifference_ = 0;
  bool past_ = false;
  std::array<int64_t, kUnitCount> units_{};
};

}  // namespace tq
