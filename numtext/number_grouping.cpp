// Separators of printf-style numbers.
#include "numtext/number_grouping.h"

#include "frame/library_state.h"
#include "numtext/number_settings.h"
#include "platform/locale_info.h"

namespace tq {
namespace {

// The VM service value under which the VM's own number format replaces the device's.
constexpr intptr_t kVMNumberFormatService = 30;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsSign(char16_t c) { return c == u'+' || c == u'-'; }

char16_t DeviceChar(ce::LCTYPE item) {
  char16_t buffer[16] = {};
  if (ce::GetLocaleInfoW(ce::LOCALE_USER_DEFAULT, item, buffer, 16) <= 0) return 0;
  return buffer[0];
}

bool VMFormatsNumbers() { return Library().vmService[1] == kVMNumberFormatService; }

char16_t SettingsDecimal(const RegionalSettings& settings) {
  const NumberFormatRecord* record = CurrentNumberFormat(settings);
  return record != nullptr ? FirstChar(record->decimalSeparator) : 0;
}

char16_t SettingsThousands(const RegionalSettings& settings) {
  const NumberFormatRecord* record = CurrentNumberFormat(settings);
  return record != nullptr ? FirstChar(record->thousandsSeparator) : 0;
}

char16_t DecimalOf(const FormatDirective& directive, const RegionalSettings& settings) {
  if (directive.flags & directiveflag::kDeviceDecimal) {
    const char16_t c = VMFormatsNumbers() ? SettingsDecimal(settings) : DeviceChar(ce::LOCALE_SDECIMAL);
    return c != 0 ? c : u'.';
  }
  if (directive.flags & directiveflag::kSettingsDecimal) {
    const char16_t c = SettingsDecimal(settings);
    return c != 0 ? c : u'.';
  }
  return directive.decimalChar != 0 ? directive.decimalChar : u'.';
}

char16_t ThousandsOf(const FormatDirective& directive, const RegionalSettings& settings) {
  if (directive.flags & directiveflag::kDeviceThousands) {
    if (VMFormatsNumbers()) return SettingsThousands(settings);
    const char16_t c = DeviceChar(ce::LOCALE_STHOUSAND);
    return c != 0 ? c : u' ';
  }
  if (directive.flags & directiveflag::kSettingsThousands) return SettingsThousands(settings);
  return directive.thousandsChar;
}

}  // namespace

void RemovePaddingZeroAfterSign(std::u16string& text, const FormatDirective& directive) {
  const bool padded = (directive.flags & directiveflag::kZeroPad) &&
                      ((directive.flags & directiveflag::kSign) || (!text.empty() && text[0] == u'-'));
  if (padded && text.size() > static_cast<size_t>(directive.width) && text.size() >= 3 &&
      IsSign(text[0]) && text[1] == u'0' && IsDigit(text[2]))
    text.erase(1, 1);
}

void GroupThousands(std::u16string& text, size_t end, char16_t separator, int32_t width) {
  while (end > 0 && text[end - 1] == u' ') --end;
  size_t i = end;
  int count = 0;
  while (i > 0 && IsDigit(text[i - 1])) {
    --i;
    if (++count % 3 != 0 || i == 0 || !IsDigit(text[i - 1])) continue;
    const size_t start = IsSign(text[0]) ? 1 : 0;
    if (start < i && (text[start] == u' ' || text[start] == u'0')) {
      text.erase(start, 1);
      --i;
    } else if (text.back() == u' ') {
      text.pop_back();
    }
    text.insert(text.begin() + static_cast<std::ptrdiff_t>(i), separator);
  }
  for (size_t s = 0; s + 1 < text.size(); ++s) {
    if (IsSign(text[s]) && text[s + 1] == separator) {
      text[s + 1] = text[s];
      text[s] = u' ';
      break;
    }
  }
  while (text.size() > static_cast<size_t>(width > 0 ? width : 0) && !text.empty() && text[0] == u' ')
    text.erase(0, 1);
}

void PlaceSeparators(std::u16string& text, const FormatDirective& directive,
                     const RegionalSettings& settings) {
  const char16_t decimal = DecimalOf(directive, settings);
  const size_t point = text.find(u'.');
  if (point != std::u16string::npos) text[point] = decimal;
  const char16_t thousands = ThousandsOf(directive, settings);
  if (thousands != 0) {
    size_t end = point;
    if (end == std::u16string::npos) end = text.find_first_of(u"eE");
    if (end == std::u16string::npos) end = text.size();
    GroupThousands(text, end, thousands, directive.width);
  }
  for (char16_t& c : text)
    if ((c & 0xFF) == 0xA0) c = u' ';
}

}  // namespace tq
