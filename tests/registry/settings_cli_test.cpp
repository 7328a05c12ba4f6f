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
  for (const Case& c : cases) CallWithError(c.call, c.error);
  EXPECT_EQ(Call({"RegistryExists", "HKEY_CURRENT_USER\\Software\\Classes"}), "false");
  // 182 characters pass the extension check; under the machine's longer root the command
  // key no longer fits its 256-character buffer.
  EXPECT_EQ(Call({"FileAssociationCreate", tooLong.substr(0, 182), "cmd"}), "true");
  CallWithError({"FileAssociationCreate", tooLong.substr(0, 182), "cmd", "i:1"}, "error 81852");
}

TEST(ParametersCli, RegistryAndIniModes) {
  std::filesystem::create_directories(tqtest::TestDeviceRoot() + "/Program Files/App");
  Cases({
      {"ParameterSave Window.Main.Size 42", "none"},
      {"ParameterLoad Window/Main/Size", "42"},
      {"RegistryQueryValue 'HKEY_CURRENT_USER\\Software\\App\\Window\\Main' Size", "42"},
      {"ParameterMode 3", "0\tHKEY_CURRENT_USER\\Software\\App"},
      {"ParameterSave Window.Main.Size 'e:a b\\nc\\\\d'", "none"},
      {"ParameterSave Top 1", "none"},
      {"ParameterLoad Window.Main.Size", "a b\nc\\d"},
      {"ParameterLoad Nothing fallback", "fallback"},
      {"ParameterMode 0 'HKEY_LOCAL_MACHINE\\Software\\Mine'", "3\t\\Program Files\\App\\App.ini"},
      {"ParameterSave Key value", "none"},
      {"RegistryQueryValue 'HKEY_LOCAL_MACHINE\\Software\\Mine' Key", "value"},
      {"ParameterMode 5", "", 80700},
      {"ParameterDelete ''", "false", 80800},
      {"ParameterDelete Key", "true"},
      {"ParameterLoad Key gone", "gone"},
  });
  EXPECT_EQ(tqtest::ReadFileBytes(tqtest::TestDeviceRoot() + "/Program Files/App/App.ini"),
            "[Window_Main]\r\nSize = a\\_b\\nc\\\\d\r\n[Global]\r\nTop = 1\r\n");
}

TEST(ParametersCli, DeletingGroupsAndTheWholeStore) {
  std::filesystem::create_directories(tqtest::TestDeviceRoot() + "/Data");
  Cases({
      {"ParameterMode 3 '\\Data\\prefs'", "0\tHKEY_CURRENT_USER\\Software\\App"},
      {"ParameterSave A.x 1", "none"},
      {"ParameterSave A.B.y 2", "none"},
      {"ParameterSave Other.z 3", "none"},
      {"ParameterDelete A", "true"},  // A and A_B emptied
      {"ParameterLoad A.B.y none", "none"},
      {"ParameterLoad Other.z none", "3"},
      {"ParameterDelete", "true"},  // the file goes
      {"ParameterMode 0", "3\t\\Data\\prefs.ini"},
      {"ParameterSave G.v 1", "none"},
      {"ParameterDelete", "true"},
      {"RegistryExists 'HKEY_CURRENT_USER\\Software\\App'", "false"},
  });
  EXPECT_FALSE(std::filesystem::exists(tqtest::TestDeviceRoot() + "/Data/prefs.ini"));
}

}  // namespace
