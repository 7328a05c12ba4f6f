// Last error, errno translation, system message texts, local memory and the tick counter.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <thread>

#include "platform/last_error.h"
#include "platform/local_memory.h"
#include "platform/system_messages.h"
#include "platform/tick_count.h"

namespace ce {
namespace {

TEST(LastError, IsKeptPerThread) {
  SetLastError(ERROR_ACCESS_DENIED);
  DWORD seenByOtherThread = 1234;
  std::thread other([&] {
    seenByOtherThread = GetLastError();
    SetLastError(ERROR_INVALID_NAME);
  });
  other.join();
  EXPECT_EQ(seenByOtherThread, ERROR_SUCCESS);
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST(LastError, TranslatesErrno) {
  struct Case {
    int errnoValue;
    DWORD win32;
    DWORD wsa;
  } cases[] = {
      // The two translations part where sockets have codes of their own.
      {0, ERROR_SUCCESS, ERROR_SUCCESS},
      {ENOENT, ERROR_FILE_NOT_FOUND, ERROR_FILE_NOT_FOUND},
      {EACCES, ERROR_ACCESS_DENIED, WSAEACCES},
      {EAGAIN, ERROR_RETRY, WSAEWOULDBLOCK},
      {ECONNREFUSED, WSAECONNREFUSED, WSAECONNREFUSED},
      {9999, ERROR_GEN_FAILURE, ERROR_GEN_FAILURE},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Win32ErrorFromErrno(c.errnoValue), c.win32) << "errno " << c.errnoValue;
    EXPECT_EQ(WsaErrorFromErrno(c.errnoValue), c.wsa) << "errno " << c.errnoValue;
  }
  errno = EROFS;
  EXPECT_EQ(SetLastErrorFromErrno(), ERROR_WRITE_PROTECT);
  EXPECT_EQ(GetLastError(), ERROR_WRITE_PROTECT);
}

std::u16string SystemText(DWORD code, DWORD flags = 0) {
  char16_t* buffer = nullptr;
  const DWORD n =
      FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER |
                         FORMAT_MESSAGE_IGNORE_INSERTS | flags,
                     nullptr, code, 0, reinterpret_cast<char16_t*>(&buffer), 0, nullptr);
  std::u16string text = n > 0 ? std::u16string(buffer, n) : std::u16string();
  LocalFree(buffer);
  return text;
}

TEST(SystemMessages, EveryTranslatedErrnoHasATextEndingLikeTheSystems) {
  for (int e = 0; e < 134; ++e) {
    for (DWORD code : {Win32ErrorFromErrno(e), WsaErrorFromErrno(e)}) {
      const std::u16string text = SystemText(code);
      ASSERT_GE(text.size(), 4u) << "code " << code;
      EXPECT_EQ(text.substr(text.size() - 3), u".\r\n") << "code " << code;
      EXPECT_EQ(text.find(u'%'), std::u16string::npos) << "code " << code;
    }
  }
}

TEST(SystemMessages, KnownTextsAndAnUnknownCode) {
  EXPECT_EQ(SystemText(ERROR_FILE_NOT_FOUND), u"The file cannot be found.\r\n");
  EXPECT_EQ(SystemText(ERROR_ACCESS_DENIED, FORMAT_MESSAGE_MAX_WIDTH_MASK), u"Access is refused.");
  SetLastError(0);
  EXPECT_EQ(SystemText(12345), u"");
  EXPECT_EQ(GetLastError(), ERROR_MR_MID_NOT_FOUND);
}

TEST(SystemMessages, CallerBufferAndLanguages) {
  char16_t small[8];
  EXPECT_EQ(FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_FILE_NOT_FOUND, 0, small, 8,
                           nullptr),
            0u);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);

  char16_t buffer[128];
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_FILE_NOT_FOUND,
                                 MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT), buffer, 128, nullptr);
  EXPECT_EQ(std::u16string(buffer), u"The file cannot be found.\r\n");
  EXPECT_EQ(n, std::u16string(buffer).size());

  EXPECT_EQ(FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_FILE_NOT_FOUND, 0x040C,
                           buffer, 128, nullptr),
            0u);
  EXPECT_EQ(GetLastError(), ERROR_RESOURCE_LANG_NOT_FOUND);
  EXPECT_EQ(FormatMessageW(FORMAT_MESSAGE_FROM_STRING, u"x", 0, 0, buffer, 128, nullptr), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(LocalMemory, ZeroInitAndBadFlags) {
  auto* block = static_cast<unsigned char*>(LocalAlloc(LPTR, 16));
  ASSERT_NE(block, nullptr);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(block[i], 0);
  EXPECT_EQ(LocalFree(block), nullptr);
  EXPECT_EQ(LocalFree(nullptr), nullptr);
  EXPECT_EQ(LocalAlloc(0x0002 /* LMEM_MOVEABLE */, 16), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(TickCount, AdvancesWithSleep) {
  const DWORD start = GetTickCount();
  Sleep(30);
  const DWORD elapsed = GetTickCount() - start;  // unsigned: right across a wrap too
  EXPECT_GE(elapsed, 30u);
  EXPECT_LT(elapsed, 5000u);
}

}  // namespace
}  // namespace ce
