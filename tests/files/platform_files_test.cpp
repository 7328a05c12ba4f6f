// The platform's file calls over the device root: device error codes, case-insensitive names,
// attributes kept across openings, searches, and paths that try to leave the root.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/device_path.h"
#include "platform/file_api.h"
#include "platform/last_error.h"
#include "tests/platform/device_fixture.h"

namespace ce {
namespace {

namespace fs = std::filesystem;

class PlatformFilesTest : public testing::DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    root = DeviceRoot();
  }
  void Write(const std::string& relative, const std::string& text) {
    WriteHost(root + "/" + relative, text);
  }
  std::string root;
};

// The last error a call left, 0 when it succeeded.
DWORD CodeOf(BOOL succeeded) {
  return succeeded ? ERROR_SUCCESS : GetLastError();
}

DWORD OpenError(const char16_t* path, DWORD access, DWORD creation, DWORD flags = 0) {
  SetLastError(0);
  HANDLE h = CreateFileW(path, access, 0, nullptr, creation, flags, nullptr);
  if (h == INVALID_HANDLE_VALUE) return GetLastError();
  const DWORD code = GetLastError();
  CloseFileHandle(h);
  return code;
}

TEST_F(PlatformFilesTest, CreateFileGivesTheDeviceCodes) {
  Write("My Documents/Notes.txt", "abc");
  fs::create_directories(root + "/Folder");
  chmod((root + "/My Documents/Notes.txt").c_str(), 0444);
  struct Case {
    const char16_t* path;
    DWORD access;
    DWORD creation;
    DWORD flags;
    DWORD code;
  } cases[] = {
      {u"\\missing.txt", GENERIC_READ, OPEN_EXISTING, 0, ERROR_FILE_NOT_FOUND},
      {u"\\No\\Where\\x.txt", GENERIC_READ, OPEN_EXISTING, 0, ERROR_PATH_NOT_FOUND},
      {u"\\No\\Where\\x.txt", GENERIC_WRITE, CREATE_ALWAYS, 0, ERROR_PATH_NOT_FOUND},
      {u"\\my documents\\NOTES.TXT", GENERIC_READ, OPEN_EXISTING, 0, ERROR_SUCCESS},
      {u"\\my documents\\NOTES.TXT", GENERIC_WRITE, OPEN_EXISTING, 0, ERROR_ACCESS_DENIED},
      {u"\\my documents\\NOTES.TXT", GENERIC_READ, CREATE_NEW, 0, ERROR_FILE_EXISTS},
      {u"\\my documents\\NOTES.TXT", GENERIC_READ, OPEN_ALWAYS, 0, ERROR_ALREADY_EXISTS},
      {u"\\Folder", GENERIC_READ, OPEN_EXISTING, 0, ERROR_ACCESS_DENIED},
      {u"\\Folder", GENERIC_READ, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, ERROR_SUCCESS},
      {u"\\.device\\clock", GENERIC_READ, OPEN_EXISTING, 0, ERROR_ACCESS_DENIED},
      {u"C:\\x", GENERIC_READ, OPEN_EXISTING, 0, ERROR_INVALID_NAME},
      {u"\\\\server\\share\\x", GENERIC_READ, OPEN_EXISTING, 0, ERROR_INVALID_NAME},
      {u"\\new.txt", GENERIC_WRITE, OPEN_ALWAYS, 0, ERROR_SUCCESS},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(OpenError(c.path, c.access, c.creation, c.flags), c.code)
        << std::string(c.path, c.path + std::char_traits<char16_t>::length(c.path));
  }
  EXPECT_TRUE(fs::exists(root + "/new.txt"));
}

TEST_F(PlatformFilesTest, ReadWriteSeekAndSizeWithSixtyFourBitPositions) {
  HANDLE h = CreateFileW(u"\\data.bin", GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD done = 0;
  EXPECT_TRUE(WriteFile(h, "hello", 5, &done, nullptr));
  EXPECT_EQ(done, 5u);
  LONG high = 1;  // 4 GB + 2: a sparse file
  EXPECT_EQ(SetFilePointer(h, 2, &high, FILE_BEGIN), 2u);
  EXPECT_EQ(high, 1);
  EXPECT_TRUE(WriteFile(h, "x", 1, &done, nullptr));
  DWORD sizeHigh = 0;
  EXPECT_EQ(GetFileSize(h, &sizeHigh), 3u);
  EXPECT_EQ(sizeHigh, 1u);
  EXPECT_EQ(SetFilePointer(h, 1, nullptr, FILE_BEGIN), 1u);
  char buffer[8] = {};
  EXPECT_TRUE(ReadFile(h, buffer, 3, &done, nullptr));
  EXPECT_EQ(std::string(buffer, done), "ell");
  EXPECT_EQ(SetFilePointer(h, -10, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), ERROR_NEGATIVE_SEEK);
  EXPECT_TRUE(SetFilePointer(h, 5, nullptr, FILE_BEGIN) == 5u && SetEndOfFile(h));
  EXPECT_EQ(GetFileSize(h, nullptr), 5u);
  EXPECT_TRUE(CloseFileHandle(h));
  EXPECT_EQ(CodeOf(CloseFileHandle(h)), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(ReadFile(h, buffer, 1, &done, nullptr));
}

TEST_F(PlatformFilesTest, AttributesAndTimesAreKept) {
  Write("a.txt", "x");
  EXPECT_EQ(GetFileAttributesW(u"\\A.TXT"), FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_TRUE(SetFileAttributesW(u"\\a.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                                 FILE_ATTRIBUTE_READONLY));
  // Read again from the host's file: nothing of it lives in this process.
  EXPECT_EQ(GetFileAttributesW(u"\\a.txt"),
            FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(CodeOf(DeleteFileW(u"\\a.txt")), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(SetFileAttributesW(u"\\a.txt", FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(GetFileAttributesW(u"\\a.txt"), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(GetFileAttributesW(u"\\"), FILE_ATTRIBUTE_DIRECTORY);

  HANDLE h = CreateFileW(u"\\a.txt", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  const FILETIME created = {0x12345678, 0x01d00000};
  const FILETIME written = {0x9abcdef0, 0x01d10000};
  EXPECT_TRUE(SetFileTime(h, &created, nullptr, &written));
  DWORD done = 0;
  EXPECT_TRUE(WriteFile(h, "y", 1, &done, nullptr));  // marks the file for archiving again
  CloseFileHandle(h);
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ASSERT_TRUE(GetFileAttributesExW(u"\\a.txt", GetFileExInfoStandard, &data));
  EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(data.ftCreationTime.dwHighDateTime, created.dwHighDateTime);
  EXPECT_EQ(data.ftCreationTime.dwLowDateTime, created.dwLowDateTime);
  EXPECT_NE(data.ftLastWriteTime.dwHighDateTime, written.dwHighDateTime);  // the write came after
}

TEST_F(PlatformFilesTest, SearchesMatchMasksInNameOrderAndHideTheStateFolder) {
  for (const char* name : {"b.TXT", "A.txt", "c.doc", "sub/d.txt"}) Write(name, "1");
  fs::create_directories(root + "/.device");
  std::vector<std::u16string> names;
  WIN32_FIND_DATAW data{};
  HANDLE find = FindFirstFileW(u"\\*", &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  do names.emplace_back(data.cFileName);
  while (FindNextFileW(find, &data));
  EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
  EXPECT_TRUE(FindClose(find));
  EXPECT_EQ(names, (std::vector<std::u16string>{u"A.txt", u"b.TXT", u"c.doc", u"sub"}));
  EXPECT_EQ(FindFirstFileW(u"\\*.xls", &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(FindFirstFileW(u"\\nowhere\\*", &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(FindFirstFileW(u"\\.device\\*", &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST_F(PlatformFilesTest, CopiesMovesFoldersAndTheirCodes) {
  Write("src.txt", "content");
  EXPECT_TRUE(CopyFileW(u"\\SRC.txt", u"\\copy.txt", TRUE));
  EXPECT_EQ(ReadHost(root + "/copy.txt"), "content");
  EXPECT_EQ(CodeOf(CopyFileW(u"\\src.txt", u"\\copy.txt", TRUE)), ERROR_FILE_EXISTS);
  EXPECT_EQ(CodeOf(CopyFileW(u"\\none.txt", u"\\x.txt", FALSE)), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(CodeOf(MoveFileW(u"\\src.txt", u"\\copy.txt")), ERROR_ALREADY_EXISTS);
  EXPECT_TRUE(MoveFileW(u"\\src.txt", u"\\Src.TXT"));  // only the case changes
  EXPECT_TRUE(fs::exists(root + "/Src.TXT"));
  EXPECT_TRUE(CreateDirectoryW(u"\\d", nullptr));
  EXPECT_EQ(CodeOf(CreateDirectoryW(u"\\D", nullptr)), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(CodeOf(CreateDirectoryW(u"\\x\\y", nullptr)), ERROR_PATH_NOT_FOUND);
  EXPECT_TRUE(MoveFileW(u"\\copy.txt", u"\\d\\copy.txt"));
  EXPECT_EQ(CodeOf(RemoveDirectoryW(u"\\d")), ERROR_DIR_NOT_EMPTY);
  EXPECT_EQ(CodeOf(DeleteFileW(u"\\d")), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(DeleteFileW(u"\\d\\COPY.txt"));
  EXPECT_TRUE(RemoveDirectoryW(u"\\d"));
  EXPECT_FALSE(RemoveDirectoryW(u"\\"));
  ULARGE_INTEGER available{}, total{};
  EXPECT_TRUE(GetDiskFreeSpaceExW(u"\\", &available, &total, nullptr));
  EXPECT_GT(total.QuadPart, 0u);
}

TEST_F(PlatformFilesTest, NothingOutsideTheRootIsReachedThroughLinks) {
  const std::string outside = workDir_ + "/outside";
  WriteHost(outside + "/canary", "canary");
  ASSERT_EQ(symlink(outside.c_str(), (root + "/escape").c_str()), 0);
  ASSERT_EQ(symlink((outside + "/canary").c_str(), (root + "/bird").c_str()), 0);
  ASSERT_EQ(symlink("../outside/canary", (root + "/relative").c_str()), 0);
  Write("src", "intruder");
  for (const char16_t* path : {u"\\escape\\canary", u"\\bird", u"\\relative", u"\\..\\outside\\canary"}) {
    EXPECT_EQ(CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_FALSE(CopyFileW(u"\\src", path, FALSE));
    EXPECT_FALSE(MoveFileW(u"\\src", path));
    EXPECT_EQ(GetFileAttributesW(path), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(SetFileAttributesW(path, FILE_ATTRIBUTE_READONLY));
  }
  WIN32_FIND_DATAW data{};
  EXPECT_EQ(FindFirstFileW(u"\\escape\\*", &data), INVALID_HANDLE_VALUE);
  EXPECT_FALSE(CreateDirectoryW(u"\\escape\\new", nullptr));
  EXPECT_FALSE(DeleteFileW(u"\\escape\\canary"));
  EXPECT_FALSE(MoveFileW(u"\\escape\\canary", u"\\stolen"));
  EXPECT_FALSE(DeleteFileW(u"\\bird"));  // a link leading outside is not reached at all
  EXPECT_TRUE(fs::is_symlink(root + "/bird"));
  EXPECT_EQ(ReadHost(outside + "/canary"), "canary");
  EXPECT_EQ(fs::directory_iterator(outside) == fs::directory_iterator(), false);
  EXPECT_FALSE(fs::exists(outside + "/new"));
}

}  // namespace
}  // namespace ce
