// A connected share as the VM sees it: NetworkConnect, then the file functions on
// \Network\NAME\... paths, and what they refuse.
#include "tests/files/cli_support.h"

namespace {

using tqtest::ErrorId;
using tqtest::ErrorLevel;
using tqtest::ResultText;
using tqtest::SystemCode;

class SharedFolder : public tqtest::FreshDevice {
 protected:
  void SetUp() override {
    FreshDevice::SetUp();
    share = root + "-share";
    std::filesystem::remove_all(share);
    std::filesystem::create_directories(share);
    Write(".device/device.json",
          "{\"shares\": {\"\\\\\\\\srv\\\\docs\": {\"path\": \"" + share + "\"}}}");
  }
  void TearDown() override {
    std::filesystem::remove_all(share);
    FreshDevice::TearDown();
  }
  std::string share;
};

TEST_F(SharedFolder, FileFunctionsWorkOnAConnectedName) {
  Write("src.txt", "alpha");
  Write("folder/f.txt", "f");
  const auto records = Script(
      "NetworkConnect Docs '\\\\srv\\docs'\n"                          // 0
      "FileCopy '\\src.txt' '\\Network\\docs\\in\\copy.txt'\n"         // 1
      "FileCopy '\\NETWORK\\Docs\\In\\COPY.TXT' '\\back.txt'\n"        // 2
      "DirectoryCreate '\\Network\\Docs\\a\\b'\n"                      // 3
      "h = FileCreate '\\Network\\Docs\\a\\notes.txt' i:8192\n"        // 4
      "FileWriteLine $h 'hello'\n"                                     // 5
      "FileClose $h\n"                                                 // 6
      "FileDate '\\Network\\Docs\\a\\notes.txt' '20240315'\n"          // 7
      "FileDate '\\Network\\Docs\\a\\notes.txt'\n"                     // 8
      "ListFiles '\\Network\\Docs\\*.txt'\n"                           // 9
      "ListFiles '\\Network\\*' i:2\n"                                 // 10
      "FileRename '\\Network\\Docs\\in\\copy.txt' '\\moved.txt'\n"     // 11
      "FileRename '\\folder' '\\Network\\Docs\\folder'\n"              // 12
      "ProfileWrite 'Sec' 'Key' 'value' '\\Network\\Docs\\app.ini'\n"  // 13
      "ProfileRead 'Sec' 'Key' '' '\\Network\\Docs\\app.ini'\n"        // 14
      "DirectoryRemove '\\Network\\Docs\\a' i:1\n"                     // 15
      "FileCopy '\\src.txt' '\\Network\\Other\\x.txt'\n"               // 16
      "FileDate '\\Network\\Other\\x.txt'\n"                           // 17
      "DirectoryRemove '\\Network\\Docs'\n");                          // 18
  ASSERT_EQ(records.size(), 19u);
  const char* results[] = {"0",     "true",     "true",  "true",  "2",    "true",  "0",
                           nullptr, "20240315", nullptr, nullptr, "true", "false", "true",
                           "value", "true",     "false", "",      "false"};
  for (size_t i = 0; i < records.size(); ++i) {
    if (results[i] != nullptr) {
      EXPECT_EQ(ResultText(records[i]), results[i]) << i;
    }
  }
  EXPECT_EQ(Read("back.txt"), "alpha");
  EXPECT_EQ(Read("moved.txt"), "alpha");
  EXPECT_EQ(tqtest::ReadFileBytes(share + "/app.ini"), "[Sec]\r\nKey = value\r\n");
  const std::string listed = ResultText(records[9]);
  EXPECT_NE(listed.find("\\Network\\Docs\\a\\notes.txt\t7\t20240315"), std::string::npos) << listed;
  EXPECT_NE(listed.find("\\Network\\Docs\\in\\copy.txt\t5\t"), std::string::npos) << listed;
  EXPECT_EQ(ResultText(records[10]).substr(0, 15), "\\Network\\Docs\t0");
  EXPECT_EQ(ResultText(records[10]).find("\r\n"), std::string::npos);  // one connected name
  // A folder does not move between the root and a share.
  EXPECT_EQ(ErrorLevel(records[12]), 2);
  EXPECT_EQ(SystemCode(records[12]), 17);
  EXPECT_TRUE(std::filesystem::is_directory(root + "/folder"));
  EXPECT_FALSE(std::filesystem::exists(share + "/a"));
  // A name that is not connected is not found, and the share's top cannot be removed.
  EXPECT_EQ(SystemCode(records[16]), 2);
  EXPECT_EQ(SystemCode(records[17]), 3);
  EXPECT_EQ(ErrorId(records[18]), 80063);
  EXPECT_EQ(SystemCode(records[18]), 5);
  EXPECT_TRUE(std::filesystem::is_directory(share));
}

TEST_F(SharedFolder, TheConnectionOutlivesTheProcessAndLinksStayInside) {
  std::filesystem::create_directory_symlink(root, share + "/root");
  Write("secret.txt", "secret");
  const auto first = Script("NetworkConnect Docs '\\\\srv\\docs'\n");
  ASSERT_EQ(first.size(), 1u);
  const auto records = Script(
      "FileCopy '\\Network\\Docs\\root\\secret.txt' '\\Network\\Docs\\stolen.txt'\n"
      "FileCopy '\\Network\\Docs\\..\\secret.txt' '\\Network\\Docs\\stolen.txt'\n"
      "FileCopy '\\secret.txt' '\\Network\\Docs\\copy.txt'\n"
      "ListFiles '\\Network\\Docs\\*'\n");
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(ResultText(records[0]), "false");
  EXPECT_EQ(ResultText(records[1]), "false");
  EXPECT_EQ(ResultText(records[2]), "true");  // the connection made by the first process holds
  EXPECT_EQ(ResultText(records[3]).find("secret"), std::string::npos) << ResultText(records[3]);
  EXPECT_FALSE(std::filesystem::exists(share + "/stolen.txt"));
}

}  // namespace
