// The device's locale calls (items, date pictures, language names) and what the library
// makes of them: the locale item cache and SystemLanguage.
#include <gtest/gtest.h>

#include <string>

#include "datetime/locale_items.h"
#include "datetime/locale_items_language.h"
#include "platform/last_error.h"
#include "platform/locale_info.h"
#include "platform/modules.h"
#include "tests/date_formats/test_settings.h"

namespace {

using tqtest::DateFormatTest;
using LocaleTest = DateFormatTest;

std::u16string Item(ce::LCTYPE type) {
  char16_t buffer[256];
  return ce::GetLocaleInfoW(ce::LOCALE_SYSTEM_DEFAULT, type, buffer, 256) > 0 ? buffer : u"?";
}

std::u16string DateText(const char16_t* picture, ce::WORD y, ce::WORD m, ce::WORD d,
                        ce::DWORD flags = 0) {
  ce::SYSTEMTIME t{};
  t.wYear = y;
  t.wMonth = m;
  t.wDay = d;
  char16_t buffer[128];
  return ce::GetDateFormatW(ce::LOCALE_USER_DEFAULT, flags, &t, picture, buffer, 128) > 0 ? buffer
                                                                                          : u"?";
}

TEST_F(LocaleTest, ItemsAsTheDeviceReportsThem) {
  struct Case {
    const char* locale;
    std::u16string_view shortDate, timeFormat, decimal, thousand, currency, positive, negative;
  };
  const Case cases[] = {
      {"fr-FR", u"dd/MM/yyyy", u"HH:mm:ss", u",", u"\u00A0", u"€", u"3", u"8"},
      {"en-US", u"M/d/yyyy", u"h:mm:ss tt", u".", u",", u"$", u"0", u"1"},
      {"en-GB", u"dd/MM/yyyy", u"HH:mm:ss", u".", u",", u"£", u"0", u"1"},
      {"de-DE", u"dd.MM.yyyy", u"HH:mm:ss", u",", u".", u"€", u"3", u"8"},
      {"es-ES", u"dd/MM/yyyy", u"H:mm:ss", u",", u".", u"€", u"3", u"8"},
      {"ja-JP", u"yyyy/MM/dd", u"H:mm:ss", u".", u",", u"￥", u"0", u"1"},
  };
  for (const Case& c : cases) {
    Configure(c.locale, "UTC", "2024-03-05T10:00:00");
    EXPECT_EQ(Item(ce::LOCALE_SSHORTDATE), c.shortDate) << c.locale;
    EXPECT_EQ(Item(ce::LOCALE_STIMEFORMAT), c.timeFormat) << c.locale;
    EXPECT_EQ(Item(ce::LOCALE_SDECIMAL), c.decimal) << c.locale;
    EXPECT_EQ(Item(ce::LOCALE_STHOUSAND), c.thousand) << c.locale;
    EXPECT_EQ(Item(ce::LOCALE_SCURRENCY), c.currency) << c.locale;
    EXPECT_EQ(Item(ce::LOCALE_ICURRENCY), c.positive) << c.locale;
    EXPECT_EQ(Item(ce::LOCALE_INEGCURR), c.negative) << c.locale;
    EXPECT_EQ(Item(ce::LOCALE_IDIGITS), u"2") << c.locale;
  }
  Configure("ja-JP", "UTC", "2024-03-05T10:00:00");
  EXPECT_EQ(Item(ce::LOCALE_ICURRDIGITS), u"0");
}

TEST_F(LocaleTest, SizeRulesAndFailures) {
  EXPECT_EQ(ce::GetLocaleInfoW(ce::LOCALE_SYSTEM_DEFAULT, ce::LOCALE_SSHORTDATE, nullptr, 0), 11);
  char16_t small[4];
  EXPECT_EQ(ce::GetLocaleInfoW(ce::LOCALE_SYSTEM_DEFAULT, ce::LOCALE_SSHORTDATE, small, 4), 0);
  EXPECT_EQ(ce::GetLastError(), ce::ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(ce::GetLocaleInfoW(ce::LOCALE_SYSTEM_DEFAULT, 0x7777, small, 4), 0);
  EXPECT_EQ(ce::GetLastError(), ce::ERROR_INVALID_FLAGS);
  EXPECT_EQ(ce::GetLocaleInfoW(0x7777, ce::LOCALE_SSHORTDATE, small, 4), 0);
  EXPECT_EQ(ce::GetLastError(), ce::ERROR_INVALID_PARAMETER);
  ce::SYSTEMTIME bad{};
  bad.wYear = 2023;
  bad.wMonth = 2;
  bad.wDay = 29;
  EXPECT_EQ(ce::GetDateFormatW(ce::LOCALE_USER_DEFAULT, 0, &bad, u"dd", small, 4), 0);
  EXPECT_EQ(ce::GetLastError(), ce::ERROR_INVALID_PARAMETER);
  EXPECT_EQ(
      ce::GetDateFormatW(ce::LOCALE_USER_DEFAULT, ce::DATE_SHORTDATE, nullptr, u"dd", small, 4), 0);
  EXPECT_EQ(ce::GetLastError(), ce::ERROR_INVALID_FLAGS);
}

TEST_F(LocaleTest, DatePictures) {
  struct Case {
    const char* locale;
    const char16_t* picture;
    std::u16string_view expected;
  };
  const Case cases[] = {
      {"fr-FR", u"dddd d MMMM yyyy", u"mardi 5 mars 2024"},
      {"fr-FR", u"ddMMMM", u"05mars"},
      {"fr-FR", u"ddd dd/MM/yy", u"mar. 05/03/24"},
      {"fr-FR", u"'le' d 'de''s' MMM y", u"le 5 de's mars 24"},
      {"en-US", u"dddd, MMMM d, yyyy", u"Tuesday, March 5, 2024"},
      {"de-DE", u"dddd", u"Dienstag"},
      {"ru-RU", u"d MMMM", u"5 марта"},  // the month after a day number
      {"ru-RU", u"MMMM", u"март"},
  };
  for (const Case& c : cases) {
    Configure(c.locale, "UTC", "2024-03-05T10:00:00");
    EXPECT_EQ(DateText(c.picture, 2024, 3, 5), c.expected) << c.locale;
  }
  Configure("en-US", "UTC", "2024-03-05T10:00:00");
  EXPECT_EQ(DateText(nullptr, 2024, 3, 5, ce::DATE_SHORTDATE), u"3/5/2024");
  EXPECT_EQ(DateText(nullptr, 2024, 3, 5, ce::DATE_LONGDATE), u"Tuesday, March 5, 2024");
}

TEST(DevicePictures, FromIcuPatterns) {
  struct Case {
    std::u16string_view icu, device;
  };
  const Case cases[] = {
      {u"dd/MM/y", u"dd/MM/yyyy"},
      {u"M/d/yy", u"M/d/yyyy"},
      {u"h:mm:ss a", u"h:mm:ss tt"},
      {u"EEEE d MMMM y", u"dddd d MMMM yyyy"},
      {u"d\u200F/M\u200F/y GGGGG", u"d/M/yyyy"},
      {u"EEEE, d 'de' MMMM", u"dddd, d 'de' MMMM"},
      {u"LLL", u"MMM"},
      {u"K:mm", u"h:mm"},
  };
  for (const Case& c : cases) EXPECT_EQ(ce::DevicePictureFromIcuPattern(c.icu), c.device);
}

TEST_F(LocaleTest, LocaleItemsAreCachedOnlyWhenShort) {
  EXPECT_EQ(tq::LocaleItem(tq::localeitem::kShortDate, u"x"), u"dd/MM/yyyy");
  Configure("en-US", "UTC", "2024-03-05T10:00:00");  // resets the cache too
  EXPECT_EQ(tq::LocaleItem(tq::localeitem::kShortDate, u"x"), u"M/d/yyyy");
  EXPECT_EQ(tq::LocaleItem(99, u"fallback"), u"fallback");
}

TEST(LanguageNumbers, NamesAndIdentifiers) {
  struct Name {
    std::u16string_view name;
    int32_t number;
  };
  const Name names[] = {{u"fr-FR", 5},  {u"fr-CA", 5}, {u"en-US", 3},    {u"en-AU", 4},
                        {u"en-AUS", 3}, {u"de-DE", 1}, {u"sh-Latn", 25}, {u"hi-IN", 50},
                        {u"xx-XX", -1}, {u"", -1},     {u"FR", -1}};
  for (const Name& n : names) EXPECT_EQ(tq::LanguageNumberOfName(n.name), n.number);
  struct Lcid {
    ce::LCID lcid;
    int32_t number;
  };
  const Lcid lcids[] = {{0x040C, 5},  {0x0C0C, 9},  {0x0409, 2},  {0x0C09, 4},  {0x1809, 30},
                        {0x0809, 3},  {0x0804, 23}, {0x0404, 22}, {0x0416, 15}, {0x0816, 14},
                        {0x081A, 36}, {0x041A, 25}, {0x0439, 50}, {0x0459, 49}, {0x0462, 0}};
  for (const Lcid& l : lcids) EXPECT_EQ(tq::LanguageNumberOfLcid(l.lcid), l.number) << l.lcid;
}

tq::LanguageSources gFake;
std::u16string gPreferred, gDefaultName;
ce::LCID gLcidOfName = 0, gDefaultLcid = 0;

TEST(SystemLanguage, FirstAvailableSourceDecides) {
  gFake.preferredLanguages = [](ce::DWORD, ce::ULONG* n, char16_t* out, ce::ULONG* size) {
    *n = 1;
    *size = static_cast<ce::ULONG>(gPreferred.size() + 2);
    if (out) std::copy(gPreferred.c_str(), gPreferred.c_str() + gPreferred.size() + 1, out);
    return ce::BOOL{1};
  };
  gFake.defaultLocaleName = [](char16_t* out, int) {
    std::copy(gDefaultName.c_str(), gDefaultName.c_str() + gDefaultName.size() + 1, out);
    return static_cast<int>(gDefaultName.size() + 1);
  };
  gFake.nameToLcid = [](const char16_t*, ce::DWORD) { return gLcidOfName; };
  gFake.defaultLcid = [] { return gDefaultLcid; };
  gPreferred = u"it-IT";
  gLcidOfName = 0x0407;
  gDefaultLcid = 0x040C;
  EXPECT_EQ(tq::SystemLanguage(gFake), 11);
  gPreferred = u"zz";
  EXPECT_EQ(tq::SystemLanguage(gFake), -1);
  tq::LanguageSources noPreferred = gFake;
  noPreferred.preferredLanguages = nullptr;
  EXPECT_EQ(tq::SystemLanguage(noPreferred), 1);  // 0x0407: German
  noPreferred.nameToLcid = nullptr;
  EXPECT_EQ(tq::SystemLanguage(noPreferred), 5);  // the default LCID
  gDefaultLcid = 0x0462;
  EXPECT_EQ(tq::SystemLanguage(noPreferred), 0);
}

TEST_F(LocaleTest, DeviceLanguageSources) {
  Configure("en-AU", "UTC", "2024-03-05T10:00:00");
  EXPECT_EQ(tq::SystemLanguage(tq::DeviceLanguageSources()), 4);
  char16_t name[16];
  EXPECT_EQ(ce::GetSystemDefaultLocaleName(name, 16), 6);
  EXPECT_EQ(std::u16string(name), u"en-AU");
  EXPECT_EQ(ce::LocaleNameToLCID(u"fr-FR", 0), 0x040Cu);
  EXPECT_EQ(ce::LocaleNameToLCID(u"not a tag", 0), 0u);
  ce::ULONG count = 0, size = 0;
  ASSERT_TRUE(ce::GetUserPreferredUILanguages(ce::MUI_LANGUAGE_ID, &count, nullptr, &size));
  char16_t ids[8];
  ASSERT_TRUE(ce::GetUserPreferredUILanguages(ce::MUI_LANGUAGE_ID, &count, ids, &size));
  EXPECT_EQ(std::u16string(ids), u"0C09");
}

}  // namespace
