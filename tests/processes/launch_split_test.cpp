// The command-line split and the program path check of the launcher, and the shortcut file
// content: pure functions, tested by tables.
#include <gtest/gtest.h>

#include "platform/shell_shortcuts.h"
#include "services/program_launch.h"

namespace {

TEST(CommandLineSplit, ProgramAndArgumentString) {
  struct Case {
    std::u16string line, program;
    bool hasArguments;
    std::u16string arguments;
  } cases[] = {
      {u"\\a.exe", u"\\a.exe", false, u""},
      {u"\\a.exe x y", u"\\a.exe", true, u"x y"},
      {u"\\a.exe ", u"\\a.exe", true, u""},
      {u"\"\\My Dir\\a.exe\"", u"\\My Dir\\a.exe", true, u""},
      {u"\"\\unclosed a.exe", u"\"\\unclosed a.exe", false, u""},
      {u"\"\"", u"", true, u""},
      {u"\"", u"\"", false, u""},
      {u"", u"", false, u""},
      {u" x", u"", true, u"x"},
      {u"\\a\"b\" c", u"\\a\"b", true, u"c"},
  };
  for (const auto& c : cases) {
    const tq::SplitCommand split = tq::SplitCommandLine(c.line);
    EXPECT_EQ(split.program, c.program);
    EXPECT_EQ(split.arguments.has_value(), c.hasArguments);
    EXPECT_EQ(split.arguments.value_or(u""), c.arguments);
  }
}

TEST(CommandLineSplit, ProgramPartIsCutTo259Characters) {
  const std::u16string longPath = u"\\" + std::u16string(400, u'p');
  EXPECT_EQ(tq::SplitCommandLine(longPath + u" arg").program.size(), 259u);
  EXPECT_EQ(tq::SplitCommandLine(longPath).program.size(), 401u);  // no split: kept whole
}

TEST(ProgramPath, AColonFirstIsNoDevice) {
  // The other paths are refused or accepted through tq240 (launch_cli_test.cpp).
  EXPECT_FALSE(tq::ProgramPathAccepted(u":x"));
}

TEST(ShortcutContent, LengthHashTargetInCodePage1252) {
  struct Case {
    std::u16string target;
    std::string content;
  } cases[] = {
      {u"\\Program Files\\a.exe", "22#\"\\Program Files\\a.exe\""},
      {u"", "0#"},
      {u"\\\u00e9\u20ac\u4e2d", "4#\\\xE9\x80?"},
  };
  for (const auto& c : cases) EXPECT_EQ(ce::ShortcutFileContent(c.target), c.content);
}

}  // namespace
