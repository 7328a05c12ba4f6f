// Unit masks of durations ("+2J j HH h MM m SS s CC"): the number after "+" is how many units
// to show, starting with the most significant non-zero one; the letters stand for days, hours,
// minutes, seconds and fractions, and the other characters are shown next to the units
// written. The keywords "DureeProjetMask" and "UseDatePickerDurationMask" stand for the mask
// above.
//
// Invariants: literals are written only after a unit was written and until a unit is
// skipped; when the text ends without a literal after the last days or hours written, a unit
// suffix (" h", " m", " s", " cs", " ms") names the last number written.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tq {

inline constexpr std::u16string_view kDureeProjetMask = u"DureeProjetMask";
inline constexpr std::u16string_view kUseDatePickerDurationMask = u"UseDatePickerDurationMask";
inline constexpr std::u16string_view kDefaultUnitMask = u"+2J j HH h MM m SS s CC";

// The unit-mask object: the mask the caller passed, the mask it resolves to, and an input
// mask that this library leaves empty.
class DurationMask {
 public:
  explicit DurationMask(std::u16string_view mask);
  std::u16string_view givenMask() const { return givenMask_; }
  std::u16string_view resolvedMask() const { return resolvedMask_; }
  std::u16string_view inputMask() const { return inputMask_; }

 private:
  std::u16string givenMask_, resolvedMask_, inputMask_;
};

// Whether DurationToString treats `mask` as a unit mask: "+" followed by a digit, or one of
// the two keywords.
bool IsUnitMask(std::u16string_view mask);

std::u16string FormatUnitMask(const DurationMask& mask, int64_t duration);

}  // namespace tq
