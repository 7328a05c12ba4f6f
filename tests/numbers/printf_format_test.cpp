// The printf-like format language: its grammar, our conversions against the C library's
// snprintf where both agree (no separators, no rounding nudge), and the formatter's own repairs:
// 'd' rounding, hexadecimal sign fill, the exact currency path and thousands grouping.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "frame/text.h"
#include "numtext/number_grouping.h"
#include "numtext/number_to_string.h"
#include "numtext/printf_format.h"
#include "numtext/printf_render.h"

namespace {

using tq::FormatDirective;
namespace flag = tq::directiveflag;

std::u16string Wide(const std::string& s) { return std::u16string(s.begin(), s.end()); }

TEST(FormatDirectiveGrammar, ReadsFlagsWidthPrecisionAndSuffixes) {
  struct Case {
    const char* format;
    uint16_t flags;
    char conversion;
    int width, precision;
    char16_t decimal, thousands;
  } cases[] = {
      {"10,2f", flag::kDeviceDecimal, 'f', 10, 2, 0, 0},
      {"10,,2f", 0, 'f', 10, 2, u',', 0},
      {"8.3fS", flag::kDeviceThousands, 'f', 8, 3, 0, 0},
      {"+08X", flag::kSign | flag::kZeroPad, 'X', 8, 0, 0, 0},
      {"%-012.4e", flag::kLeft, 'e', 12, 4, 0, 0},  // left clears zero-pad
      {"f", 0, 'f', 0, 6, 0, 0},
      {"", 0, 'f', 0, 6, 0, 0},
      {"D", 0, 'd', 0, 0, 0, 0},
      {"12;3F", flag::kSettingsDecimal, 'f', 12, 3, 0, 0},
      {"5.1lfA", flag::kLong, 'f', 5, 1, 0, u' '},
      {"5.1fp", 0, 'f', 5, 1, 0, u'.'},
      {"5.1fVtrailing", 0, 'f', 5, 1, 0, u','},
      {"5.1fR", flag::kSettingsThousands, 'f', 5, 1, 0, 0},
      {"8xS", 0, 'x', 8, 0, 0, 0},  // no grouping for hexadecimal
      {"0S", flag::kDeviceThousands | flag::kZeroPad, 'f', 0, 6, 0, 0},
      {"8.f", 0, 'f', 8, 0, 0, 0},
  };
  for (const auto& c : cases) {
    const std::optional<FormatDirective> directive = tq::ParseFormatDirective(Wide(c.format));
    ASSERT_TRUE(directive.has_value()) << c.format;
    EXPECT_EQ(directive->flags, c.flags) << c.format;
    EXPECT_EQ(directive->conversion, static_cast<char16_t>(c.conversion)) << c.format;
    EXPECT_EQ(directive->width, c.width) << c.format;
    EXPECT_EQ(directive->precision, c.precision) << c.format;
    EXPECT_EQ(directive->decimalChar, c.decimal) << c.format;
    EXPECT_EQ(directive->thousandsChar, c.thousands) << c.format;
  }
}

TEST(FormatDirectiveGrammar, RefusesWhatItCannotRead) {
  for (const char* bad : {"abc", "8-2f", "f2", "ff", "10,,,2f", "%%f", "1.2.3f", "x+", "S", "-a"})
    EXPECT_FALSE(tq::ParseFormatDirective(Wide(bad)).has_value()) << bad;
  const std::optional<FormatDirective> huge = tq::ParseFormatDirective(u"99999999999999999999f");
  ASSERT_TRUE(huge.has_value());
  EXPECT_GT(huge->width, tq::kFormatLimit);
}

// Our conversions against snprintf on the same C format.
std::u16string Ours(double v, const tq::CConversion& c) {
  std::u16string out;
  tq::AppendReal(out, v, c);
  return out;
}

std::string CFormatOf(const tq::CConversion& c) {
  std::string f = "%";
  if (c.left) f += '-';
  if (c.sign) f += '+';
  if (c.zero) f += '0';
  if (c.width > 0) f += std::to_string(c.width);
  if (c.letter == 'f' || c.letter == 'e' || c.letter == 'E') f += "." + std::to_string(c.precision);
  f += c.letter;
  return f;
}

TEST(PrintfConversions, RealsAgreeWithTheCLibrary) {
  std::mt19937_64 random(20240305);
  std::uniform_int_distribution<int> exponent(-30, 30);
  std::uniform_real_distribution<double> mantissa(-10, 10);
  const char letters[] = {'f', 'e', 'E'};
  for (int i = 0; i < 20000; ++i) {
    tq::CConversion c;
    c.letter = letters[i % 3];
    c.left = (i / 3) % 5 == 0;
    c.sign = (i / 7) % 3 == 0;
    c.zero = (i / 11) % 2 == 0;
    c.width = static_cast<int>(random() % 40);
    c.precision = static_cast<int>(random() % 30);
    const double v = i % 50 == 0 ? 0.0 : mantissa(random) * std::pow(10.0, exponent(random));
    char expected[512];
    std::snprintf(expected, sizeof expected, CFormatOf(c).c_str(), v);
    ASSERT_EQ(tq::Utf16ToUtf8(Ours(v, c)), expected) << CFormatOf(c) << " of " << v;
  }
  for (double special : {HUGE_VAL, -HUGE_VAL, std::nan(""), -0.0, 1e308, 5e-324}) {
    tq::CConversion c;
    c.width = 12;
    char expected[512];
    std::snprintf(expected, sizeof expected, "%12.6f", special);
    EXPECT_EQ(tq::Utf16ToUtf8(Ours(special, c)), expected);
  }
}

TEST(PrintfConversions, IntegersAgreeWithTheCLibrary) {
  std::mt19937_64 random(7);
  for (int i = 0; i < 5000; ++i) {
    tq::CConversion c;
    c.letter = "dxXo"[i % 4];
    c.left = i % 5 == 0;
    c.sign = c.letter == 'd' && i % 3 == 0;
    c.zero = i % 2 == 0;
    c.width = static_cast<int>(random() % 24);
    const uint64_t bits = random() >> (random() % 64);
    std::u16string ours;
    char expected[64];
    if (c.letter == 'd') {
      const auto n = static_cast<long long>(bits) * (i % 7 == 0 ? -1 : 1);
      tq::AppendSigned(ours, n, c);
      std::snprintf(expected, sizeof expected, (CFormatOf(c).insert(CFormatOf(c).size() - 1, "ll")).c_str(), n);
    } else {
      tq::AppendUnsigned(ours, bits, c);
      std::snprintf(expected, sizeof expected, (CFormatOf(c).insert(CFormatOf(c).size() - 1, "ll")).c_str(),
                    static_cast<unsigned long long>(bits));
    }
    ASSERT_EQ(tq::Utf16ToUtf8(ours), expected) << CFormatOf(c);
  }
}

// The whole printf path, without separators from the device or the VM.
std::string Format(double v, const char* format, uint8_t type = 12, int64_t integer = 0) {
  tq::NumberArgument a;
  a.type = type;
  a.real = v;
  a.integer = integer;
  a.currency = static_cast<tq::CurrencyUnits>(std::llround(v * 10000));
  a.bigInteger = (type == 5 || type == 9) && v > 4294967295.0;
  const std::optional<FormatDirective> directive = tq::ParseFormatDirective(Wide(format));
  EXPECT_TRUE(directive.has_value()) << format;
  return tq::Utf16ToUtf8(tq::FormatWithDirective(a, *directive, tq::RegionalSettings()));
}

TEST(NumberToStringPath, RoundingRepairsAndGrouping) {
  struct Case {
    double v;
    const char* format;
    uint8_t type;
    int64_t integer;
    const char* expected;
  } cases[] = {
      {2.5, "d", 12, 0, "3"},
      {-2.5, "d", 12, 0, "-3"},
      {2.675, ".2f", 12, 0, "2.68"},  // the nudge: 2.675 is stored below the half
      {65535, "08X", 8, 65535, "0000FFFF"},
      {-1, "04X", 8, -1, "FFFF"},
      {-1, "X", 8, -1, "FFFFFFFF"},
      {-1, "X", 4, -1, "FFFFFFFFFFFFFFFF"},
      {-1, "x", 9, -1, "ffffffffffffffff"},
      {-1, "016X", 8, -1, "FFFFFFFFFFFFFFFF"},  // zero padding read as two's complement
      {-1, "012o", 8, -1, "037777777777"},  // leading 3: no fill
      {-8, "o", 8, -8, "37777777770"},
      {1e5, "e", 12, 0, "1.000000e+05"},
      {1e5, "14E", 12, 0, "  1.000000E+05"},
      {1234567.891, "12.2fA", 12, 0, "1 234 567.89"},
      {1234567.891, "14.2fP", 12, 0, "  1.234.567.89"},
      {1234567.891, "014.2fA", 12, 0, "001 234 567.89"},
      {-1234567.891, "-14.2fV", 12, 0, "-1,234,567.89 "},
      {-123, "06.0fV", 12, 0, "-0,123"},
      {1234.5, "10,,1fA", 12, 0, "   1 234,5"},
      {12.35, "20.3f", 10, 0, "              12.350"},   // exact currency path
      {12.345, "+020.2f", 10, 0, "+0000000000000012.35"},
      {-12.345, "20.2f", 10, 0, "              -12.35"},
      {12.5, "d", 10, 0, "13"},
      {6000000000.0, "d", 9, 6000000000, "6000000000"},
      {6000000000.0, "15d", 9, 6000000000, "     6000000000"},
  };
  for (const Case& c : cases) EXPECT_EQ(Format(c.v, c.format, c.type, c.integer), c.expected) << c.format;
}

TEST(NumberToStringPath, GroupingKeepsPaddedWidth) {
  std::u16string text = u"   1234567";
  tq::GroupThousands(text, text.size(), u' ', 10);
  EXPECT_EQ(tq::Utf16ToUtf8(text), " 1 234 567");
  text = u"-0123";
  tq::GroupThousands(text, text.size(), u',', 5);
  EXPECT_EQ(tq::Utf16ToUtf8(text), " -123");  // the sign moves over the separator
}

}  // namespace
