// The length of terminated texts: every length and every alignment, with the text's terminator
// placed last before an inaccessible page, so that a scan reading past it would crash the test.
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>

#include <gtest/gtest.h>

#include "frame/text.h"

namespace {

TEST(TextLength, EveryLengthAndAlignmentUpToAGuardPage) {
  const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  auto* area = static_cast<char*>(
      mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
  ASSERT_NE(area, MAP_FAILED);
  ASSERT_EQ(mprotect(area + page, page, PROT_NONE), 0);
  std::memset(area, 0x41, page);  // 'A' in every byte: no zero unit but the terminator
  // The terminator takes the page's last two bytes; the lengths move the start through every
  // even offset of a 16-byte block.
  char* end = area + page - 2;
  std::memset(end, 0, 2);
  for (size_t length = 0; length <= 40; ++length) {
    const auto* text = reinterpret_cast<const char16_t*>(end - 2 * length);
    EXPECT_EQ(tq::TextLength(text), length) << length;
  }
  // Texts starting at every even offset of a 16-byte block, away from the page's end.
  for (size_t offset = 0; offset < 32; offset += 2) {
    char* start = area + 64 + offset;
    std::memset(start + 2 * 21, 0, 2);
    EXPECT_EQ(tq::TextLength(reinterpret_cast<const char16_t*>(start)), 21u) << offset;
    std::memset(start + 2 * 21, 0x41, 2);
  }
  EXPECT_EQ(tq::TextLength(nullptr), 0u);
  munmap(area, 2 * page);
}

}  // namespace
