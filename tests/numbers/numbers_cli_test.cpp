// NumberToString, FormatDiskSize, NumberInWords and AmountInChineseNumerals as the VM sees
// them, through tq240: the device's locales, the --settings records, the errors and their
// messages in three languages.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/tq240_process.h"

namespace {

using tqhost::JsonValue;
using tqtest::Field;
using tqtest::CallJson;

const std::vector<std::string> kFrance = {"--locale", "fr-FR", "--lang", "12"};
const std::vector<std::string> kEnglish = {"--locale", "en-US", "--lang", "9", "--app-lang", "3"};
const std::string kNbsp = "\xC2\xA0";

struct Case {
  std::string function;
  std::vector<std::string> args;
  std::string expected;
  int64_t error = 0;
};

void Expect(const std::vector<std::string>& options, const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    const JsonValue r = CallJson(options, c.function, c.args);
    std::string shown = c.function;
    for (const std::string& a : c.args) shown += " " + a;
    EXPECT_EQ(Field(r, "result", "value").text, c.expected) << shown;
    EXPECT_EQ(Field(r, "error", "id").integer, c.error) << shown;
  }
}

std::string WriteSettings(const std::string& name, const std::string& json) {
  const std::string path = tqtest::TestDeviceRoot() + "-" + name + ".json";
  std::ofstream(path) << json;
  return path;
}

TEST(NumberToStringCli, PrintfFormats) {
  Expect(kFrance,
         {
             {"NumberToString", {"12"}, "12"},
             {"NumberToString", {"r:12.5"}, "12.5"},
             {"NumberToString", {"r:12.5", ""}, "12.5"},
             {"NumberToString", {"i:65535", "08X"}, "0000FFFF"},
             {"NumberToString", {"r:1234567.891", "12.2fS"}, "1 234 567.89"},
             {"NumberToString", {"r:3.14159", "10,3f"}, "     3,142"},
             {"NumberToString", {"r:1234.5", "10,,1fV"}, "   1,234,5"},
             {"NumberToString", {"l:6000000000", "d"}, "6000000000"},
             {"NumberToString", {"c:12.5", "d"}, "13"},
             {"NumberToString", {"s:abc", "8.2f"}, "abc"},
             {"NumberToString", {"s:12.5", "8.2f"}, "   12.50"},
             {"NumberToString", {"r:1", "101f"}, "", 80270},
             {"NumberToString", {"r:1", "8.101f"}, "", 80270},
             {"NumberToString", {"r:1", "MoneySystemMask"}, "", 80270},
         });
}

TEST(NumberToStringCli, MaskKeywordsFollowTheDevice) {
  Expect(kFrance, {
                      {"NumberToString", {"r:-1234.5", "NumSystemMask"}, "-1" + kNbsp + "234,50"},
                      {"NumberToString", {"r:1234.5", "MoneySystemMask$"},
                       "1" + kNbsp + "234,50 \xE2\x82\xAC"},
                      {"NumberToString", {"0", "NumSystemMask"}, "0,00"},
                  });
  Expect(kEnglish, {
                       {"NumberToString", {"r:-1234.5", "NumSystemMask"}, "-1,234.50"},
                       {"NumberToString", {"r:1234.5", "MoneySystemMask$"}, "$1,234.50"},
                       {"NumberToString", {"r:3.14159", "10,3f"}, "     3.142"},
                   });
}

TEST(NumberToStringCli, SettingsRecords) {
  const std::string path = WriteSettings(
      "numbers",
      R"({"number": {"decimals": 3, "decimal_separator": ",", "thousands_separator": " ",
                     "negative_order": 0},
          "currency": {"decimals": 2, "decimal_separator": ",", "thousands_separator": ".",
                       "positive_order": 3, "negative_order": 8, "symbol": "EUR"},
          "thousands_no_break": true,
          "size_units": {"names": ["B", "K", "M", "G", "T", "P"]}})");
  std::vector<std::string> options = kFrance;
  options.insert(options.end(), {"--settings", path});
  Expect(options,
         {
             {"NumberToString", {"r:-1234.5", "NumSystemMask"}, "(1" + kNbsp + "234,500)"},
             {"NumberToString", {"r:1234.5", "NumSystemMask"}, "1" + kNbsp + "234,500"},
             {"NumberToString", {"r:-1234.5", "MoneySystemMask$"}, "-1.234,50 EUR"},
             {"NumberToString", {"r:1234.5", "10;2f"}, "   1234,50"},
             {"NumberToString", {"r:1234.5", "10.2fR"}, "  1 234.50"},
             {"FormatDiskSize", {"l:1536"}, "1,50 K"},
         });
  const std::string units = WriteSettings(
      "units", R"({"size_units": {"names": "B;K;M;G;T;P", "follows_system": true}})");
  Expect({"--locale", "fr-FR", "--settings", units}, {{"FormatDiskSize", {"l:1536"}, "1,50 Ko"}});
  const tqtest::Tq240Result bad = tqtest::RunTq240(
      {"--settings", WriteSettings("bad", R"({"number": {"decimals": "two"}})"), "call",
       "NumberToString", "r:1.5", "NumSystemMask"});
  EXPECT_NE(bad.err.find("number.decimals"), std::string::npos) << bad.err;
}

TEST(FormatDiskSizeCli, UnitsAndErrors) {
  Expect(kFrance, {
                      {"FormatDiskSize", {"l:1536"}, "1,50 Ko"},
                      {"FormatDiskSize", {"l:1"}, "1 octet"},
                      {"FormatDiskSize", {"l:0"}, "0 octet"},
                      {"FormatDiskSize", {"l:1536", "1"}, "1536 octets"},
                      {"FormatDiskSize", {"l:1536", "3"}, "0,00 Mo"},
                      {"FormatDiskSize", {"l:5368709120"}, "5,00 Go"},
                      {"FormatDiskSize", {"l:1099511627776", "5"}, "1,00 To"},
                      {"FormatDiskSize", {"l:1152921504606846976"}, "1024,00 Po"},
                      {"FormatDiskSize", {"l:-2048"}, "-2,00 Ko"},
                      {"FormatDiskSize", {"l:1536", "6"}, "", 81507},
                      {"FormatDiskSize", {"l:1536", "-1"}, "", 81507},
                  });
  Expect(kEnglish, {{"FormatDiskSize", {"l:1536"}, "1.50 KB"},
                    {"FormatDiskSize", {"l:2"}, "2 bytes"}});
}

TEST(FormatDiskSizeCli, ErrorMessagesInThreeLanguages) {
  for (const char* language : {"12", "9", "10"}) {
    const JsonValue r = CallJson({"--lang", language}, "FormatDiskSize", {"l:1", "9"});
    EXPECT_EQ(Field(r, "error", "id").integer, 81507);
    EXPECT_FALSE(Field(r, "error", "message").text.empty()) << language;
    const JsonValue f = CallJson({"--lang", language}, "NumberToString", {"r:1", "zz"});
    EXPECT_FALSE(Field(f, "error", "message").text.empty()) << language;
  }
}

TEST(NumberInWordsCli, LanguagesVariantsAndNames) {
  Expect(kFrance, {
                      {"NumberInWords", {"c:12.35", "euro(s)", "centime(s)"},
                       "douze euros et trente-cinq centimes"},
                      {"NumberInWords", {"c:12.35"}, "douze virgule trente-cinq"},
                  });
  Expect({"--locale", "fr-BE"}, {{"NumberInWords", {"c:71"}, "septante et un"}});
  Expect({"--locale", "fr-CH", "--app-lang", "6"}, {{"NumberInWords", {"c:90"}, "nonante"}});
  Expect(kEnglish, {
                       {"NumberInWords", {"c:105"}, "one hundred and five"},
                   });
}

TEST(ChineseNumeralsCli, Amounts) {
  Expect(kFrance, {
                      {"AmountInChineseNumerals", {"c:0.05"}, "人民币伍分"},
                      {"AmountInChineseNumerals", {"c:1005.5"}, "人民币壹仟零伍元伍角整"},
                  });
  const JsonValue negative = CallJson(kFrance, "AmountInChineseNumerals", {"c:-1"});
  EXPECT_EQ(Field(negative, "result", "type").integer, 110);
  EXPECT_EQ(Field(negative, "result", "value").text, "");
}

}  // namespace
