// The INI text rules, byte for byte: what reading finds and what each write leaves (the
// plain cases go through tq240 in ini_cli_test.cpp).
#include "system/profile_text.h"

#include <gtest/gtest.h>

namespace tq {
namespace {

using Item = std::optional<std::string_view>;

TEST(ProfileText, Reading) {
  const std::string file =
      "; comment\r\n"
      "[General]\r\n"
      "Name2=a\r\n"
      "Name = b\r\n"
      "  Indented=\t  spaced value  \r\n"
      ";Hidden=1\r\n"
      "no equals sign\r\n"
      "Empty=\r\n"
      "   [Other]  trailing\r\n"
      "Key=other\r\n"
      "[Lone]\r\n"
      "just text\r\n"
      "[Last]\r\n"
      "End=final";  // no CR LF at the end
  struct Case {
    Item section, key;
    std::optional<std::string> found;
  };
  const Case cases[] = {
      {"General", "Indented", "spaced value  "},
      {"General", "Hidden", std::nullopt},  // comments are not entries
      {"General", "Empty", ""},
      {"Other", "Key", "other"},  // an indented header
      {"Last", "End", "final"},
      {"Nowhere", "Key", std::nullopt},
      {"General", std::nullopt, "Name2\r\nName\r\nIndented\r\nEmpty\r\n"},
      {"Lone", std::nullopt, std::nullopt},  // nothing to list: the caller's default
      {std::nullopt, std::nullopt, "General\r\nOther\r\nLone\r\nLast\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadProfileText(file, c.section, c.key), c.found)
        << (c.section ? *c.section : "-") << "/" << (c.key ? *c.key : "-");
  }
  // Only CR LF ends a line: a file with bare line feeds is one line.
  EXPECT_EQ(ReadProfileText("[A]\nK=v\n", "A", "K"), std::nullopt);
  EXPECT_EQ(ReadProfileText("", std::nullopt, std::nullopt), "");
}

TEST(ProfileText, Writing) {
  struct Case {
    const char* name;
    std::string before;
    std::string_view section;
    Item key, value;
    std::string after;
  };
  const Case cases[] = {
      {"replace keeps neighbours", "[A]\r\n;c\r\nK=old\r\nL = 2\r\n", "A", "K", "new",
       "[A]\r\n;c\r\nK = new\r\nL = 2\r\n"},
      {"insert before the next section", "[A]\r\nX = 1\r\n[B]\r\n", "A", "K", "v",
       "[A]\r\nX = 1\r\nK = v\r\n[B]\r\n"},
      {"a blank line ends the section", "[A]\r\nX = 1\r\n\r\nstray\r\n", "A", "K", "v",
       "[A]\r\nX = 1\r\nK = v\r\n\r\nstray\r\n"},
      {"writing is case-sensitive", "[A]\r\nName = 1\r\n", "A", "NAME", "2",
       "[A]\r\nName = 1\r\nNAME = 2\r\n"},
      {"section case counts", "[a]\r\nK = 1\r\n", "A", "K", "2",
       "[a]\r\nK = 1\r\n[A]\r\nK = 2\r\n"},
      {"indented header not found", "  [A]\r\nK = 1\r\n", "A", "K", "2",
       "  [A]\r\nK = 1\r\n[A]\r\nK = 2\r\n"},
      {"prefix key untouched", "[A]\r\nName2 = a\r\n", "A", "Name", "b",
       "[A]\r\nName2 = a\r\nName = b\r\n"},
      {"delete an absent key", "[A]\r\nL = 2\r\n", "A", "K", std::nullopt, "[A]\r\nL = 2\r\n"},
      {"delete a key of an absent section", "[A]\r\n", "B", "K", std::nullopt, "[A]\r\n[B]\r\n"},
      {"empty a section", "[A]\r\nK = 1\r\n;c\r\n\r\n  [B]\r\nL = 2\r\n", "A", std::nullopt,
       std::nullopt, "[A]\r\n  [B]\r\nL = 2\r\n"},
      {"empty the last section", "x\r\n[A]\r\nK = 1", "A", std::nullopt, std::nullopt,
       "x\r\n[A]\r\n"},
      {"empty an absent section", "[A]\r\n", "B", std::nullopt, std::nullopt, "[A]\r\n"},
      {"bytes beyond ASCII kept", "[A]\r\n\xe9t\xe9 = \xff\r\n", "A", "K", "\xe0",
       "[A]\r\n\xe9t\xe9 = \xff\r\nK = \xe0\r\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(EditProfileText(c.before, c.section, c.key, c.value), c.after) << c.name;
}

}  // namespace
}  // namespace tq
