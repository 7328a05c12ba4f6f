// The FormatSpec grammar: a small state machine over the format's characters.
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
bool Suffix(char16_t c, FormatSpec& spec) {
  switch (c) {
    case u'a': case u'A': spec.thousandsChar = u' '; return true;
    case u'p': case u'P': spec.thousandsChar = u'.'; return true;
    case u'v': case u'V': spec.thousandsChar = u','; return true;
    case u's': case u'S': spec.flags |= specflag::kDeviceThousands; return true;
    case u'r': case u'R': spec.flags |= specflag::kSettingsThousands; return true;
    default: return false;
  }
}

void Normalise(FormatSpec& spec, bool precisionGiven) {
  if (spec.conversion == u'F') spec.conversion = u'f';
  if (spec.conversion == u'D') spec.conversion = u'd';
  switch (spec.conversion) {
    case u'x': case u'X': case u'o': case u'O':
      spec.flags &= ~(specflag::kDeviceThousands | specflag::kSettingsThousands);
      spec.thousandsChar = 0;
      break;
    case u'e': case u'E': case u'f':
      if (!precisionGiven) spec.precision = 6;
      break;
    default:
      break;
  }
  if (spec.flags & specflag::kLeft) spec.flags &= ~specflag::kZeroPad;
}

}  // namespace

std::optional<FormatSpec> ParseFormatSpec(std::u16string_view format) {
  FormatSpec spec;
  bool precisionGiven = false;
  State state = State::kFlags;
  size_t i = 0;
  if (!format.empty() && format[0] == u'%') ++i;
  bool ended = false;
  for (; i < format.size() && !ended; ++i) {
    const char16_t c = format[i];
    if (state == State::kFlags && c == u'-') {
      spec.flags |= specflag::kLeft;
      continue;
    }
    if (state == State::kFlags && c == u'+') {
      spec.flags |= specflag::kSign;
      continue;
    }
    if ((state == State::kFlags || state == State::kWidth) && IsDigit(c)) {
      if (state == State::kFlags && c == u'0') spec.flags |= specflag::kZeroPad;
      state = State::kWidth;
      Accumulate(spec.width, c);
      continue;
    }
    if ((state == State::kAfterComma || state == State::kPrecision) && IsDigit(c)) {
      Accumulate(spec.precision, c);
      continue;
    }
    if (state == State::kAfterComma && c == u',') {
      spec.flags &= ~specflag::kDeviceDecimal;
      spec.decimalChar = u',';
      state = State::kPrecision;
      continue;
    }
    if (state == State::kFlags || state == State::kWidth) {
      // A precision separator gives the precision, 0 until digits follow (as in C).
      if (c == u',') {
        spec.flags |= specflag::kDeviceDecimal;
        state = State::kAfterComma;
        precisionGiven = true;
        continue;
      }
      if (c == u'.' || c == u';') {
        if (c == u';') spec.flags |= specflag::kSettingsDecimal;
        state = State::kPrecision;
        precisionGiven = true;
        continue;
      }
    }
    if (c == u'l' || c == u'L') {
      spec.flags |= specflag::kLong;
      continue;
    }
    if (state != State::kConversion && IsConversion(c)) {
      spec.conversion = c;
      state = State::kConversion;
      continue;
    }
    // A suffix ends the format, but only after something it qualifies: a leading suffix
    // letter makes no format ("abc" is refused).
    if (state != State::kFlags && Suffix(c, spec)) {
      ended = true;
      continue;
    }
    return std::nullopt;
  }
  Normalise(spec, precisionGiven);
  return spec;
}

}  // namespace tq
