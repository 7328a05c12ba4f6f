// The disk-size formatter.
#include "numtext/disk_size.h"

#include <array>
#include <charconv>
#include <cmath>

#include "frame/message_loader.h"
#include "frame/raise_error.h"
#include "numtext/number_settings.h"
#include "numtext/numeric_mask.h"

namespace tq {
namespace {

constexpr uint32_t kUnitNamesMessage = 25202;
constexpr uint32_t kUnknownUnitError = 81507;

std::array<std::u16string, 6> UnitNames(const RegionalSettings& settings) {
  std::u16string all;
  if (settings && !SizeUnitsFollowSystem(settings)) all = SizeUnitNames(settings);
  if (all.empty()) all = LoadMessageText(kUnitNamesMessage).value_or(std::u16string());
  std::array<std::u16string, 6> names;
  size_t start = 0;
  for (std::u16string& name : names) {
    if (start > all.size()) break;
    const size_t end = std::min(all.find(u';', start), all.size());
    name = all.substr(start, end - start);
    start = end + 1;
  }
  return names;
}

void AppendAscii(std::u16string& out, const char* begin, const char* end) {
  for (const char* p = begin; p != end; ++p) out += static_cast<char16_t>(*p);
}

std::u16string WithName(std::u16string text, const std::u16string& name) {
  text += u' ';
  text += name;
  return text;
}

}  // namespace

std::u16string FormatDiskSize(double value, int unit, char16_t decimal,
                              const RegionalSettings& settings) {
  if (unit < 0 || unit > kLargestSizeUnit) return std::u16string();
  std::array<std::u16string, 6> names = UnitNames(settings);
  std::u16string& bytes = names[0];
  if (bytes.size() >= 3 && bytes.compare(bytes.size() - 3, 3, u"(s)") == 0)
    bytes.replace(bytes.size() - 3, 3, value >= 2 ? u"s" : u"");
  char buffer[400];
  if ((std::fabs(value) < 1024 && unit == 0) || unit == 1) {
    const double whole = std::trunc(value);
    const int64_t n = std::isfinite(whole) && std::fabs(whole) < 9.2e18 ? static_cast<int64_t>(whole) : 0;
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, n);
    std::u16string text;
    AppendAscii(text, buffer, r.ptr);
    return WithName(std::move(text), bytes);
  }
  size_t index = 1;
  double v = value / 1024;
  while (index < 4 && !((std::fabs(v) < 1024 && unit == 0) || unit == static_cast<int>(index) + 1)) {
    v /= 1024;
    ++index;
  }
  if (index == 4 && unit == 0 && !names[5].empty() && v >= 1024) {
    v /= 1024;
    index = 5;
  }
  std::u16string text;
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 2);
  if (r.ec != std::errc()) {
    text = u"inf";
  } else {
    AppendAscii(text, buffer, r.ptr);
  }
  const size_t point = text.find(u'.');
  if (point != std::u16string::npos) text[point] = decimal;
  return WithName(std::move(text), names[index]);
}

std::u16string DiskSizeText(int64_t size, int64_t unit, RegionalSettings settings,
                            ComponentProxy* proxy) {
  if (unit < 0 || unit > kLargestSizeUnit) {
    if (proxy != nullptr) RaiseError(proxy, kUnknownUnitError);
    return std::u16string();
  }
  NumericMask mask(kDiskSizeKeyword);
  mask.ApplyRegionalSettings(std::move(settings), 0);
  return FormatDiskSize(static_cast<double>(size), static_cast<int>(unit), mask.decimalSeparator(),
                        mask.settings());
}

}  // namespace tq
