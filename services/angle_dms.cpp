// Angle formatting and parsing. Positions are UTF-16 indexes of the text after an optional
// leading '-'; -1 stands for an absent marker. Numbers are read in place from just after the
// previous marker used, and stop at the first character that cannot continue them.
#include "services/angle_dms.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "frame/raise_error.h"

namespace tq {
namespace {

constexpr char16_t kDegreeSign = u'\u00b0';
constexpr char16_t kDoubleQuote = u'"';

// Apostrophe-like characters, in the order in which they are tried as markers.
constexpr std::array<char16_t, 18> kApostrophes = {
    u'\u0027', u'\u2019', u'\u02bb', u'\u02bc', u'\u02bd', u'\u02be',
    u'\u02bf', u'\u02c8', u'\u055a', u'\u2018', u'\u201d', u'\u0060',
    u'\u00b4', u'\u2032', u'\u2035', u'\u02b9', u'\ua78b', u'\ua78c'};

constexpr double kOneOver60 = 0.016666666666666666;
constexpr double kOneOver3600 = 0.0002777777777777778;

int64_t Find(std::u16string_view text, std::u16string_view what) {
  const size_t at = text.find(what);
  return at == std::u16string_view::npos ? -1 : static_cast<int64_t>(at);
}

struct Markers {
  int64_t degree = -1, minute = -1, second = -1;
};

Markers FindMarkers(std::u16string_view text) {
  Markers m;
  m.degree = Find(text, std::u16string_view(&kDegreeSign, 1));
  for (char16_t c : kApostrophes) {
    const char16_t pair[2] = {c, c};
    m.second = Find(text, std::u16string_view(pair, 2));
    if (m.second >= 0) break;
  }
  if (m.second < 0) m.second = Find(text, std::u16string_view(&kDoubleQuote, 1));
  for (char16_t c : kApostrophes) {
    const int64_t at = Find(text, std::u16string_view(&c, 1));
    if (at >= 0 && at != m.second) {
      m.minute = at;
      break;
    }
  }
  if (m.degree >= 0 &&
      ((m.minute >= 0 && m.degree > m.minute) || (m.second >= 0 && m.degree > m.second))) {
    m.degree = -1;
  }
  return m;
}

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

// Optional sign, then digits; no digits reads as 0. Saturates at the 32-bit range.
int64_t LeadingInteger(std::u16string_view s) {
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
  int64_t n = 0;
  for (; i < s.size() && IsDigit(s[i]); ++i) {
    n = n * 10 + (s[i] - u'0');
    if (n > INT32_MAX) n = static_cast<int64_t>(INT32_MAX) + 1;
  }
  if (negative) return n > INT32_MAX ? INT32_MIN : -n;
  return n > INT32_MAX ? INT32_MAX : n;
}

// Optional sign, digits with an optional decimal point, optional exponent; nothing readable
// reads as 0.
double LeadingReal(std::u16string_view s) {
  std::string ascii;
  size_t i = 0;
  auto take = [&](bool ok) {
    if (!ok) return false;
    ascii += static_cast<char>(s[i++]);
    return true;
  };
  take(i < s.size() && (s[i] == u'+' || s[i] == u'-'));
  size_t digits = 0;
  while (take(i < s.size() && IsDigit(s[i]))) ++digits;
  if (take(i < s.size() && s[i] == u'.')) {
    while (take(i < s.size() && IsDigit(s[i]))) ++digits;
  }
  if (digits == 0) return 0;
  if (i + 1 < s.size() && (s[i] == u'e' || s[i] == u'E')) {
    size_t j = i + 1;
    if (j < s.size() && (s[j] == u'+' || s[j] == u'-')) ++j;
    if (j < s.size() && IsDigit(s[j])) {
      while (i < j) take(true);
      while (take(i < s.size() && IsDigit(s[i]))) {
      }
    }
  }
  // from_chars reads the C form whatever the process locale; it takes no '+'.
  const char* first = ascii.data() + (ascii[0] == '+' ? 1 : 0);
  double x = 0;
  const auto [end, ec] = std::from_chars(first, ascii.data() + ascii.size(), x);
  if (ec == std::errc::result_out_of_range) {
    // Too large or too small for a double: only the exponent's sign matters here.
    const size_t e = ascii.find_first_of("eE");
    const bool huge = e != std::string::npos && ascii[e + 1] != '-';
    x = huge ? HUGE_VAL : 0.0;
    if (ascii[0] == '-') x = -x;
  }
  return x;
}

int32_t TruncatedForMessage(double x) {
  if (!(x < 2147483647.0)) return INT32_MAX;  // also NaN
  return static_cast<int32_t>(x);
}

}  // namespace

std::u16string AngleToDms(double angle) {
  const bool negative = angle < 0;
  double d = 0, f = 0;
  if (std::isfinite(angle)) {
    d = std::trunc(angle);
    f = std::fabs(angle - d);
    d = std::fmod(d, 360.0);
  }
  int32_t degrees = static_cast<int32_t>(d);
  int32_t minutes = 0, seconds = 0;
  if (f != 0) {
    minutes = static_cast<int32_t>(f * 60);
    const double g = f * 60 - minutes;
    if (g != 0) {
      seconds = static_cast<int32_t>(g * 60 + 0.5);
      if (seconds >= 60) {
        minutes += 1;
        seconds -= 60;
      }
    }
  }
  if (minutes >= 60) {
    degrees = degrees > 0 ? degrees + 1 : degrees - 1;
    minutes -= 60;
  }
  char text[64];
  std::snprintf(text, sizeof text, "%s%03d%c%02d'%02d''", negative ? "-" : "",
                degrees < 0 ? -degrees : degrees, '\x01', minutes, seconds);
  std::u16string out;
  for (const char* c = text; *c != 0; ++c) out += *c == '\x01' ? kDegreeSign : char16_t(*c);
  return out;
}

DmsReading ReadDms(std::u16string_view text) {
  DmsReading r;
  double factor = 1;
  if (!text.empty() && text[0] == u'-') {
    factor = -1;
    text.remove_prefix(1);
  }
  const Markers m = FindMarkers(text);
  auto fail = [&r](DmsFailure why, int32_t offending) {
    r.failure = why;
    r.offending = offending;
    return r;
  };
  int64_t p = -1;
  bool used = false;
  int64_t degrees = 0, minutes = 0;
  double seconds = 0;
  if (m.degree > 0 && m.degree > p) {
    degrees = LeadingInteger(text.substr(static_cast<size_t>(p + 1)));
    if (degrees < 0) return fail(DmsFailure::kUnreadable, 0);
    p = m.degree;
    used = true;
  }
  if (m.minute > 0 && m.minute > p) {
    minutes = LeadingInteger(text.substr(static_cast<size_t>(p + 1)));
    if (minutes < 0) return fail(DmsFailure::kUnreadable, 0);
    if (minutes >= 60) return fail(DmsFailure::kMinutesTooLarge, static_cast<int32_t>(minutes));
    p = m.minute;
    used = true;
  }
  if (m.second > 0 && m.second > p) {
    seconds = LeadingReal(text.substr(static_cast<size_t>(p + 1)));
    if (seconds < 0) return fail(DmsFailure::kUnreadable, 0);
    if (seconds >= 60) return fail(DmsFailure::kSecondsTooLarge, TruncatedForMessage(seconds));
    used = true;
  }
  if (!used) return fail(DmsFailure::kUnreadable, 0);
  r.angle =
      (static_cast<double>(degrees % 360) + minutes * kOneOver60 + seconds * kOneOver3600) * factor;
  return r;
}

double DmsToAngle(ComponentProxy* proxy, std::u16string_view text) {
  const DmsReading r = ReadDms(text);
  switch (r.failure) {
    case DmsFailure::kNone:
      return r.angle;
    case DmsFailure::kMinutesTooLarge:
      RaiseError(proxy, 80130, {r.offending});
      break;
    case DmsFailure::kSecondsTooLarge:
      RaiseError(proxy, 80129, {r.offending});
      break;
    case DmsFailure::kUnreadable:
      RaiseError(proxy, 81836);
      break;
  }
  return 0;
}

}  // namespace tq
