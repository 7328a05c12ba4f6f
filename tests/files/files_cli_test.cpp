// The file-system functions as the VM sees them, on a fresh device root each.
#include <sys/stat.h>

#include <chrono>
#include <thread>

#include "tests/files/cli_support.h"

namespace {

using tqtest::ErrorId;
using tqtest::ErrorLevel;
using tqtest::ResultText;

class FileSystem : public tqtest::FreshDevice {};

TEST_F(FileSystem, DatesAndTimesReadAndSetInTheDeviceZone) {
  Write("My Documents/a.txt", "x");
  const auto records = Script(
      "FileDateTime '\\my documents\\A.TXT' '20240315' i:0\n"
      "FileTime '\\My Documents\\a.txt' '235958'\n"
      "FileDateTime '\\My Documents\\a.txt'\n"
      "FileDate '\\My Documents\\a.txt'\n"
      "FileTime '\\My Documents\\a.txt' '' i:0\n"
      "FileDateTime '\\My Documents'\n"
      "FileDate '\\My Documents\\a.txt' '19790101'\n"
      "FileDate '\\My Documents\\a.txt' '20'\n"
      "FileDate '\\My Documents\\a.txt' '' i:3\n"
      "FileDate 'a.txt'\n"
      "FileDate '\\missing.txt'\n"
      "FileDateTime '\\My Documents\\a.txt' '20240230000000'\n");
  ASSERT_EQ(records.size(), 12u);
  EXPECT_EQ(ResultText(records[2]).substr(0, 8), "20240315");
  EXPECT_EQ(ResultText(records[2]).substr(8), "235958");
  EXPECT_EQ(ResultText(records[3]), "20240315");
  EXPECT_EQ(ResultText(records[4]), "235958");
  EXPECT_EQ(ResultText(records[5]).size(), 14u);  // folders have times too
  const int64_t ids[] = {80051, 80051, 80050, 80600, 0, 80051};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(ErrorId(records[6 + i]), ids[i]) << i;
  EXPECT_EQ(tqtest::SystemCode(records[10]), 2);

  // The same instant shown in another zone.
  const tqtest::Tq240Result paris =
      tqtest::RunTq240({"--device", root, "--tz", "Europe/Paris", "call", "FileTime", "\\My Documents\\a.txt"});
  EXPECT_EQ(paris.out, "005958\n");
  struct stat info {};
  ASSERT_EQ(stat((root + "/My Documents/a.txt").c_str(), &info), 0);
  EXPECT_EQ(info.st_mtime, 1710547198);  // 2024-03-15 23:59:58 UTC
}

TEST_F(FileSystem, CopiesRenamesAndFolders) {
  Write("src/a.txt", "alpha");
  const auto records = Cases({
      {"FileCopy '\\SRC\\A.txt' '\\dst\\deep\\'", "true", 0},
      {"FileCopy '\\src\\a.txt' '\\dst\\deep'", "true", 0},
      {"FileCopy '\\src\\a.txt' '\\dst\\b.txt' i:0", "true", 0},
      {"FileCopy '' '\\x'", "false", 80059},
      {"FileCopy '\\src\\a.txt' '\\x*'", "false", 80066},
      {"FileCopy '\\src\\nothing.txt' '\\x'", "false", 80067},
      {"FileCopy '\\src\\*.txt' '\\x'", "false", 80065},
      {"FileCopy 'C:\\src\\a.txt' '\\x'", "false", 80600},
      {"FileRename '\\dst\\b.txt' '\\dst\\c.txt'", "true", 0},
      {"FileRename '\\dst\\zzz.txt' '\\dst\\c.txt'", "false", 0},
      {"FileRename '\\dst\\c.txt' ''", "false", 80059},
      {"DirectoryCreate '\\one\\two\\three\\'", "true", 0},
      {"DirectoryCreate '\\ONE\\two'", "true", 0},
      {"DirectoryMake '\\one\\four'", "0", 0},
      {"DirectoryMake '\\one\\four'", "-1", 0},
      {"DirectoryRemove '\\one'", "false", 80063},
      {"DirectoryRemove '\\one\\*.*' i:1", "true", 0},
      {"DirectoryRemove ''", "false", 80062},
  });
  ASSERT_EQ(records.size(), 18u);
  EXPECT_EQ(Read("dst/deep/A.txt"), "alpha");  // named as the source was written
  EXPECT_EQ(Read("dst/c.txt"), "alpha");
  EXPECT_EQ(ErrorLevel(records[9]), 2);
  EXPECT_EQ(tqtest::SystemCode(records[9]), 2);
  EXPECT_EQ(tqtest::SystemCode(records[15]), 145);
  EXPECT_FALSE(std::filesystem::exists(root + "/one"));
}

TEST_F(FileSystem, ReadOnlyDestinationsAreReplacedAfterOneRetry) {
  Write("a.txt", "new");
  Write("b.txt", "old");
  chmod((root + "/b.txt").c_str(), 0444);
  const auto records = Script("FileCopy '\\a.txt' '\\b.txt'\n");
  EXPECT_EQ(ResultText(records[0]), "true");
  EXPECT_EQ(Read("b.txt"), "new");
}

TEST_F(FileSystem, ListingsWithAttributesAndRecursion) {
  Write("d/one.txt", "12345");
  Write("d/sub/two.txt", "ab");
  Write("d/sub/skip.doc", "x");
  Write("d/hidden.txt", "h");
  std::filesystem::create_directories(root + "/.device");
  const auto setup = Script("FileDateTime '\\d\\one.txt' '20200102030405'\n"
                            "FileDateTime '\\d\\sub\\two.txt' '20210102030405'\n"
                            "FileDateTime '\\d\\sub' '20220102030405'\n");
  ASSERT_EQ(setup.size(), 3u);
  chmod((root + "/d/sub/two.txt").c_str(), 0444);
  const auto records = Script("ListFiles '\\d\\*.txt'\nListFiles '\\D\\*'\nListFiles '\\*'\n");
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(ResultText(records[0]),
            "\\d\\hidden.txt\t1\t" + ResultText(records[0]).substr(16, 14) + "\tA\r\n"
            "\\d\\one.txt\t5\t20200102030405\tA\r\n"
            "\\d\\sub\\two.txt\t2\t20210102030405\tAR");
  const std::string all = ResultText(records[1]);
  EXPECT_NE(all.find("\\D\\sub\t0\t20220102030405\tD\r\n\\D\\sub\\skip.doc"), std::string::npos) << all;
  EXPECT_EQ(ResultText(records[2]).find(".device"), std::string::npos);
  EXPECT_EQ(ResultText(Script("ListFiles '\\nowhere\\*'\n")[0]), "");
}

TEST_F(FileSystem, DocumentsWithoutAProgram) {
  Write("doc.xyz", "x");
  Cases({{"OpenDocument '\\doc.xyz'", "false", 80105},
         {"OpenDocument '\\none.xyz' 'open'", "false", 80102},
         {"OpenDocument ''", "false", 0},
         {"OpenDocument '\\*.xyz'", "false", 80102}});
}

TEST_F(FileSystem, DocumentsOpenWithTheProgramTheirClassNames) {
  // The program records the argument string it was given.
  Write("Windows/viewer.exe", "#!/bin/sh\n[ -n \"$1\" ] && printf '%s' \"$1\" > opened.txt\n");
  chmod((root + "/Windows/viewer.exe").c_str(), 0755);
  Write("doc.abc", "x");
  const auto records = Script(
      "FileAssociationCreate '.abc' '\\Windows\\viewer.exe \"%1\"'\n"
      "OpenDocument '\\doc.abc'\nOpenDocument '\\doc.abc' 'edit'\n"
      "OpenDocument '\\Windows\\viewer.exe'\n");
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(ResultText(records[1]), "true");
  EXPECT_EQ(ResultText(records[2]), "false");  // no command for that verb
  EXPECT_EQ(ErrorId(records[2]), 80105);
  EXPECT_EQ(ResultText(records[3]), "true");  // a program opens itself
  std::string opened;
  for (int i = 0; i < 100 && opened.find("doc.abc") == std::string::npos; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    opened = Read("opened.txt");
  }
  EXPECT_NE(opened.find("\\doc.abc"), std::string::npos) << opened;
}

TEST_F(FileSystem, NoCallReachesOutsideTheRoot) {
  const std::string outside = root + "-outside";
  tqtest::WriteFileBytes(outside + "/canary", "canary");
  std::filesystem::create_directory_symlink(outside, root + "/link");
  Write("src.txt", "intruder");
  const auto records = Script(
      "FileCopy '\\src.txt' '\\link\\canary'\nFileCopy '\\link\\canary' '\\stolen.txt'\n"
      "FileRename '\\link\\canary' '\\stolen.txt'\nFileDate '\\link\\canary' '20200101'\n"
      "h = FileCreate '\\link\\canary'\nh = FileOpen '\\..\\..\\..\\link\\canary' i:8194\n"
      "FileCopy '\\src.txt' '\\\\server\\share\\x'\nFileCopy '\\src.txt' 'C:\\x'\n"
      "DirectoryRemove '\\link' i:1\nListFiles '\\link\\*'\nDirectoryCreate '\\link\\new'\n");
  for (const auto& r : records) EXPECT_NE(ResultText(r), "true");
  EXPECT_EQ(tqtest::ReadFileBytes(outside + "/canary"), "canary");
  EXPECT_FALSE(std::filesystem::exists(outside + "/new"));
  EXPECT_FALSE(std::filesystem::exists(root + "/stolen.txt"));
  std::filesystem::remove_all(outside);
}

TEST_F(FileSystem, WalksCallTheProcedureForEachFile) {
  Write("d/a.txt", "a");
  Write("d/s/b.txt", "b");
  Write("d/s/c.doc", "c");
  const auto records = Script("ListFiles '\\d\\*.txt' p:Seen\nListFiles '\\d\\*.txt' p:Seen 'tag' i:2\n"
                              "FileCopy '\\d\\*.txt' '\\e' p:Copied 'x' i:1\nFileCopy '\\d' '\\f' p:Copied\n"
                              "FileCopy '\\d\\*.txt' '\\g'\n");
  ASSERT_EQ(records.size(), 5u);
  EXPECT_EQ(ResultText(records[0]), "2");
  EXPECT_EQ(records[0].find("procedure_calls")->elements.size(), 2u);
  EXPECT_EQ(ResultText(records[1]), "1");
  EXPECT_EQ(records[1].find("procedure_calls")->elements[0].find("args")->elements.size(), 2u);
  EXPECT_EQ(ResultText(records[2]), "true");
  EXPECT_EQ(records[2].find("procedure_calls")->elements.size(), 2u);
  EXPECT_EQ(Read("e/a.txt"), "a");
  EXPECT_EQ(Read("e/s/b.txt"), "b");
  EXPECT_FALSE(std::filesystem::exists(root + "/e/s/c.doc"));
  EXPECT_EQ(Read("f/a.txt"), "a");
  EXPECT_FALSE(std::filesystem::exists(root + "/f/s"));  // no recursion without option 1
  EXPECT_EQ(ErrorId(records[4]), 80065);
}

}  // namespace
