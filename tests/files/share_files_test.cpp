// The platform's file calls on \Network: the folder that lists the connected names, files of a
// share, copies and moves between the root and shares, and links that try to leave a share.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "platform/file_api.h"
#include "platform/last_error.h"
#include "tests/platform/share_fixture.h"

namespace ce {
namespace {

namespace fs = std::filesystem;

class ShareFilesTest : public testing::ShareTest {
 protected:
  std::vector<std::u16string> Listed(const char16_t* pattern) {
    std::vector<std::u16string> names;
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileW(pattern, &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do names.emplace_back(data.cFileName);
    while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
  }
  // The last error a call leaves, 0 when it succeeds.
  static DWORD CodeOf(const std::function<bool()>& call) {
    SetLastError(0);
    return call() ? 0 : GetLastError();
  }
};

using Names = std::vector<std::u16string>;

TEST_F(ShareFilesTest, TheNetworkFolderListsTheConnectedNames) {
  NewShare(u"pub", "pub");
  Connect(u"Gone", u"gone", workDir_ + "/no-such-folder");
  fs::create_directories(root + "/network/hidden");  // hidden by the device's folder
  WriteHost(root + "/a.txt", "x");
  EXPECT_EQ(Listed(u"\\Network\\*"), (Names{u"Docs", u"pub"}));
  EXPECT_EQ(Listed(u"\\NETWORK\\P*"), (Names{u"pub"}));
  EXPECT_EQ(Listed(u"\\*"), (Names{u"a.txt"}));  // a listing of the root never enters a share
  WIN32_FIND_DATAW data{};
  struct Case {
    const char16_t* pattern;
    DWORD error;
  } missing[] = {{u"\\Network\\*.txt", ERROR_FILE_NOT_FOUND},
                 {u"\\Network\\Gone\\*", ERROR_PATH_NOT_FOUND},
                 {u"\\Network\\Nope\\*", ERROR_PATH_NOT_FOUND},
                 {u"\\Network\\Nope\\x\\*", ERROR_PATH_NOT_FOUND}};
  for (const Case& c : missing) {
    SetLastError(0);
    EXPECT_EQ(FindFirstFileW(c.pattern, &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), c.error);
  }
  EXPECT_EQ(GetFileAttributesW(u"\\Network"), FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(GetFileAttributesW(u"\\network\\DOCS"), FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(GetFileAttributesW(u"\\Network\\Nope"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(GetFileAttributesW(u"\\Network\\Nope\\x"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(ShareFilesTest, TheNetworkFolderAndTheSharesTopsRefuseChanges) {
  WriteHost(root + "/a.txt", "x");
  ULARGE_INTEGER total{};
  struct Case {
    const char* what;
    std::function<bool()> call;
    DWORD code;
  } cases[] = {
      {"open \\Network",
       [] {
         HANDLE h = CreateFileW(u"\\Network", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
         return h != INVALID_HANDLE_VALUE && CloseFileHandle(h);
       },
       ERROR_ACCESS_DENIED},
      {"create in \\Network",
       [] {
         return CreateFileW(u"\\Network\\new.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                            nullptr) != INVALID_HANDLE_VALUE;
       },
       ERROR_FILE_NOT_FOUND},
      {"mkdir \\Network", [] { return CreateDirectoryW(u"\\Network", nullptr); },
       ERROR_ALREADY_EXISTS},
      {"mkdir a share", [] { return CreateDirectoryW(u"\\Network\\docs", nullptr); },
       ERROR_ALREADY_EXISTS},
      {"mkdir a name", [] { return CreateDirectoryW(u"\\Network\\New", nullptr); },
       ERROR_FILE_NOT_FOUND},
      {"delete a share", [] { return DeleteFileW(u"\\Network\\Docs"); }, ERROR_ACCESS_DENIED},
      {"rmdir a share", [] { return RemoveDirectoryW(u"\\Network\\Docs"); }, ERROR_ACCESS_DENIED},
      {"rmdir \\Network", [] { return RemoveDirectoryW(u"\\Network"); }, ERROR_ACCESS_DENIED},
      {"attributes of a share",
       [] { return SetFileAttributesW(u"\\Network\\Docs", FILE_ATTRIBUTE_HIDDEN); },
       ERROR_ACCESS_DENIED},
      {"attributes of \\Network", [] { return SetFileAttributesW(u"\\Network", 0); },
       ERROR_ACCESS_DENIED},
      {"move a share", [] { return MoveFileW(u"\\Network\\Docs", u"\\Docs"); },
       ERROR_ACCESS_DENIED},
      {"move into \\Network", [] { return MoveFileW(u"\\a.txt", u"\\Network\\a.txt"); },
       ERROR_FILE_NOT_FOUND},
      {"copy into \\Network", [] { return CopyFileW(u"\\a.txt", u"\\Network", FALSE); },
       ERROR_ACCESS_DENIED},
      {"space of \\Network",
       [&] { return GetDiskFreeSpaceExW(u"\\Network", nullptr, &total, nullptr); },
       ERROR_ACCESS_DENIED},
      {"space of a share",
       [&] { return GetDiskFreeSpaceExW(u"\\Network\\Docs", nullptr, &total, nullptr); }, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(CodeOf(c.call), c.code) << c.what;
  EXPECT_TRUE(fs::is_directory(share));
  EXPECT_TRUE(fs::exists(root + "/a.txt"));
}

TEST_F(ShareFilesTest, FileCallsWorkInsideAShare) {
  WriteHost(share + "/Sub/Old.txt", "old");
  EXPECT_TRUE(CreateDirectoryW(u"\\Network\\DOCS\\sub\\New", nullptr));
  EXPECT_TRUE(fs::is_directory(share + "/Sub/New"));
  HANDLE h = CreateFileW(u"\\network\\docs\\SUB\\new\\a.txt", GENERIC_READ | GENERIC_WRITE, 0,
                         nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD done = 0;
  EXPECT_TRUE(WriteFile(h, "hello", 5, &done, nullptr));
  const FILETIME created = {0x12345678, 0x01d00000};
  EXPECT_TRUE(SetFileTime(h, &created, nullptr, nullptr));
  EXPECT_TRUE(CloseFileHandle(h));
  EXPECT_EQ(ReadHost(share + "/Sub/New/a.txt"), "hello");
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ASSERT_TRUE(
      GetFileAttributesExW(u"\\Network\\Docs\\Sub\\New\\A.TXT", GetFileExInfoStandard, &data));
  EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(data.ftCreationTime.dwHighDateTime, created.dwHighDateTime);
  EXPECT_EQ(data.nFileSizeLow, 5u);
  EXPECT_EQ(Listed(u"\\Network\\Docs\\Sub\\*"), (Names{u"New", u"Old.txt"}));
  EXPECT_TRUE(CopyFileW(u"\\Network\\Docs\\Sub\\Old.txt", u"\\Network\\Docs\\Copy.txt", TRUE));
  EXPECT_TRUE(MoveFileW(u"\\Network\\Docs\\copy.txt", u"\\Network\\Docs\\Sub\\Moved.txt"));
  EXPECT_EQ(ReadHost(share + "/Sub/Moved.txt"), "old");
  EXPECT_EQ(CodeOf([] { return RemoveDirectoryW(u"\\Network\\Docs\\Sub\\New"); }),
            ERROR_DIR_NOT_EMPTY);
  EXPECT_TRUE(DeleteFileW(u"\\Network\\Docs\\Sub\\New\\a.txt"));
  EXPECT_TRUE(RemoveDirectoryW(u"\\Network\\Docs\\Sub\\New"));
  const auto openCode = [](const char16_t* path) {
    return CodeOf([path] {
      HANDLE file = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
      return file != INVALID_HANDLE_VALUE && CloseFileHandle(file);
    });
  };
  EXPECT_EQ(openCode(u"\\Network\\Docs\\none.txt"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(openCode(u"\\Network\\Docs\\none\\x.txt"), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(openCode(u"\\Network\\Docs\\..\\..\\Sub\\Old.txt"), 0u);  // ".." stops at the top
}

TEST_F(ShareFilesTest, FilesMoveBetweenTheRootAndSharesFoldersDoNot) {
  const std::string pub = NewShare(u"Pub", "pub");
  WriteHost(root + "/a.txt", "alpha");
  WriteHost(root + "/folder/f.txt", "f");
  WriteHost(share + "/taken.txt", "taken");
  EXPECT_TRUE(SetFileAttributesW(u"\\a.txt", FILE_ATTRIBUTE_HIDDEN));
  EXPECT_TRUE(CopyFileW(u"\\a.txt", u"\\Network\\Docs\\copy.txt", TRUE));
  EXPECT_TRUE(CopyFileW(u"\\Network\\Docs\\taken.txt", u"\\back.txt", TRUE));
  EXPECT_EQ(ReadHost(share + "/copy.txt"), "alpha");
  EXPECT_EQ(ReadHost(root + "/back.txt"), "taken");

  EXPECT_TRUE(MoveFileW(u"\\a.txt", u"\\Network\\Docs\\moved.txt"));
  EXPECT_FALSE(fs::exists(root + "/a.txt"));
  EXPECT_EQ(ReadHost(share + "/moved.txt"), "alpha");
  EXPECT_EQ(GetFileAttributesW(u"\\Network\\Docs\\moved.txt"), FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(MoveFileW(u"\\Network\\Docs\\moved.txt", u"\\Network\\Pub\\moved.txt"));
  EXPECT_EQ(ReadHost(pub + "/moved.txt"), "alpha");
  EXPECT_TRUE(MoveFileW(u"\\Network\\Pub\\moved.txt", u"\\home.txt"));
  EXPECT_EQ(ReadHost(root + "/home.txt"), "alpha");

  EXPECT_EQ(CodeOf([] { return MoveFileW(u"\\folder", u"\\Network\\Docs\\folder"); }),
            ERROR_NOT_SAME_DEVICE);
  EXPECT_EQ(CodeOf([] { return MoveFileW(u"\\home.txt", u"\\Network\\Docs\\taken.txt"); }),
            ERROR_ALREADY_EXISTS);
  EXPECT_EQ(CodeOf([] { return MoveFileW(u"\\none.txt", u"\\Network\\Docs\\none.txt"); }),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(ReadHost(share + "/taken.txt"), "taken");
  EXPECT_TRUE(fs::exists(root + "/home.txt"));
  EXPECT_TRUE(fs::is_directory(root + "/folder"));
}

TEST_F(ShareFilesTest, AShareOnAnotherFileSystemReceivesACopyAndTheSourceGoes) {
  struct stat rootInfo {
  }, shmInfo{};
  if (stat(root.c_str(), &rootInfo) != 0 || stat("/dev/shm", &shmInfo) != 0 ||
      rootInfo.st_dev == shmInfo.st_dev) {
    GTEST_SKIP() << "no second host file system";
  }
  const std::string other = "/dev/shm/tq240-share-" + std::to_string(getpid());
  fs::create_directories(other);
  Connect(u"Far", u"far", other);
  WriteHost(root + "/a.txt", "alpha");
  WriteHost(root + "/folder/f.txt", "f");
  chmod((root + "/a.txt").c_str(), 0444);
  struct stat before {};
  stat((root + "/a.txt").c_str(), &before);
  EXPECT_TRUE(MoveFileW(u"\\a.txt", u"\\Network\\Far\\a.txt"));
  EXPECT_FALSE(fs::exists(root + "/a.txt"));
  EXPECT_EQ(ReadHost(other + "/a.txt"), "alpha");
  struct stat after {};
  stat((other + "/a.txt").c_str(), &after);
  EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
  EXPECT_EQ(after.st_mode & 0777, 0444u);
  EXPECT_EQ(CodeOf([] { return MoveFileW(u"\\folder", u"\\Network\\Far\\folder"); }),
            ERROR_NOT_SAME_DEVICE);
  EXPECT_TRUE(MoveFileW(u"\\Network\\Far\\a.txt", u"\\b.txt"));
  EXPECT_EQ(ReadHost(root + "/b.txt"), "alpha");
  fs::remove_all(other);
}

TEST_F(ShareFilesTest, NothingOutsideTheShareIsReachedThroughLinks) {
  const std::string outside = workDir_ + "/outside";
  WriteHost(outside + "/canary", "canary");
  WriteHost(root + "/canary", "root canary");
  ASSERT_EQ(symlink(outside.c_str(), (share + "/escape").c_str()), 0);
  ASSERT_EQ(symlink(root.c_str(), (share + "/root").c_str()), 0);
  ASSERT_EQ(symlink("../device/canary", (share + "/relative").c_str()), 0);
  WriteHost(root + "/src", "intruder");
  for (const char16_t* path : {u"\\Network\\Docs\\escape\\canary", u"\\Network\\Docs\\root\\canary",
                               u"\\Network\\Docs\\relative"}) {
    EXPECT_EQ(
        CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr),
        INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(CopyFileW(u"\\src", path, FALSE));
    EXPECT_FALSE(CopyFileW(path, u"\\stolen", FALSE));
    EXPECT_FALSE(MoveFileW(u"\\src", path));
    EXPECT_FALSE(MoveFileW(path, u"\\stolen"));
    EXPECT_EQ(GetFileAttributesW(path), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(SetFileAttributesW(path, FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(DeleteFileW(path));
  }
  WIN32_FIND_DATAW data{};
  EXPECT_EQ(FindFirstFileW(u"\\Network\\Docs\\root\\*", &data), INVALID_HANDLE_VALUE);
  EXPECT_FALSE(CreateDirectoryW(u"\\Network\\Docs\\escape\\new", nullptr));
  EXPECT_EQ(ReadHost(outside + "/canary"), "canary");
  EXPECT_EQ(ReadHost(root + "/canary"), "root canary");
  EXPECT_FALSE(fs::exists(root + "/stolen"));
  EXPECT_FALSE(fs::exists(outside + "/new"));
}

}  // namespace
}  // namespace ce
