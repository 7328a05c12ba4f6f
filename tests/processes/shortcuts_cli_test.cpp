// Shortcut files through tq240: their place, their bytes, and what an existing one keeps.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "tests/processes/script_session.h"
#include "tests/support/tq240_process.h"

namespace {

using tqtest::CallJson;
using tqtest::ReadDeviceFile;

bool Result(const ce::JsonValue& record) {
  return record.find("result")->find("value")->boolean;
}

TEST(Shortcuts, CreatedWhereThePathRuleSaysWithTheDeviceFormat) {
  struct Case {
    std::vector<std::string> args;
    std::string file, content;
  } cases[] = {
      {{"i:1", "Notes", "\\Windows\\notes.exe"}, "Windows/Start Menu/Programs/Notes.lnk",
       "18#\\Windows\\notes.exe"},
      {{"i:0", "My App", "\\Program Files\\My App\\app.exe", "\\Apps\\"}, "Apps/My App.lnk",
       "31#\"\\Program Files\\My App\\app.exe\""},
      {{"i:7", "Bare", "\\b.exe"}, "Bare.lnk", "6#\\b.exe"},
      {{"i:0", "Caf\xC3\xA9", "\\caf\xC3\xA9.exe", "\\Deep\\Er"}, "Deep/Er/Caf\xC3\xA9.lnk",
       "9#\\caf\xE9.exe"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    EXPECT_TRUE(Result(CallJson({}, "CreateShortcut", c.args)));
    EXPECT_EQ(ReadDeviceFile(c.file), c.content);
  }
  EXPECT_TRUE(Result(CallJson({}, "CreateProgramsShortcut", {"Games", "Chess", "\\c.exe"})));
  EXPECT_EQ(ReadDeviceFile("Windows/Start Menu/Programs/Games/Chess.lnk"), "6#\\c.exe");
}

TEST(Shortcuts, ExistingShortcutIsKeptAndDeletionReportsIt) {
  EXPECT_TRUE(Result(CallJson({}, "CreateShortcut", {"i:1", "Keep", "\\first.exe"})));
  EXPECT_TRUE(Result(CallJson({}, "CreateShortcut", {"i:1", "Keep", "\\second.exe"})));
  EXPECT_EQ(ReadDeviceFile("Windows/Start Menu/Programs/Keep.lnk"), "10#\\first.exe");
  EXPECT_TRUE(Result(CallJson({}, "DeleteShortcut", {"i:1", "Keep"})));
  EXPECT_FALSE(Result(CallJson({}, "DeleteShortcut", {"i:1", "Keep"})));
  EXPECT_FALSE(std::filesystem::exists(tqtest::TestDeviceRoot() +
                                       "/Windows/Start Menu/Programs/Keep.lnk"));
  // A folder where the shortcut would go cannot be written over.
  std::filesystem::create_directories(tqtest::TestDeviceRoot() + "/Blocked.lnk");
  const auto blocked = CallJson({}, "CreateShortcut", {"i:0", "Blocked", "\\x.exe"});
  EXPECT_FALSE(Result(blocked));
  EXPECT_EQ(blocked.find("error")->find("id")->integer, 80231);
}

}  // namespace
