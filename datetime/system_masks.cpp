// System masks from the device's locale items and the project's settings.
#include "datetime/system_masks.h"

#include <algorithm>

#include "datetime/date_mask.h"
#include "datetime/locale_items.h"

namespace tq {

bool ReplaceAll(std::u16string& text, std::u16string_view from, std::u16string_view to) {
  if (from.empty()) return false;
  bool replaced = false;
  for (size_t at = text.find(from); at != std::u16string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
    replaced = true;
  }
  return replaced;
}

bool RewrittenText::Replace(std::u16string_view from, std::u16string_view to) {
  if (from.empty() || view_.find(from) == std::u16string_view::npos) return false;
  if (view_.data() != storage_.data()) storage_.assign(view_);
  ReplaceAll(storage_, from, to);
  view_ = storage_;
  return true;
}

std::u16string TimeMaskFromDeviceFormat(std::u16string_view format) {
  std::u16string mask(format);
  ReplaceAll(mask, u"m", u"M");
  ReplaceAll(mask, u"s", u"S");
  ReplaceAll(mask, u"tt", u"AM");
  ReplaceAll(mask, u"h", u"H");
  return mask;
}

std::u16string DateMaskFromDeviceFormat(std::u16string_view format) {
  std::u16string mask(format);
  ReplaceAll(mask, u"d", u"J");
  ReplaceAll(mask, u"yyyy", u"AAAA");
  ReplaceAll(mask, u"yy", u"AA");
  return mask;
}

std::u16string SystemTimeMask(const RegionalSettings& settings) {
  std::u16string mask = TimeMaskFromDeviceFormat(LocaleItem(localeitem::kTimeFormat, u"HH:mm:ss"));
  if (const TimeSettingsRecord* time = settings.TimeSettings()) {
    if (!settings.KeepsSystemTimeMask() && !RecordText(time->timeMask).empty())
      mask.assign(RecordText(time->timeMask));
  }
  return mask;
}

std::u16string SystemDateMask(const RegionalSettings& settings) {
  std::u16string mask = DateMaskFromDeviceFormat(LocaleItem(localeitem::kShortDate, u"dd/MM/yyyy"));
  if (const DateSettingsRecord* date = settings.DateSettings()) {
    if (!settings.UsesSystemLanguage() && !RecordText(date->dateMask).empty())
      mask.assign(RecordText(date->dateMask));
  }
  if (settings.ReversesSystemDateMask() && settings.UsesSystemLanguage())
    std::reverse(mask.begin(), mask.end());
  return mask;
}

std::u16string SystemMask(const DateMask& mask) {
  if (!mask.dateMode()) return SystemTimeMask(mask.settings());
  std::u16string result = SystemDateMask(mask.settings());
  if (IsDateTimeFormat(mask.inputFormat())) {
    // In a date-time mask "mm" is read as minutes; the AM marker is put back afterwards.
    std::u16string time = SystemTimeMask(mask.settings());
    ReplaceAll(time, u"M", u"m");
    ReplaceAll(time, u"Am", u"AM");
    result += u' ';
    result += time;
  }
  return result;
}

bool IsSpecialMaskName(std::u16string_view mask) {
  return mask == kUseSystemMask || mask == kUseDatePickerDateMask ||
         mask == kUseDatePickerTimeMask || mask == kUseDatePickerDateTimeMask;
}

std::u16string ResolveSpecialMask(const DateMask& mask, std::u16string_view name) {
  if (name == kUseSystemMask || name == kUseDatePickerDateMask ||
      name == kUseDatePickerDateTimeMask)
    return SystemMask(mask);
  if (name == kUseDatePickerTimeMask) return SystemTimeMask(mask.settings());
  return std::u16string(name);
}

}  // namespace tq
