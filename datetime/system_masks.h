// The system masks: the device's short-date and time formats rewritten in the mask letters,
// replaced by the project's masks where the settings say so, and the special mask names that
// stand for them ("UseSystemMask" and the date-picker masks).
//
// Invariants: a device format that cannot be read falls back to "dd/MM/yyyy" and "HH:mm:ss"
// before it is rewritten; a project mask applies only when it is non-empty.
#pragma once

#include <string>
#include <string_view>

namespace tq {

class DateMask;
class RegionalSettings;

inline constexpr std::u16string_view kUseSystemMask = u"UseSystemMask";
inline constexpr std::u16string_view kUseDatePickerDateMask = u"UseDatePickerDateMask";
inline constexpr std::u16string_view kUseDatePickerTimeMask = u"UseDatePickerTimeMask";
inline constexpr std::u16string_view kUseDatePickerDateTimeMask = u"UseDatePickerDateTimeMask";

// Every occurrence of `from` in `text` replaced by `to`, left to right, not rescanning the
// replacement. Returns whether anything was replaced.
bool ReplaceAll(std::u16string& text, std::u16string_view from, std::u16string_view to);

// A text rewritten by whole-string replacements, copied only at the first replacement that
// finds something (most masks need none).
class RewrittenText {
 public:
  explicit RewrittenText(std::u16string_view original) : view_(original) {}
  RewrittenText(const RewrittenText&) = delete;
  RewrittenText& operator=(const RewrittenText&) = delete;
  bool Replace(std::u16string_view from, std::u16string_view to);
  bool Contains(std::u16string_view text) const {
    return view_.find(text) != std::u16string_view::npos;
  }
  std::u16string_view view() const { return view_; }

 private:
  std::u16string_view view_;
  std::u16string storage_;
};

// Device format rewrites (exposed for tests): h:mm:ss tt -> H:MM:SS AM; M/d/yyyy -> M/J/AAAA.
std::u16string TimeMaskFromDeviceFormat(std::u16string_view format);
std::u16string DateMaskFromDeviceFormat(std::u16string_view format);

std::u16string SystemDateMask(const RegionalSettings& settings);
std::u16string SystemTimeMask(const RegionalSettings& settings);
// The mask of the object's mode; a date mask of a date-time object gets the time mask too.
std::u16string SystemMask(const DateMask& mask);

// Whether `mask` is one of the special names above.
bool IsSpecialMaskName(std::u16string_view mask);
// The concrete mask for a special mask name; any other mask unchanged.
std::u16string ResolveSpecialMask(const DateMask& mask, std::u16string_view name);

}  // namespace tq
