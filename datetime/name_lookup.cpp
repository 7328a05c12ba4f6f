// Day and month names from the project lists, the device locale or the library's messages,
// and their styling by the mask tokens.
#include "datetime/name_lookup.h"

#include "datetime/date_mask.h"
#include "frame/message_loader.h"
#include "platform/locale_info.h"
#include "platform/strings.h"

namespace tq {
namespace {

constexpr uint32_t kFirstMonthMessage = 0x6E20;  // January .. 0x6E2B December
constexpr uint32_t kMondayMessage = 0x6E2C;      // Monday .. 0x6E31 Saturday
constexpr uint32_t kSundayMessage = 0x6E32;

// Element `index` of a ';'-separated list; empty when the list is shorter.
std::u16string_view ListElement(std::u16string_view list, int index) {
  for (int i = 0; i < index; ++i) {
    const size_t separator = list.find(u';');
    if (separator == std::u16string_view::npos) return {};
    list.remove_prefix(separator + 1);
  }
  return list.substr(0, list.find(u';'));
}

// The list of the project settings when they do not defer to the system language.
std::u16string_view ProjectList(const RegionalSettings& settings, bool days) {
  if (!settings || settings.UsesSystemLanguage()) return {};
  const DateSettingsRecord* date = settings.DateSettings();
  if (date == nullptr) return {};
  return RecordText(days ? date->dayNames : date->monthNames);
}

std::u16string LocaleDate(ce::WORD year, ce::WORD month, ce::WORD day, const char16_t* picture) {
  ce::SYSTEMTIME date{};
  date.wYear = year;
  date.wMonth = month;
  date.wDay = day;
  char16_t buffer[128];
  const int n = ce::GetDateFormatW(ce::LOCALE_USER_DEFAULT, 0, &date, picture, buffer, 128);
  return n > 0 ? std::u16string(buffer) : std::u16string();
}

std::u16string Message(uint32_t id) {
  return LoadMessageText(id).value_or(std::u16string());
}

void UpperAll(std::u16string& s) {
  if (!s.empty()) ce::CharUpperBuffW(s.data(), static_cast<ce::DWORD>(s.size()));
}
void ConvertFirst(std::u16string& s, uint32_t style) {
  if (s.empty()) return;
  if (style & kStyleFirstUpper) ce::CharUpperBuffW(s.data(), 1);
  if (style & kStyleFirstLower) ce::CharLowerBuffW(s.data(), 1);
}

void LimitToCapacity(std::u16string& s, size_t capacity) {
  const size_t limit = capacity > 0 ? capacity - 1 : 0;
  if (s.size() > limit) s.resize(limit);
}

bool StartsWithJui(std::u16string_view s) {
  if (s.size() < 3) return false;
  auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
  return lower(s[0]) == u'j' && lower(s[1]) == u'u' && lower(s[2]) == u'i';
}

}  // namespace

std::u16string DayName(const RegionalSettings& settings, int dayOfWeek) {
  if (dayOfWeek < 0 || dayOfWeek > 6) return std::u16string();
  const std::u16string_view project =
      ListElement(ProjectList(settings, true), dayOfWeek == 0 ? 6 : dayOfWeek - 1);
  if (!project.empty()) return std::u16string(project);
  if (settings && settings.UsesSystemLanguage()) {
    // 2010-10-03 was a Sunday.
    std::u16string name = LocaleDate(2010, 10, static_cast<ce::WORD>(dayOfWeek + 3), u"dddd");
    if (!name.empty()) return name;
  }
  return Message(dayOfWeek == 0 ? kSundayMessage : kMondayMessage + dayOfWeek - 1);
}

std::u16string MonthName(const RegionalSettings& settings, int month, bool abbreviated,
                         bool* abbreviatedByLocale) {
  if (abbreviatedByLocale != nullptr) *abbreviatedByLocale = false;
  if (month < 1 || month > 12) return std::u16string();
  const std::u16string_view project = ListElement(ProjectList(settings, false), month - 1);
  if (!project.empty()) return std::u16string(project);
  if (settings && settings.UsesSystemLanguage()) {
    // The month in the form that follows a day number: "01" and the name.
    std::u16string text =
        LocaleDate(2000, static_cast<ce::WORD>(month), 1, abbreviated ? u"ddMMM" : u"ddMMMM");
    if (text.size() > 2) {
      if (abbreviatedByLocale != nullptr) *abbreviatedByLocale = abbreviated;
      return text.substr(2);
    }
  }
  return Message(kFirstMonthMessage + static_cast<uint32_t>(month - 1));
}

std::u16string FormatDayName(const DateMask& mask, int dayOfWeek, uint32_t style, size_t capacity) {
  std::u16string name = DayName(mask.settings(), dayOfWeek);
  LimitToCapacity(name, capacity);
  if ((style & kStyleAbbreviated) && name.size() > 3) name.resize(3);
  if (style & kStyleAllUpper) UpperAll(name);
  ConvertFirst(name, style);
  return name;
}

std::u16string FormatMonthName(const DateMask& mask, int month, uint32_t style, size_t capacity) {
  bool byLocale = false;
  std::u16string name =
      MonthName(mask.settings(), month, (style & kStyleAbbreviated) != 0, &byLocale);
  LimitToCapacity(name, capacity);
  if (style & kStyleAllUpper) UpperAll(name);
  if ((style & kStyleAbbreviated) && !byLocale) {
    // Four letters for names starting with "jui", so that June and July stay distinct.
    const size_t keep = StartsWithJui(name) ? 4 : 3;
    if (name.size() > keep) name.resize(keep);
  }
  ConvertFirst(name, style);
  return name;
}

std::u16string DayNameForCall(CallContext* context, int dayOfWeek) {
  DateMask mask(u"", true);
  mask.AttachSettings(RegionalSettings::OfCall(context));
  return FormatDayName(mask, dayOfWeek, 0, kDayNameFunctionCapacity);
}

std::u16string MonthNameForCall(CallContext* context, int month) {
  DateMask mask(u"", true);
  mask.AttachSettings(RegionalSettings::OfCall(context));
  return FormatMonthName(mask, month, 0, kMonthNameFunctionCapacity);
}

}  // namespace tq
