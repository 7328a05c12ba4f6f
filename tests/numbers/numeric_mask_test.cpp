// The numeric mask walker, its sections and colour tags, percent scaling and the input mask,
// with fixed display separators (' ' thousands, ',' decimal, "EUR" symbol).
#include <gtest/gtest.h>

#include <string>

#include "frame/text.h"
#include "numtext/numeric_mask_format.h"
#include "numtext/numeric_mask_sections.h"

namespace {

using tq::ApplyNumericMask;

struct MaskCase {
  std::u16string mask, number, expected;
};

void ExpectMasks(const std::vector<MaskCase>& cases, const tq::MaskDisplay& display) {
  for (const MaskCase& c : cases)
    EXPECT_EQ(ApplyNumericMask(c.mask, c.number, display), c.expected)
        << tq::Utf16ToUtf8(c.mask) << " on " << tq::Utf16ToUtf8(c.number);
}

tq::MaskDisplay Display() {
  tq::MaskDisplay d;
  d.thousands = u' ';
  d.decimal = u',';
  d.symbol = u"EUR";
  return d;
}

TEST(NumericMask, PlaceholdersAndSeparators) {
  ExpectMasks(
      {
          {u"999 999,99", u"1234.5", u"1 234,50"},
          {u"999 999,99", u"1234567", u"###"},
          {u"999 999,99", u"0.5", u"0,50"},
          {u"999 999,99", u"12", u"12,00"},
          {u"999 999,99", u"12.345", u"12,34"},  // dropped, never rounded
          {u"000 000", u"1234", u"001 234"},  // no '9' after: a plain space
          {u"999", u"12.9", u"12"},
          {u"999,00", u"12", u"12"},        // ",0" and no fraction: no point
          {u"999,00", u"12.5", u"12,5"},
          {u"99.999", u"1234", u"1 234"},   // '.' groups like ' '
          {u"999.", u"12", u"12"},          // a trailing separator is silent
          {u"", u"42.5", u"42.5"},
          {u"999", u"", u"0"},
          {u"999", u"0", u"0"},
      },
      Display());
  tq::MaskDisplay dotted = Display();
  dotted.thousands = u'.';
  dotted.decimal = u',';
  ExpectMasks({{u"9 999 999,99", u"1234567.891", u"1.234.567,89"}}, dotted);
}

TEST(NumericMask, SignsSectionsAndParentheses) {
  ExpectMasks(
      {
          {u"999 999,99", u"-12", u"-12,00"},
          {u"+99 999,99", u"-12", u"-12,00"},
          {u"+99 999,99", u"12", u"12,00"},
          {u"+99 999,99;(99 999,99)", u"-12", u"(12,00)"},
          {u"+99 999,99;(99 999,99)", u"0", u"+0,00"},  // no zero section
          {u"+99 999,99;(99 999,99)", u"12", u"+12,00"},
          {u"99,99;-99,99;zéro", u"0", u"zéro"},
          {u"99,99;-99,99;nul $ ,", u"0.", u"nul EUR ,"},
          {u"99,99;-99,99;rien", u"-3", u"-3,00"},
          {u"(999,99)", u"-5", u"(5,00)"},  // one section: its parentheses are the sign
          {u"(999,99)", u"5", u"5,00"},
          {u"999 999 -", u"-1234", u"1 234 -"},
          {u"999 999 -", u"1234", u"1 234"},
          {u"--999", u"5", u"-5"},  // '--' is a literal minus
          {u"99;", u"-5", u"-5"},   // empty negative section: the positive one
      },
      Display());
}

TEST(NumericMask, CurrencyPercentLiteralsAndEscapes) {
  ExpectMasks(
      {
          {u"999,99 $", u"12.5", u"12,50 EUR"},
          {u"$$999", u"12", u"$12"},
          {u"999 %", u"0.125", u"12 %"},
          {u"999,9%", u"0.1234", u"12,3%"},
          {u"999 %%", u"5", u"5 %"},  // a pair is a literal percent, no scaling
          {u"\\9\\%999", u"5", u"9%5"},
          {u"N° 999", u"42", u"N° 42"},
          {u"[Rouge]999,99", u"1.5", u"1,50"},
          {u"[Red]999;[Blue](999)", u"-7", u"(7)"},
          {u"[c 9", u"1", u"[c 1"},  // no closing bracket: literals
      },
      Display());
  EXPECT_EQ(ApplyNumericMask(u"999", u"###", Display()), u"###");
}

TEST(NumericMask, TimesHundred) {
  EXPECT_EQ(tq::TimesHundred(u"12.3456"), u"1234.56");
  EXPECT_EQ(tq::TimesHundred(u"0.5"), u"50");
  EXPECT_EQ(tq::TimesHundred(u"-0.001"), u"-0.1");
  EXPECT_EQ(tq::TimesHundred(u"7"), u"700");
}

TEST(NumericMask, InputMaskAndSign) {
  EXPECT_EQ(tq::InputMaskOf(u"+99 999,99;(99 999,99)"), u"+99 999,99");
  EXPECT_EQ(tq::InputMaskOf(u"  999,9 %  "), u"999,9");
  EXPECT_EQ(tq::InputMaskOf(u"999 %%"), u"999 %%");
  EXPECT_EQ(tq::InputMaskOf(u"999 999 -"), u"+999 999");
  EXPECT_FALSE(tq::MaskNeedsSign(u"999,99"));
  EXPECT_TRUE(tq::MaskNeedsSign(u"999;(999)"));
  EXPECT_TRUE(tq::MaskNeedsSign(u"(999)"));
  EXPECT_TRUE(tq::MaskNeedsSign(u"999%"));
  EXPECT_TRUE(tq::MaskNeedsSign(u"-999"));
}

TEST(NumericMask, ColourTags) {
  struct Colour {
    std::u16string name;
    uint32_t value;
  };
  const Colour colours[] = {
      {u"Rouge", 0x0000FF},       {u"red", 0x0000FF},         {u"PASTELBLUE", 0xFF9999},
      {u"Orange", 0x40C0FF},      {u"JaunePastel", 0x99FFFF}, {u"transparent", 0xFFFFFFFF},
      {u"Transparent", 0xFBADC0DE}, {u"#102030", 0x302010},  {u"mauve", 0xFBADC0DE},
  };
  for (const Colour& c : colours)
    EXPECT_EQ(tq::ColourOfTag(c.name), c.value) << tq::Utf16ToUtf8(c.name);
  EXPECT_EQ(tq::ReadHexadecimal(u"1fz"), 0x1Fu);
  EXPECT_EQ(tq::ReadHexadecimal(u"123456789"), 0x12345678u);
  const tq::MaskSections s = tq::SplitSections(u"[Vert]99;[Rouge]-99;\\;zero;x");
  EXPECT_EQ(s.count, 3);
  EXPECT_EQ(s.section[0], u"99");
  EXPECT_EQ(s.section[1], u"-99");
  EXPECT_EQ(s.section[2], u"\\;zero;x");
}

}  // namespace
