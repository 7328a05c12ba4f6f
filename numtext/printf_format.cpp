// The FormatDirective grammar: a small state machine over the format's characters.
#include "numtext/printf_format.h"

namespace tq {
namespace {

enum class State { kFlags, kWidth, kAfterComma, kPrecision, kConversion };

constexpr int32_t kSaturation = 1000000;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

void Accumulate(int32_t& n, char16_t c) {
  n = n * 10 + (c - u'0');
  if (n > kSaturation) n = kSaturation;
}

bool IsConversion(char16_t c) {
  switch (c) {
    case u'e': case u'E': case u'f': case u'F': case u'x': case u'X':
    case u'd': case u'D': case u'o': case u'O':
      return true;
    default:
      return false;
  }
}

// Applies a suffix letter; false when `c` is not one.
bool Suffix(char16_t c, FormatDirective& directive) {
  switch (c) {
    case u'a': case u'A': directive.thousandsChar = u' '; return true;
    case u'p': case u'P': directive.thousandsChar = u'.'; return true;
    case u'v': case u'V': directive.thousandsChar = u','; return true;
    case u's': case u'S': directive.flags |= directiveflag::kDeviceThousands; return true;
    case u'r': case u'R': directive.flags |= directiveflag::kSettingsThousands; return true;
    default: return false;
  }
}

void Normalise(FormatDirective& directive, bool precisionGiven) {
  if (directive.conversion == u'F') directive.conversion = u'f';
  if (directive.conversion == u'D') directive.conversion = u'd';
  switch (directive.conversion) {
    case u'x': case u'X': case u'o': case u'O':
      directive.flags &= ~(directiveflag::kDeviceThousands | directiveflag::kSettingsThousands);
      directive.thousandsChar = 0;
      break;
    case u'e': case u'E': case u'f':
      if (!precisionGiven) directive.precision = 6;
      break;
    default:
      break;
  }
  if (directive.flags & directiveflag::kLeft) directive.flags &= ~directiveflag::kZeroPad;
}

}  // namespace

std::optional<FormatDirective> ParseFormatDirective(std::u16string_view format) {
  FormatDirective directive;
  bool precisionGiven = false;
  State state = State::kFlags;
  size_t i = 0;
  if (!format.empty() && format[0] == u'%') ++i;
  bool ended = false;
  for (; i < format.size() && !ended; ++i) {
    const char16_t c = format[i];
    if (state == State::kFlags && c == u'-') {
      directive.flags |= directiveflag::kLeft;
      continue;
    }
    if (state == State::kFlags && c == u'+') {
      directive.flags |= directiveflag::kSign;
      continue;
    }
    if ((state == State::kFlags || state == State::kWidth) && IsDigit(c)) {
      if (state == State::kFlags && c == u'0') directive.flags |= directiveflag::kZeroPad;
      state = State::kWidth;
      Accumulate(directive.width, c);
      continue;
    }
    if ((state == State::kAfterComma || state == State::kPrecision) && IsDigit(c)) {
      Accumulate(directive.precision, c);
      continue;
    }
    if (state == State::kAfterComma && c == u',') {
      directive.flags &= ~directiveflag::kDeviceDecimal;
      directive.decimalChar = u',';
      state = State::kPrecision;
      continue;
    }
    if (state == State::kFlags || state == State::kWidth) {
      // A precision separator gives the precision, 0 until digits follow (as in C).
      if (c == u',') {
        directive.flags |= directiveflag::kDeviceDecimal;
        state = State::kAfterComma;
        precisionGiven = true;
        continue;
      }
      if (c == u'.' || c == u';') {
        if (c == u';') directive.flags |= directiveflag::kSettingsDecimal;
        state = State::kPrecision;
        precisionGiven = true;
        continue;
      }
    }
    if (c == u'l' || c == u'L') {
      directive.flags |= directiveflag::kLong;
      continue;
    }
    if (state != State::kConversion && IsConversion(c)) {
      directive.conversion = c;
      state = State::kConversion;
      continue;
    }
    // A suffix ends the format, but only after something it qualifies: a leading suffix
    // letter makes no format ("abc" is refused).
    if (state != State::kFlags && Suffix(c, directive)) {
      ended = true;
      continue;
    }
    return std::nullopt;
  }
  Normalise(directive, precisionGiven);
  return directive;
}

}  // namespace tq
