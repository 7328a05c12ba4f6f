// ProfileWrite and ProfileRead through tq240: every overload, the files' exact bytes in the
// device's ANSI code page, files written by hand, and the error ids.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/platform/host_files.h"
#include "tests/registry/cli_support.h"

namespace {

using namespace regtest;

std::string HostFile(const std::string& devicePath) {
  return tqtest::TestDeviceRoot() + devicePath;
}

std::string FileBytes(const std::string& devicePath) {
  return tqtest::ReadFileBytes(HostFile(devicePath));
}
void WriteFile(const std::string& devicePath, const std::string& bytes) {
  tqtest::WriteFileBytes(HostFile(devicePath), bytes);
}

TEST(IniCli, EveryWriteOverloadOnTheDefaultFile) {
  struct Step {
    std::vector<std::string> call;
    const char* result;
    std::string file;  // \Windows\win.ini afterwards
  };
  const Step steps[] = {
      {{"ProfileWrite", "Sec", "Name", "été"}, "true", "[Sec]\r\nName = \xe9t\xe9\r\n"},
      {{"ProfileWrite", "Sec", "Other", "2"}, "true", "[Sec]\r\nName = \xe9t\xe9\r\nOther = 2\r\n"},
      {{"ProfileWrite", "Sec", "Name"}, "true", "[Sec]\r\nOther = 2\r\n"},
      {{"ProfileWrite", "Sec", "Other", "i:0"}, "true", "[Sec]\r\n"},
      {{"ProfileWrite", "Two", "K", "v"}, "true", "[Sec]\r\n[Two]\r\nK = v\r\n"},
      {{"ProfileWrite", "Two", "K", "n:"}, "true", "[Sec]\r\n[Two]\r\n"},  // absent value
      {{"ProfileWrite", "Two", "A", "1"}, "true", "[Sec]\r\n[Two]\r\nA = 1\r\n"},
      {{"ProfileWrite", "Two"}, "true", "[Sec]\r\n[Two]\r\n"},
      {{"ProfileWrite", "", "K", "v"}, "false", "[Sec]\r\n[Two]\r\n"},
  };
  for (const Step& s : steps) {
    EXPECT_EQ(Call(s.call), s.result) << s.call[1];
    EXPECT_EQ(FileBytes("/Windows/win.ini"), s.file) << s.call[1];
  }
}

TEST(IniCli, NamedFilesAndReads) {
  WriteFile("/Data/Hand.ini",
            "; written by hand\r\n[General]\r\nName2=a\r\n  name =    b  \r\n[Empty]\r\n");
  EXPECT_EQ(Call({"ProfileRead", "GENERAL", "Name", "", "\\data\\hand.ini"}), "b  ");
  EXPECT_EQ(Call({"ProfileRead", "General", "Missing", "dflt", "\\Data\\Hand.ini"}), "dflt");
  EXPECT_EQ(Call({"ProfileRead", "", "", "", "\\Data\\Hand.ini"}), "General\r\nEmpty\r\n");
  EXPECT_EQ(Call({"ProfileRead", "S", "K", "none", "\\Data\\Absent.ini"}), "none");
  // Emptying a section keeps the comment and the other sections.
  EXPECT_EQ(Call({"ProfileWrite", "General", "i:0", "i:0", "\\Data\\Hand.ini"}), "true");
  EXPECT_EQ(FileBytes("/Data/Hand.ini"), "; written by hand\r\n[General]\r\n[Empty]\r\n");
  EXPECT_EQ(Call({"ProfileWrite", "Empty", "K", "i:0", "\\Data\\Hand.ini"}), "true");
  EXPECT_EQ(Call({"ProfileWrite", "i:0", "i:0", "i:0", "\\Data\\Hand.ini"}), "true");  // flush
  // The one- and two-parameter reads use the default file.
  EXPECT_EQ(Call({"ProfileWrite", "W", "K", "v"}), "true");
  EXPECT_EQ(Call({"ProfileRead", "w", "k"}), "v");
  EXPECT_EQ(Call({"ProfileRead", "W"}), "K\r\n");
  const JsonValue r = tqtest::CallJson({}, "ProfileRead", {"W", "K", "", ""});
  EXPECT_EQ(Field(r, "result", "value_type").number, 16);
}

TEST(IniCli, LongValuesAreCut) {
  const std::string longValue(9000, 'x');
  WriteFile("/Long.ini", "[S]\r\nK=" + longValue + "\r\n");
  EXPECT_EQ(Call({"ProfileRead", "S", "K", "", "\\Long.ini"}).size(), 8190u);
}

TEST(IniCli, AnsiCodePageOfTheDevice) {
  const tqtest::Tq240Result r = tqtest::RunTq240(
      {"--locale", "ru-RU", "call", "ProfileWrite", "Раздел", "Ключ", "Жук", "\\ru.ini"});
  EXPECT_EQ(r.out, "true\n") << r.err;
  // Code page 1251: Р=D0 а=E0 з=E7 д=E4 е=E5 л=EB, К=CA л=EB ю=FE ч=F7, Ж=C6 у=F3 к=EA.
  EXPECT_EQ(FileBytes("/ru.ini"),
            "[\xd0\xe0\xe7\xe4\xe5\xeb]\r\n\xca\xeb\xfe\xf7 = \xc6\xf3\xea\r\n");
  const tqtest::Tq240Result back = tqtest::RunTq240(
      {"--locale", "ru-RU", "call", "ProfileRead", "раздел", "Ключ", "", "\\ru.ini"});
  EXPECT_EQ(back.out, "Жук\n") << back.err;
}

TEST(IniCli, ErrorsAndTheDeviceRoot) {
  struct Case {
    std::vector<std::string> call;
    const char* result;
    const char* error;
  };
  const Case cases[] = {
      {{"ProfileWrite", "S", "K", "i:3"}, "false", "error 80290"},
      {{"ProfileWrite", "S", "K", "i:3", "\\x.ini"}, "false", "error 80290"},
      {{"ProfileWrite", "S", "i:1", "i:0", "\\x.ini"}, "false", "error 80290"},
      {{"ProfileWrite", "i:0", "i:0", "i:2", "\\x.ini"}, "false", "error 80290"},
      {{"ProfileWrite", "S", "K", "v", "\\No\\Folder\\x.ini"}, "false", "error 80294"},
      {{"ProfileWrite", "", "K", "v", "\\x.ini"}, "false", "error 80294"},
      {{"ProfileWrite", "S", "K", "v", "C:\\x.ini"}, "false", "error 80294"},
      {{"ProfileWrite", "S", "K", "n:", "\\No\\Folder\\x.ini"}, "false", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(CallWithError(c.call, c.error), c.result) << c.call[1];
  const JsonValue r = tqtest::CallJson({}, "ProfileWrite", {"S", "K", "v", "\\No\\x.ini"});
  EXPECT_EQ(Field(r, "error", "system_code").number, 3);  // the folder is missing
  // ".." stops at the root: the file lands inside the device.
  EXPECT_EQ(Call({"ProfileWrite", "S", "K", "v", "\\..\\..\\escape.ini"}), "true");
  EXPECT_TRUE(std::filesystem::exists(HostFile("/escape.ini")));
}

}  // namespace
