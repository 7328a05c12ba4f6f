// Code-page conversions against known bytes, glibc's iconv as the oracle for code page 1252,
// and the size and error rules of the two conversion calls.
#include "platform/code_pages.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <functional>
#include <string>

#include "device_fixture.h"
#include "platform/last_error.h"

namespace ce {
namespace {

std::u16string ToWide(UINT page, const std::string& bytes, DWORD flags = 0) {
  const int needed =
      MultiByteToWideChar(page, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::u16string out(static_cast<size_t>(needed), u'\0');
  if (needed > 0) {
    EXPECT_EQ(MultiByteToWideChar(page, flags, bytes.data(), static_cast<int>(bytes.size()),
                                  out.data(), needed),
              needed);
  }
  return out;
}

std::string ToBytes(UINT page, const std::u16string& text, BOOL* usedDefault = nullptr,
                    const char* defaultChar = nullptr, DWORD flags = 0) {
  const int needed = WideCharToMultiByte(page, flags, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, defaultChar, usedDefault);
  std::string out(static_cast<size_t>(needed), '\0');
  if (needed > 0) {
    EXPECT_EQ(WideCharToMultiByte(page, flags, text.data(), static_cast<int>(text.size()),
                                  out.data(), needed, defaultChar, usedDefault),
              needed);
  }
  return out;
}

// glibc's view of one byte of code page 1252, or 0xFFFF where glibc has no character.
char16_t IconvCp1252(unsigned char byte) {
  iconv_t cd = iconv_open("UTF-16LE", "CP1252");
  EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
  char in[1] = {static_cast<char>(byte)};
  unsigned char out[4] = {};
  char* inPtr = in;
  char* outPtr = reinterpret_cast<char*>(out);
  size_t inLeft = 1, outLeft = sizeof out;
  const size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (result == static_cast<size_t>(-1)) return 0xFFFF;
  return static_cast<char16_t>(out[0] | (out[1] << 8));
}

TEST(CodePage1252, MatchesIconvAndMapsTheFiveUndefinedBytesToC1Controls) {
  for (int byte = 0; byte < 256; ++byte) {
    const std::u16string wide = ToWide(1252, std::string(1, static_cast<char>(byte)));
    ASSERT_EQ(wide.size(), 1u);
    const bool undefined =
        byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
    if (undefined) {
      EXPECT_EQ(wide[0], static_cast<char16_t>(byte)) << "byte " << byte;
    } else {
      EXPECT_EQ(wide[0], IconvCp1252(static_cast<unsigned char>(byte))) << "byte " << byte;
    }
    BOOL usedDefault = TRUE;
    EXPECT_EQ(ToBytes(1252, wide, &usedDefault), std::string(1, static_cast<char>(byte)));
    EXPECT_EQ(usedDefault, FALSE);
  }
  EXPECT_EQ(ToWide(1252, "\x80\x9F"), u"\u20AC\u0178");
}

TEST(CodePage1252, UnmappableCharactersTakeTheDefaultCharacter) {
  BOOL usedDefault = FALSE;
  EXPECT_EQ(ToBytes(1252, u"a\u0100b", &usedDefault), "a?b");
  EXPECT_EQ(usedDefault, TRUE);
  EXPECT_EQ(ToBytes(1252, u"\u0100", &usedDefault, "#"), "#");
  // One default character per UTF-16 unit: a supplementary character gives two.
  EXPECT_EQ(ToBytes(1252, u"\U0001F600"), "??");
  // Control characters of the C1 range other than the five undefined bytes have no byte.
  EXPECT_EQ(ToBytes(1252, u"\u0080\u0081"), "?\x81");
}

TEST(Utf8, IllFormedInputBecomesReplacementCharacters) {
  struct Case {
    std::string bytes;
    std::u16string wide;
  } cases[] = {
      {"abc", u"abc"},
      {"\xC3\xA9t\xC3\xA9", u"\u00E9t\u00E9"},
      {"\xF0\x9F\x98\x80", u"\U0001F600"},
      {"\xE2\x82", u"\uFFFD"},  // truncated sequence: one replacement
      {"\xE2\x82\x41", u"\uFFFDA"},
      {"\xC0\x80", u"\uFFFD\uFFFD"},                      // overlong NUL
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},            // encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // past U+10FFFF
      {"\xFF", u"\uFFFD"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToWide(CP_UTF8, c.bytes), c.wide) << c.bytes;
    EXPECT_EQ(Utf8ToUtf16(c.bytes), c.wide) << c.bytes;
  }
  EXPECT_FALSE(Utf8ToUtf16Strict("\xE2\x82").has_value());
  SetLastError(0);
  char16_t out[8];
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xFF", 2, out, 8), 0);
  EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);
}

TEST(Utf8, LoneSurrogatesBecomeReplacementCharacters) {
  EXPECT_EQ(ToBytes(CP_UTF8,
                    u"a\xD800"
                    u"b"),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(ToBytes(CP_UTF8, u"\xDC00"), "\xEF\xBF\xBD");
  EXPECT_EQ(ToBytes(CP_UTF8, u"\U0001F600"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf16ToUtf8(u"x\xDBFF"), "x\xEF\xBF\xBD");
  EXPECT_FALSE(Utf16ToUtf8Strict(u"x\xDBFF").has_value());
  const std::u16string lone = u"\xD800";
  char out[8];
  EXPECT_EQ(
      WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, lone.data(), 1, out, 8, nullptr, nullptr),
      0);
  EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);
}

TEST(ConversionRules, SizesTerminatorsCompositesAndErrors) {
  char16_t wide[16];
  // -1: zero-terminated, terminator converted and counted.
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", -1, nullptr, 0), 4);
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", -1, wide, 16), 4);
  EXPECT_EQ(std::u16string(wide), u"abc");
  // Explicit size: no terminator.
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", 2, wide, 16), 2);
  // Composite forms both ways.
  EXPECT_EQ(ToWide(1252, "\xE9", MB_COMPOSITE), u"e\u0301");
  EXPECT_EQ(ToBytes(1252, u"e\u0301", nullptr, nullptr, WC_COMPOSITECHECK), "\xE9");

  char bytes[4];
  struct Failure {
    std::function<int()> call;
    DWORD error;
  };
  const Failure failures[] = {
      {[&] { return MultiByteToWideChar(1252, 0, "abc", -1, wide, 3); }, ERROR_INSUFFICIENT_BUFFER},
      {[&] { return MultiByteToWideChar(1252, 0, "abc", 0, wide, 16); }, ERROR_INVALID_PARAMETER},
      {[&] { return MultiByteToWideChar(1252, 0, "abc", -2, wide, 16); }, ERROR_INVALID_PARAMETER},
      {[&] { return MultiByteToWideChar(1252, 0, nullptr, 3, wide, 16); }, ERROR_INVALID_PARAMETER},
      {[&] { return MultiByteToWideChar(12345, 0, "abc", 3, wide, 16); }, ERROR_INVALID_PARAMETER},
      {[&] { return MultiByteToWideChar(1200, 0, "abc", 3, wide, 16); }, ERROR_INVALID_PARAMETER},
      {[&] { return MultiByteToWideChar(CP_UTF8, MB_PRECOMPOSED, "abc", 3, wide, 16); },
       ERROR_INVALID_FLAGS},
      {[&] { return MultiByteToWideChar(1252, MB_PRECOMPOSED | MB_COMPOSITE, "a", 1, wide, 16); },
       ERROR_INVALID_FLAGS},
      {[&] { return WideCharToMultiByte(1252, 0, u"abcd", -1, bytes, 4, nullptr, nullptr); },
       ERROR_INSUFFICIENT_BUFFER},
      {[&] { return WideCharToMultiByte(CP_UTF8, 0, u"a", 1, bytes, 4, "?", nullptr); },
       ERROR_INVALID_PARAMETER},
      {[&] {
         return WideCharToMultiByte(1252, WC_ERR_INVALID_CHARS, u"a", 1, bytes, 4, nullptr,
                                    nullptr);
       },
       ERROR_INVALID_FLAGS},
      {[&] { return WideCharToMultiByte(1252, 0, u"a", 1, bytes, -1, nullptr, nullptr); },
       ERROR_INVALID_PARAMETER},
  };
  for (size_t i = 0; i < std::size(failures); ++i) {
    SetLastError(0);
    EXPECT_EQ(failures[i].call(), 0) << "case " << i;
    EXPECT_EQ(GetLastError(), failures[i].error) << "case " << i;
  }
}

class DevicePages : public testing::DeviceTest {};

TEST_F(DevicePages, AnsiPageFollowsTheDeviceLocale) {
  EXPECT_EQ(GetACP(), 1252u);  // fr-FR by default
  EXPECT_EQ(ToWide(CP_ACP, "\x80"), u"\u20AC");
  Configure("TQ_LOCALE", "ru-RU");
  EXPECT_EQ(GetACP(), 1251u);
  EXPECT_EQ(GetOEMCP(), 1251u);
  EXPECT_EQ(ToWide(CP_ACP, "\xCF\xF0\xE8"), u"\u041F\u0440\u0438");
  struct Case {
    const char* locale;
    UINT page;
  } cases[] = {{"en-US", 1252}, {"pl-PL", 1250}, {"ja-JP", 932}, {"zh-CN", 936}, {"zh_Hant_HK", 950}};
  for (const Case& c : cases) EXPECT_EQ(AnsiCodePageForLocale(c.locale), c.page) << c.locale;
}

TEST(IcuPages, KnownBytes) {
  struct Case {
    UINT page;
    std::string bytes;
    std::u16string text;
  } cases[] = {
      {1251, "\xCF\xF0\xE8\xE2\xE5\xF2", u"\u041F\u0440\u0438\u0432\u0435\u0442"},
      {936, "\xD6\xD0\xCE\xC4", u"\u4E2D\u6587"},
      {932, "\x93\xFA\x96\x7B", u"\u65E5\u672C"},
      {949, "\xC7\xD1\xB1\xDB", u"\uD55C\uAE00"},
      {950, "\xA4\xA4\xA4\xE5", u"\u4E2D\u6587"},
      {1250, "\x8A\xE8", u"\u0160\u010D"},
      {28591, "\xE9", u"\u00E9"},
      {20127, "az", u"az"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToWide(c.page, c.bytes), c.text) << "page " << c.page;
    EXPECT_EQ(ToBytes(c.page, c.text), c.bytes) << "page " << c.page;
    EXPECT_EQ(IsValidCodePage(c.page), TRUE);
  }
  BOOL usedDefault = FALSE;
  EXPECT_EQ(ToBytes(1251, u"a\u4E2Db", &usedDefault), "a?b");
  EXPECT_EQ(usedDefault, TRUE);
  EXPECT_EQ(IsValidCodePage(12345), FALSE);
  EXPECT_EQ(IsValidCodePage(1200), FALSE);
}

}  // namespace
}  // namespace ce
