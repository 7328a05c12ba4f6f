// The seven standard functions as the VM sees them, through tq240: every overload and special
// mask, the errors and their default results, and the --settings file. The engines' own cases
// are in the unit tables beside this file.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/script_cases.h"

namespace {

using tqhost::JsonValue;
using tqtest::Field;
using tqtest::CallJson;
using tqtest::RunTq240;

const std::vector<std::string> kParis = {
    "--clock", "2024-03-05T10:00:00", "--tz", "Europe/Paris", "--locale", "fr-FR"};

// Runs the cases as one script and checks each record's value and error id.
const auto& ExpectResults = tqtest::RunScriptCases;

TEST(DateToStringCli, MasksAndSpecialMasks) {
  ExpectResults(kParis,
                {
                    {"DateToString 20240305", "05/03/2024"},
                    {"DateToString 20240305 dd/mm/yyyy", "05/03/2024"},
                    {"DateToString 2024030514302512", "05/03/2024 14:30:25:12"},
                    {"DateToString 20240305143025005", "05/03/2024 14:30:25:5"},
                    {"DateToString 20240305 'JJJJ JJ MMMM AAAA'", "mardi 05 mars 2024"},
                    {"DateToString 20240305 Mmm", "Mar."},
                    {"DateToString 20240305 UseSystemMask", "05/03/2024"},
                    {"DateToString 20240305143000 UseSystemMask", "05/03/2024 14:30:00"},
                    {"DateToString 20240305120000 UseDateRFC3339", "2024-03-05T12:00:00.000+01:00"},
                    {"DateToString 20240305120000 UseDateRFC3339UTC", "2024-03-05T11:00:00.000Z"},
                    {"DateToString 20240305 UseDateRelativeDurationMask", "aujourd'hui"},
                });
  std::vector<std::string> english = kParis;
  english.insert(english.end(), {"--locale", "en-US", "--lang", "9"});
  ExpectResults(english, {
                             {"DateToString 20240305 UseSystemMask", "3/5/2024"},
                             {"DateToString 20240305143000 UseSystemMask", "3/5/2024 2:30:00 PM"},
                             {"DateToString 20240304 UseDateRelativeDurationMask", "yesterday"},
                         });
}

TEST(DateToStringCli, ErrorsGiveAnEmptyText) {
  const std::vector<JsonValue> records =
      ExpectResults(kParis, {{"DateToString 2024030 JJ/MM/AAAA", "", 80134},
                             {"DateToString 202403051430251234 JJ/MM/AAAA", "", 81842},
                             {"DateToString 20241305 JJ/MM/AAAA", "", 0x138FD},
                             {"DateToString 2024x305 JJ/MM/AAAA", "", 80122},
                             {"DateToString 20240230 JJ/MM/AAAA", "", 0x138FE},
                             {"DateToString 202403__ JJ/MM/AAAA", "", 80134},
                             {"DateToString 2024_305 JJ/MM/AAAA", "", 80122}});
  for (const JsonValue& r : records) EXPECT_EQ(Field(r, "result", "type").integer, 130);
}

TEST(TimeToStringCli, MasksAndErrors) {
  ExpectResults(kParis, {
                            {"TimeToString 143025", "14:30:25:00"},
                            {"TimeToString 143025 'hh h mm'", "14 h 30"},
                            {"TimeToString 1530 'H:MM ap'", "3:30 PM"},
                            {"TimeToString 143025 UseSystemMask", "14:30:25"},
                            {"TimeToString 126000 HH:MM", "", 80130},
                        });
}

TEST(StringToDateAndTimeCli, Masks) {
  ExpectResults(
      kParis,
      {
          {"StringToDate 05/03/2024", "20240305"},
          {"StringToDate 05 JJ", "20240305"},
          {"StringToDate '05 mars 2024' 'JJ MMMM AAAA'", "20240305"},
          {"StringToDate 2024-03-05T12:00:00.5+01:00 UseDateRFC3339UTC", "20240305110000500"},
          {"StringToDate 2024-03-05T11:00:00Z UseDateRFC3339", "20240305120000000"},
          {"StringToDate garbage", ""},
          {"StringToTime 14:30 HH:MM", "14300000"},
          {"StringToTime 14:30:25:50", "14302550"},
      });
}

TEST(SystemLanguageCli, ByDeviceLocale) {
  const std::pair<const char*, const char*> cases[] = {
      {"fr-FR", "5"}, {"en-US", "3"}, {"en-AU", "4"}, {"de-DE", "1"}, {"ja-JP", "31"}};
  for (const auto& [locale, number] : cases)
    ExpectResults({"--locale", locale}, {{"SystemLanguage", number}});
}

TEST(DurationsCli, FormsAndMasks) {
  ExpectResults(kParis, {
                            {"DurationToString l:90061001 i:1", "101010100"},
                            {"DurationToString l:90061001 i:0", "1010101001"},
                            {"DurationToString l:-1000 i:2", "-0000001000"},
                            {"DurationToString l:93600000 HH:MM:SS", "26:00:00"},
                            {"DurationToString l:500 DureeProjetMask", "00 s 50"},
                            {"DurationToString l:5400000 n:", "0013000000"},
                            {"StringToDuration 0000001000 i:0", "1000"},
                            {"StringToDuration 101010100 i:1", "90061000"},
                            {"StringToDuration -0000001000 n:", "-1000"},
                        });
  const JsonValue r = CallJson(kParis, "StringToDuration", {"0000001000", "i:0"});
  EXPECT_EQ(Field(r, "result", "type").integer, 27);
}

TEST(SettingsFileCli, ProjectNamesMasksAndAmPm) {
  const std::string path = tqtest::TestDeviceRoot() + "-settings.json";
  std::ofstream(path) << R"({"date": {"mask": "JJJJ JJ MMMM AAAA",
      "day_names": "Lun;Mar;Mer;Jeu;Ven;Sam;Dim",
      "month_names": ["Janv", "Fev", "Mars", "Avr", "Mai", "Juin", "Juil", "Aout", "Sept",
                      "Oct", "Nov", "Dec"]},
    "time": {"am": "am", "pm": "pm", "mask": "HH:mm AP"}})";
  std::vector<std::string> options = kParis;
  options.insert(options.end(), {"--settings", path});
  ExpectResults(options, {
                             {"DateToString 20240305 UseSystemMask", "Mar 05 Mars 2024"},
                             {"DateToString 20240905 MMMM", "Sept"},
                             {"TimeToString 143000 UseSystemMask", "02:30 pm"},
                             {"StringToDate '05 Sept 2024' 'JJ MMMM AAAA'", "20240905"},
                             {"StringToTime '02:30 pm' 'HH:MM AP'", "14300000"},
                         });
  std::ofstream(path) << R"({"date": {"mask": 3}})";
  const tqtest::Tq240Result bad =
      RunTq240({"--settings", path, "call", "DateToString", "20240305", "UseSystemMask"});
  EXPECT_NE(bad.err.find("date.mask: a string expected"), std::string::npos) << bad.err;
  EXPECT_EQ(bad.out, "05/03/2024\n");  // the VM then has no settings
}

}  // namespace
