// Entries that are not plain files or folders (a pipe, a socket, a file nobody may read) among
// those a search lists and whose attributes are asked: each is reported, nothing waits on a
// pipe's writer, and the attributes stored on files and folders read the same either way.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "platform/device_path.h"
#include "platform/file_api.h"
#include "tests/platform/device_fixture.h"

namespace ce {
namespace {

class UnusualEntriesTest : public testing::DeviceTest {};

TEST_F(UnusualEntriesTest, PipesSocketsAndUnreadableFilesAreListedWithoutWaiting) {
  const std::string folder = DeviceRoot() + "/odd";
  std::filesystem::create_directories(folder + "/sub");
  std::ofstream(folder + "/hidden.txt") << "x";
  std::ofstream(folder + "/locked.txt") << "x";
  ASSERT_EQ(mkfifo((folder + "/pipe").c_str(), 0644), 0);
  const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string socketPath = folder + "/socket";
  ASSERT_LT(socketPath.size(), sizeof address.sun_path);
  socketPath.copy(address.sun_path, socketPath.size());
  ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_TRUE(SetFileAttributesW(u"\\odd\\hidden.txt", FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(SetFileAttributesW(u"\\odd\\sub", FILE_ATTRIBUTE_SYSTEM));
  ASSERT_EQ(chmod((folder + "/locked.txt").c_str(), 0), 0);

  const std::map<std::u16string, DWORD> expected = {
      {u"hidden.txt", FILE_ATTRIBUTE_HIDDEN},
      {u"locked.txt", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY},
      {u"pipe", FILE_ATTRIBUTE_ARCHIVE},
      {u"socket", FILE_ATTRIBUTE_ARCHIVE},
      {u"sub", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY},
  };
  std::map<std::u16string, DWORD> listed;
  WIN32_FIND_DATAW data{};
  HANDLE find = FindFirstFileW(u"\\odd\\*", &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  do listed[data.cFileName] = data.dwFileAttributes;
  while (FindNextFileW(find, &data));
  FindClose(find);
  EXPECT_EQ(listed, expected);
  for (const auto& [name, attributes] : expected) {
    SCOPED_TRACE(std::string(name.begin(), name.end()));
    EXPECT_EQ(GetFileAttributesW((u"\\odd\\" + name).c_str()), attributes);
  }
  close(sock);
}

}  // namespace
}  // namespace ce
