// Locale-aware comparison and case mapping.
#include "platform/strings.h"

#include <gtest/gtest.h>

#include <string>

#include "device_fixture.h"
#include "platform/last_error.h"
#include "platform/locale_ids.h"

namespace ce {
namespace {

class StringsTest : public testing::DeviceTest {};

int Compare(const std::u16string& a, const std::u16string& b, DWORD flags = 0,
            LCID lcid = LOCALE_USER_DEFAULT) {
  return CompareStringW(lcid, flags, a.c_str(), -1, b.c_str(), -1);
}

TEST_F(StringsTest, FrenchComparison) {
  struct Case {
    std::u16string a, b;
    DWORD flags;
    int expected;
  } cases[] = {
      {u"a", u"b", 0, CSTR_LESS_THAN},
      {u"b", u"a", 0, CSTR_GREATER_THAN},
      {u"abc", u"abc", 0, CSTR_EQUAL},
      {u"a", u"A", 0, CSTR_LESS_THAN},  // lower case first
      {u"a", u"A", NORM_IGNORECASE, CSTR_EQUAL},
      {u"\u00E9t\u00E9", u"\u00C9T\u00C9", NORM_IGNORECASE, CSTR_EQUAL},
      {u"e", u"\u00E9", 0, CSTR_LESS_THAN},
      {u"\u00E9", u"f", 0, CSTR_LESS_THAN},  // accents are secondary: e < é < f
      {u"\u00E9", u"E", NORM_IGNORECASE, CSTR_GREATER_THAN},
      {u"\u00E9", u"e", NORM_IGNORENONSPACE, CSTR_EQUAL},
      {u"\u00E9", u"E", NORM_IGNORENONSPACE, CSTR_LESS_THAN},
      {u"\u00C9", u"e", NORM_IGNORENONSPACE | NORM_IGNORECASE, CSTR_EQUAL},
      {u"cot\u00E9", u"c\u00F4te", 0, CSTR_LESS_THAN},  // France: accents read forwards
      {u"apple", u"Banana", 0, CSTR_LESS_THAN},
      {u"a-b", u"ab", NORM_IGNORESYMBOLS, CSTR_EQUAL},
      {u"a b.", u"ab", NORM_IGNORESYMBOLS, CSTR_EQUAL},
      {u"\uFF21", u"A", NORM_IGNOREWIDTH, CSTR_EQUAL},
      {u"\u30AB", u"\u304B", NORM_IGNOREKANATYPE, CSTR_EQUAL},
      {u"a", u"a", SORT_STRINGSORT, CSTR_EQUAL},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Compare(c.a, c.b, c.flags), c.expected)
        << "flags " << c.flags << " case " << (&c - cases);
  }
  // Canada reads accents backwards, from the end of the word.
  EXPECT_EQ(Compare(u"cot\u00E9", u"c\u00F4te", 0, 0x0C0C), CSTR_GREATER_THAN);
}

TEST_F(StringsTest, CountsAndErrors) {
  EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, 0, u"abcdef", 3, u"abc", -1), CSTR_EQUAL);
  EXPECT_EQ(CompareStringW(LOCALE_SYSTEM_DEFAULT, 0, u"ab", 2, u"abc", 3), CSTR_LESS_THAN);
  EXPECT_EQ(CompareStringW(0x0409, 0, u"", 0, u"", -1), CSTR_EQUAL);
  const struct {
    LCID lcid;
    DWORD flags;
    const char16_t* a;
    int count;
    DWORD error;
  } failures[] = {{LOCALE_USER_DEFAULT, 0, nullptr, -1, ERROR_INVALID_PARAMETER},
                  {LOCALE_USER_DEFAULT, 0, u"a", -2, ERROR_INVALID_PARAMETER},
                  {LOCALE_USER_DEFAULT, 0x8, u"a", -1, ERROR_INVALID_FLAGS},
                  {0x1234, 0, u"a", -1, ERROR_INVALID_PARAMETER}};
  for (const auto& f : failures) {
    SetLastError(0);
    EXPECT_EQ(CompareStringW(f.lcid, f.flags, f.a, f.count, u"a", -1), 0);
    EXPECT_EQ(GetLastError(), f.error);
  }
}

TEST_F(StringsTest, DeviceLocaleDecides) {
  EXPECT_EQ(GetUserDefaultLCID(), 0x040Cu);
  Configure("TQ_LOCALE", "sv-SE");  // Swedish sorts ä after z
  EXPECT_EQ(GetSystemDefaultLCID(), 0x041Du);
  EXPECT_EQ(Compare(u"\u00E4", u"z"), CSTR_GREATER_THAN);
  Configure("TQ_LOCALE", "de-DE");
  EXPECT_EQ(Compare(u"\u00E4", u"z"), CSTR_LESS_THAN);
}

TEST_F(StringsTest, LstrFunctions) {
  EXPECT_LT(lstrcmpW(u"a", u"b"), 0);
  EXPECT_GT(lstrcmpW(u"b", u"a"), 0);
  EXPECT_LT(lstrcmpW(u"a", u"A"), 0);
  EXPECT_EQ(lstrcmpiW(u"a", u"A"), 0);
  EXPECT_EQ(lstrcmpW(nullptr, nullptr), 0);
  EXPECT_LT(lstrcmpW(nullptr, u""), 0);
  EXPECT_GT(lstrcmpiW(u"", nullptr), 0);
  EXPECT_EQ(lstrlenW(u"\u00E9t\u00E9"), 3);
  EXPECT_EQ(lstrlenW(nullptr), 0);
}

TEST_F(StringsTest, CharUpperAndLower) {
  std::u16string text = u"\u00E9t\u00E9 stra\u00DFe \U00010428";
  EXPECT_EQ(CharUpperW(text.data()), text.data());
  EXPECT_EQ(text, u"\u00C9T\u00C9 STRA\u00DFE \U00010400");  // ß has no one-letter capital
  CharLowerW(text.data());
  EXPECT_EQ(text, u"\u00E9t\u00E9 stra\u00DFe \U00010428");
  // A character passed in the pointer value itself.
  EXPECT_EQ(reinterpret_cast<uintptr_t>(CharUpperW(reinterpret_cast<LPWSTR>(uintptr_t{u'\u00E0'}))),
            uintptr_t{u'\u00C0'});
  std::u16string buffer = u"abcd";
  EXPECT_EQ(CharUpperBuffW(buffer.data(), 2), 2u);
  EXPECT_EQ(buffer, u"ABcd");
  EXPECT_EQ(CharLowerBuffW(buffer.data(), 4), 4u);
  EXPECT_EQ(buffer, u"abcd");
  std::u16string lone = u"a\xD800";
  CharUpperW(lone.data());
  EXPECT_EQ(lone, u"A\xD800");
}

TEST_F(StringsTest, LCMapString) {
  char16_t out[16];
  EXPECT_EQ(LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, u"\u00E9t\u00E9", -1, nullptr, 0),
            4);
  EXPECT_EQ(LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, u"\u00E9t\u00E9", -1, out, 16), 4);
  EXPECT_EQ(std::u16string(out), u"\u00C9T\u00C9");
  EXPECT_EQ(LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE, u"ABC", 2, out, 16), 2);
  EXPECT_EQ(std::u16string(out, 2), u"ab");
  // Linguistic casing: full mappings and the locale's own rules.
  EXPECT_EQ(LCMapStringW(0x0407, LCMAP_UPPERCASE | LCMAP_LINGUISTIC_CASING, u"\u00DF", 1, out, 16),
            2);
  EXPECT_EQ(std::u16string(out, 2), u"SS");
  EXPECT_EQ(LCMapStringW(0x041F, LCMAP_UPPERCASE | LCMAP_LINGUISTIC_CASING, u"i", 1, out, 16), 1);
  EXPECT_EQ(out[0], u'\u0130');
  EXPECT_EQ(LCMapStringW(0x041F, LCMAP_UPPERCASE, u"i", 1, out, 16), 1);
  EXPECT_EQ(out[0], u'I');

  SetLastError(0);
  EXPECT_EQ(LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, u"abc", -1, out, 3), 0);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE | LCMAP_LOWERCASE, u"a", 1, out, 16),
            0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);
  EXPECT_EQ(LCMapStringW(LOCALE_USER_DEFAULT, 0x400 /* sort key */, u"a", 1, out, 16), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);
  EXPECT_EQ(LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, u"a", 0, out, 16), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

}  // namespace
}  // namespace ce
