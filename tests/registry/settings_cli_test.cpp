// File associations and persistent parameters through tq240.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/platform/host_files.h"
#include "tests/registry/cli_support.h"

namespace {

using namespace regtest;

TEST(AssociationsCli, CreateReplaceReadDelete) {
  EXPECT_EQ(Call({"FileAssociationCreate", ".abc", "\\Program Files\\App\\App.exe \"%1\""}),
            "true");
  EXPECT_EQ(Call({"RegistryQueryValue", "HKEY_CURRENT_USER\\Software\\Classes\\.abc", ""}),
            "Tarvex/autogen-ext.abc");
  EXPECT_EQ(Call({"RegistryQueryValue",
                  "HKEY_CURRENT_USER\\Software\\Classes\\Tarvex/autogen-ext.abc\\shell\\open\\"
                  "command",
                  ""}),
            "\\Program Files\\App\\App.exe \"%1\"");
  EXPECT_EQ(Call({"FileAssociationCreate", ".abc", "second"}), "true");  // replaces
  EXPECT_EQ(Call({"FileAssociationCommand", ".abc"}), "second");
  EXPECT_EQ(Call({"FileAssociationCommand", ".abc", "i:1"}), "");  // another scope
  EXPECT_EQ(Call({"FileAssociationCreate", ".abc", "machine", "i:1"}), "true");
  EXPECT_EQ(Call({"RegistryExists", "HKEY_LOCAL_MACHINE\\Software\\Classes\\.abc"}), "true");
  EXPECT_EQ(Call({"FileAssociationDelete", ".abc"}), "true");
  EXPECT_EQ(Call({"FileAssociationDelete", ".abc"}), "true");  // nothing left: still true
  EXPECT_EQ(Call({"FileAssociationCommand", ".abc"}), "");
  EXPECT_EQ(Call({"FileAssociationCommand", ".abc", "i:1"}), "machine");
  EXPECT_EQ(Call({"FileAssociationDelete", ".abc", "i:1"}), "true");
  EXPECT_EQ(Call({"RegistryListSubKeys", "HKEY_LOCAL_MACHINE\\Software\\Classes"}), "");
}

TEST(AssociationsCli, RefusedExtensionsChangeNothing) {
  struct Case {
    std::vector<std::string> call;
    const char* error;
  };
  const std::string tooLong = "." + std::string(182, 'x');
  const Case cases[] = {
      {{"FileAssociationCreate", "abc", "cmd"}, "error 81851"},
      {{"FileAssociationDelete", "", "i:1"}, "error 81851"},
      {{"FileAssociationCommand", "x.abc"}, "error 81851"},
      {{"FileAssociationCreate", tooLong, "cmd"}, "error 81850"},
  };
  for (const Case& c : cases) {
    int status = 0;
    std::string err;
    Call(c.call, &status, &err);
    EXPECT_EQ(status, 1);
    EXPECT_NE(err.find(c.error), std::string::npos) << err;
  }
  EXPECT_EQ(Call({"RegistryExists", "HKEY_CURRENT_USER\\Software\\Classes"}), "false");
  // 182 characters pass the extension check; under the machine's longer root the command
  // key no longer fits its 256-character buffer.
  EXPECT_EQ(Call({"FileAssociationCreate", tooLong.substr(0, 182), "cmd"}), "true");
  int status = 0;
  std::string err;
  Call({"FileAssociationCreate", tooLong.substr(0, 182), "cmd", "i:1"}, &status, &err);
  EXPECT_NE(err.find("error 81852"), std::string::npos) << err;
}

TEST(ParametersCli, RegistryAndIniModes) {
  std::filesystem::create_directories(tqtest::TestDeviceRoot() + "/Program Files/App");
  const std::vector<JsonValue> r = Script(
      "ParameterSave Window.Main.Size 42\n"                                         // 0
      "ParameterLoad Window/Main/Size\n"                                            // 1
      "RegistryQueryValue 'HKEY_CURRENT_USER\\Software\\App\\Window\\Main' Size\n"  // 2
      "ParameterMode 3\n"                                                           // 3
      "ParameterSave Window.Main.Size 'e:a b\\nc\\\\d'\n"                           // 4
      "ParameterSave Top 1\n"                                                       // 5
      "ParameterLoad Window.Main.Size\n"                                            // 6
      "ParameterLoad Nothing fallback\n"                                            // 7
      "ParameterMode 0 'HKEY_LOCAL_MACHINE\\Software\\Mine'\n"                      // 8
      "ParameterSave Key value\n"                                                   // 9
      "RegistryQueryValue 'HKEY_LOCAL_MACHINE\\Software\\Mine' Key\n"               // 10
      "ParameterMode 5\n"                                                           // 11
      "ParameterDelete ''\n"                                                        // 12
      "ParameterDelete Key\n"                                                       // 13
      "ParameterLoad Key gone\n");                                                  // 14
  ASSERT_EQ(r.size(), 15u);
  auto value = [&](size_t i) { return Field(r[i], "result", "value").text; };
  EXPECT_EQ(value(1), "42");
  EXPECT_EQ(value(2), "42");
  EXPECT_EQ(value(3), "0\tHKEY_CURRENT_USER\\Software\\App");
  EXPECT_EQ(value(6), "a b\nc\\d");
  EXPECT_EQ(value(7), "fallback");
  EXPECT_EQ(value(8), "3\t\\Program Files\\App\\App.ini");
  EXPECT_EQ(value(10), "value");
  EXPECT_EQ(Field(r[11], "error", "id").number, 80700);
  EXPECT_EQ(value(11), "");
  EXPECT_EQ(Field(r[12], "error", "id").number, 80800);
  EXPECT_EQ(Field(r[13], "result", "value").boolean, true);
  EXPECT_EQ(value(14), "gone");
  EXPECT_EQ(tqtest::ReadFileBytes(tqtest::TestDeviceRoot() + "/Program Files/App/App.ini"),
            "[Window_Main]\r\nSize = a\\_b\\nc\\\\d\r\n[Global]\r\nTop = 1\r\n");
}

TEST(ParametersCli, DeletingGroupsAndTheWholeStore) {
  std::filesystem::create_directories(tqtest::TestDeviceRoot() + "/Data");
  const std::vector<JsonValue> r = Script(
      "ParameterMode 3 '\\Data\\prefs'\n"                      // 0
      "ParameterSave A.x 1\n"                                  // 1
      "ParameterSave A.B.y 2\n"                                // 2
      "ParameterSave Other.z 3\n"                              // 3
      "ParameterDelete A\n"                                    // 4: A and A_B emptied
      "ParameterLoad A.B.y none\n"                             // 5
      "ParameterLoad Other.z none\n"                           // 6
      "ParameterDelete\n"                                      // 7: the file goes
      "ParameterMode 0\n"                                      // 8
      "ParameterSave G.v 1\n"                                  // 9
      "ParameterDelete\n"                                      // 10
      "RegistryExists 'HKEY_CURRENT_USER\\Software\\App'\n");  // 11
  ASSERT_EQ(r.size(), 12u);
  auto value = [&](size_t i) { return Field(r[i], "result", "value").text; };
  EXPECT_EQ(value(5), "none");
  EXPECT_EQ(value(6), "3");
  EXPECT_TRUE(Field(r[7], "result", "value").boolean);
  EXPECT_FALSE(std::filesystem::exists(tqtest::TestDeviceRoot() + "/Data/prefs.ini"));
  EXPECT_EQ(value(8), "3\t\\Data\\prefs.ini");
  EXPECT_TRUE(Field(r[10], "result", "value").boolean);
  EXPECT_FALSE(Field(r[11], "result", "value").boolean);
}

}  // namespace
