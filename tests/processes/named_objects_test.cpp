// The platform's named objects and process handles directly: creation and joining (183),
// kinds sharing one name space, semaphores and their limits, waits for any and for all, a
// mutex whose owner dies, mappings and VirtualQuery, process handles and their exit codes.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "platform/file_mapping.h"
#include "platform/kernel_object.h"
#include "platform/last_error.h"
#include "platform/named_object.h"
#include "platform/processes.h"
#include "platform/sync_objects.h"

namespace {

// Every object of this test process lives under a device root of its own.
const bool kDeviceReady = [] {
  const char* base = std::getenv("TQ_TEST_TMP");
  const std::string root = std::string(base ? base : "/tmp") + "/unit-device-" +
                           std::to_string(getpid());
  std::filesystem::create_directories(root);
  setenv("TQ_DEVICE", root.c_str(), 1);
  return true;
}();

std::u16string Unique(const char16_t* stem) {
  static int counter = 0;
  std::u16string name = stem;
  for (const char c : std::to_string(getpid()) + "-" + std::to_string(++counter)) name += c;
  return name;
}

TEST(NamedObjects, SecondCreationJoinsWith183AndKindsShareTheNameSpace) {
  ASSERT_TRUE(kDeviceReady);
  const std::u16string name = Unique(u"Local\\sem");
  const ce::HANDLE first = ce::CreateSemaphoreW(nullptr, 0, 2, name.c_str());
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(ce::GetLastError(), 0u);
  const ce::HANDLE second = ce::CreateSemaphoreW(nullptr, 2, 2, name.c_str());
  EXPECT_EQ(ce::GetLastError(), ce::ERROR_ALREADY_EXISTS);
  EXPECT_EQ(ce::WaitForSingleObject(second, 0), ce::WAIT_TIMEOUT);  // the first count stands
  EXPECT_EQ(ce::CreateMutexW(nullptr, ce::FALSE, name.c_str()), nullptr);
  EXPECT_EQ(ce::GetLastError(), ce::ERROR_INVALID_HANDLE);
  ce::LONG previous = -1;
  EXPECT_TRUE(ce::ReleaseSemaphore(first, 2, &previous));
  EXPECT_EQ(previous, 0);
  EXPECT_FALSE(ce::ReleaseSemaphore(first, 1, nullptr));
  EXPECT_EQ(ce::GetLastError(), ce::ERROR_TOO_MANY_POSTS);
  EXPECT_EQ(ce::WaitForSingleObject(second, 0), ce::WAIT_OBJECT_0);
  ce::CloseHandle(first);
  ce::CloseHandle(second);
  // The last handle gone, the object is gone too.
  EXPECT_EQ(ce::OpenSemaphoreW(ce::SYNCHRONIZE, ce::FALSE, name.c_str()), nullptr);
  EXPECT_EQ(ce::GetLastError(), ce::ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(ce::CloseHandle(first));
  EXPECT_EQ(ce::GetLastError(), ce::ERROR_INVALID_HANDLE);
}

TEST(NamedObjects, WaitForAnyAndForAll) {
  const ce::HANDLE a = ce::CreateSemaphoreW(nullptr, 0, 1, nullptr);
  const ce::HANDLE b = ce::CreateSemaphoreW(nullptr, 1, 1, nullptr);
  const ce::HANDLE both[] = {a, b};
  EXPECT_EQ(ce::WaitForMultipleObjects(2, both, ce::TRUE, 20), ce::WAIT_TIMEOUT);
  EXPECT_EQ(ce::WaitForSingleObject(b, 0), ce::WAIT_OBJECT_0);  // given back after time-out
  ce::ReleaseSemaphore(b, 1, nullptr);
  EXPECT_EQ(ce::WaitForMultipleObjects(2, both, ce::FALSE, 20), ce::WAIT_OBJECT_0 + 1);
  ce::ReleaseSemaphore(a, 1, nullptr);
  ce::ReleaseSemaphore(b, 1, nullptr);
  EXPECT_EQ(ce::WaitForMultipleObjects(2, both, ce::TRUE, 20), ce::WAIT_OBJECT_0);
  EXPECT_EQ(ce::WaitForMultipleObjects(0, both, ce::TRUE, 20), ce::WAIT_FAILED);
  ce::CloseHandle(a);
  ce::CloseHandle(b);
}

TEST(NamedObjects, MutexOfADeadOwnerIsAbandonedNotLocked) {
  const std::u16string name = Unique(u"Local\\mtx");
  const ce::HANDLE mine = ce::CreateMutexW(nullptr, ce::FALSE, name.c_str());
  const pid_t owner = fork();
  if (owner == 0) {
    const ce::HANDLE held = ce::CreateMutexW(nullptr, ce::FALSE, name.c_str());
    ce::WaitForSingleObject(held, ce::INFINITE);
    raise(SIGKILL);
  }
  waitpid(owner, nullptr, 0);
  EXPECT_EQ(ce::WaitForSingleObject(mine, 1000), ce::WAIT_ABANDONED);
  EXPECT_TRUE(ce::ReleaseMutex(mine));
  EXPECT_EQ(ce::WaitForSingleObject(mine, 0), ce::WAIT_OBJECT_0);
  EXPECT_EQ(ce::WaitForSingleObject(mine, 0), ce::WAIT_OBJECT_0);  // recursive
  EXPECT_TRUE(ce::ReleaseMutex(mine));
  EXPECT_TRUE(ce::ReleaseMutex(mine));
  EXPECT_FALSE(ce::ReleaseMutex(mine));
  EXPECT_EQ(ce::GetLastError(), ce::ERROR_NOT_OWNER);
  ce::CloseHandle(mine);
  ce::RemoveDeviceObjects();  // the dead owner's reference would keep the object
}

TEST(NamedObjects, MappingsShareBytesAndReportWholePages) {
  const std::u16string name = Unique(u"Local\\map");
  const ce::HANDLE created =
      ce::CreateFileMappingW(ce::kMemoryOnlyFile, nullptr, ce::PAGE_READWRITE, 0, 100, name.c_str());
  ASSERT_NE(created, nullptr);
  const ce::HANDLE opened = ce::OpenFileMappingW(ce::FILE_MAP_READ, ce::FALSE, name.c_str());
  ASSERT_NE(opened, nullptr);
  auto* writer = static_cast<char*>(ce::MapViewOfFile(created, ce::FILE_MAP_ALL_ACCESS, 0, 0, 0));
  auto* reader = static_cast<const char*>(ce::MapViewOfFile(opened, ce::FILE_MAP_READ, 0, 0, 0));
  ASSERT_NE(writer, nullptr);
  ASSERT_NE(reader, nullptr);
  std::strcpy(writer, "shared");
  EXPECT_STREQ(reader, "shared");
  ce::MEMORY_BASIC_INFORMATION region{};
  EXPECT_EQ(ce::VirtualQuery(reader + 50, &region, sizeof region), sizeof region);
  EXPECT_EQ(region.BaseAddress, reader);
  EXPECT_EQ(region.RegionSize, static_cast<size_t>(sysconf(_SC_PAGESIZE)));
  EXPECT_EQ(region.Protect, ce::PAGE_READONLY);
  ce::CloseHandle(created);
  ce::CloseHandle(opened);
  EXPECT_STREQ(reader, "shared");  // the views keep the mapping
  EXPECT_TRUE(ce::UnmapViewOfFile(writer));
  EXPECT_TRUE(ce::UnmapViewOfFile(reader));
  EXPECT_FALSE(ce::UnmapViewOfFile(reader));
  EXPECT_EQ(ce::VirtualQuery(reader, &region, sizeof region), 0u);
  EXPECT_EQ(ce::OpenFileMappingW(ce::FILE_MAP_READ, ce::FALSE, name.c_str()), nullptr);
  EXPECT_EQ(ce::CreateFileMappingW(ce::kMemoryOnlyFile, nullptr, ce::PAGE_READWRITE, 0, 0,
                                   name.c_str()),
            nullptr);
}

TEST(NamedObjects, HostNamesCarryTheDeviceAndEscapeTheRest) {
  const std::string plain = ce::NamedObjectHostName(u"Local\\Zone_1");
  EXPECT_EQ(plain.rfind("/tq240-", 0), 0u);
  EXPECT_EQ(plain.substr(plain.size() - 15), "-Local%5cZone_1");
  EXPECT_NE(ce::NamedObjectHostName(u"a"), ce::NamedObjectHostName(u"A"));
  EXPECT_LE(ce::NamedObjectHostName(std::u16string(300, u'\u00e9')).size(), 230u);
  EXPECT_EQ(ce::NamedObjectHostName(std::u16string(u"a\0b", 3)), "");
}

TEST(ProcessHandles, ExitCodesWaitsAndTermination) {
  const std::string root = getenv("TQ_DEVICE");
  std::filesystem::create_directories(root + "/bin");
  const std::string script = root + "/bin/three.exe";
  FILE* file = std::fopen(script.c_str(), "w");
  std::fputs("#!/bin/sh\n[ \"$1\" = wait ] && exec sleep 30\nexit 3\n", file);
  std::fclose(file);
  std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  ce::PROCESS_INFORMATION quick{};
  ASSERT_TRUE(ce::CreateProcessW(u"\\bin\\three.exe", nullptr, nullptr, nullptr, 0, 0, nullptr,
                                 nullptr, nullptr, &quick));
  EXPECT_EQ(ce::WaitForSingleObject(quick.hProcess, 5000), ce::WAIT_OBJECT_0);
  ce::DWORD code = 0;
  EXPECT_TRUE(ce::GetExitCodeProcess(quick.hThread, &code));
  EXPECT_EQ(code, 3u);
  ce::PROCESS_INFORMATION slow{};
  char16_t argument[] = u"wait";
  ASSERT_TRUE(ce::CreateProcessW(u"\\bin\\three.exe", argument, nullptr, nullptr, 0, 0, nullptr,
                                 nullptr, nullptr, &slow));
  EXPECT_EQ(ce::WaitForSingleObject(slow.hProcess, 50), ce::WAIT_TIMEOUT);
  EXPECT_TRUE(ce::GetExitCodeProcess(slow.hProcess, &code));
  EXPECT_EQ(code, ce::STILL_ACTIVE);
  const ce::HANDLE opened = ce::OpenProcess(ce::PROCESS_ALL_ACCESS, 0, slow.dwProcessId);
  ASSERT_NE(opened, nullptr);
  EXPECT_TRUE(ce::TerminateProcess(opened, 42));
  EXPECT_TRUE(ce::GetExitCodeProcess(slow.hProcess, &code));
  EXPECT_EQ(code, 42u);
  EXPECT_EQ(kill(static_cast<pid_t>(slow.dwProcessId), 0), -1);  // ended and collected
  EXPECT_FALSE(ce::TerminateProcess(opened, 1));
  EXPECT_EQ(ce::OpenProcess(0, 0, static_cast<ce::DWORD>(getppid())), nullptr);
  EXPECT_EQ(ce::GetLastError(), ce::ERROR_INVALID_PARAMETER);
  for (ce::HANDLE h : {quick.hProcess, quick.hThread, slow.hProcess, slow.hThread, opened}) {
    EXPECT_TRUE(ce::CloseHandle(h));
  }
}

}  // namespace
