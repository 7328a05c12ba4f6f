// CRC-32 and Adler-32 (start value 0) against zlib, the oracle, over lengths and alignments
// that reach every path: bytes, sixteen-byte steps, folds of 64 bytes and their tails.
#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <vector>

#include "services/adler32.h"
#include "services/crc32.h"
#include "services/old_block_index.h"

namespace tq {
namespace {

std::vector<uint8_t> Noise(size_t n, uint64_t seed) {
  std::mt19937_64 rng(seed);
  std::vector<uint8_t> v(n);
  for (uint8_t& b : v) b = static_cast<uint8_t>(rng());
  return v;
}

uint32_t ZlibCrc(const uint8_t* p, size_t n, uint32_t start = 0) {
  return static_cast<uint32_t>(crc32(start, p, static_cast<uInt>(n)));
}
uint32_t ZlibAdler0(const uint8_t* p, size_t n) {
  return static_cast<uint32_t>(adler32(0, p, static_cast<uInt>(n)));
}

TEST(Crc32, KnownValues) {
  const uint8_t check[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
  EXPECT_EQ(Crc32(check), 0xCBF43926u);
  EXPECT_EQ(Crc32({}), 0u);
}

TEST(Crc32, MatchesZlibAtEveryLengthAndAlignment) {
  const std::vector<uint8_t> data = Noise(5000, 1);
  for (size_t offset = 0; offset < 17; offset += 3) {
    for (size_t n = 0; n + offset <= data.size(); n += n < 600 ? 1 : 97) {
      const uint8_t* p = data.data() + offset;
      ASSERT_EQ(Crc32Update(0, p, n), ZlibCrc(p, n)) << offset << " " << n;
      ASSERT_EQ(Crc32UpdateByTable(0, p, n), ZlibCrc(p, n)) << offset << " " << n;
    }
  }
}

TEST(Crc32, ChainsLikeZlib) {
  const std::vector<uint8_t> data = Noise(1 << 20, 2);
  const uint32_t whole = ZlibCrc(data.data(), data.size());
  EXPECT_EQ(Crc32(data), whole);
  for (size_t cut : {size_t{1}, size_t{255}, size_t{256}, size_t{4097}, size_t{1 << 19}}) {
    const uint32_t first = Crc32Update(0, data.data(), cut);
    EXPECT_EQ(Crc32Update(first, data.data() + cut, data.size() - cut), whole) << cut;
  }
  EXPECT_EQ(Crc32Update(0x12345678, data.data(), 1000), ZlibCrc(data.data(), 1000, 0x12345678));
}

TEST(Crc32, SpecialBytePatterns) {
  for (uint8_t fill : {uint8_t{0}, uint8_t{0xff}, uint8_t{0x80}}) {
    const std::vector<uint8_t> data(70000, fill);
    EXPECT_EQ(Crc32(data), ZlibCrc(data.data(), data.size())) << int(fill);
  }
}

TEST(Adler32, StartValueZeroMatchesZlib) {
  EXPECT_EQ(Adler32Update(0, nullptr, 0), 0u);
  for (int b : {0, 1, 0x7f, 0xff}) {
    const uint8_t byte = static_cast<uint8_t>(b);
    EXPECT_EQ(Adler32Update(0, &byte, 1), byte * 0x10001u);
  }
  const std::vector<uint8_t> data = Noise(40000, 3);
  for (size_t n : {size_t{1}, size_t{128}, size_t{5551}, size_t{5552}, size_t{5553}, size_t{11105},
                   data.size()})
    EXPECT_EQ(Adler32Update(0, data.data(), n), ZlibAdler0(data.data(), n)) << n;
  const std::vector<uint8_t> ones(40000, 0xff);  // the sums' worst case
  EXPECT_EQ(Adler32Update(0, ones.data(), ones.size()), ZlibAdler0(ones.data(), ones.size()));
  const uint32_t half = Adler32Update(0, data.data(), 12345);
  EXPECT_EQ(Adler32Update(half, data.data() + 12345, 20000), ZlibAdler0(data.data(), 32345));
}

TEST(Adler32, RollingWindowAndBlockHashEqualTheDirectValue) {
  std::vector<uint8_t> data = Noise(3000, 4);
  for (size_t i = 1000; i < 1400; ++i) data[i] = 0xff;  // saturated windows too
  RollingAdler32<128> window;
  window.Start(data.data());
  for (size_t p = 0; p + 128 <= data.size(); ++p) {
    const uint32_t direct = ZlibAdler0(&data[p], 128);
    ASSERT_EQ(window.value(), direct) << p;
    ASSERT_EQ(OldBlockIndex::BlockHash(&data[p]), direct) << p;
    if (p + 128 < data.size()) window.Roll(data[p], data[p + 128]);
  }
}

TEST(OldBlockIndex, LastBlockWithAHashWinsAndPartialBlocksAreLeftOut) {
  std::vector<uint8_t> old = Noise(128 * 6 + 100, 5);
  // Block 4 repeats block 1: the later offset is the one found.
  std::copy(old.begin() + 128, old.begin() + 256, old.begin() + 512);
  const OldBlockIndex index(old);
  EXPECT_EQ(index.Find(ZlibAdler0(&old[128], 128)), 512);
  EXPECT_EQ(index.Find(ZlibAdler0(&old[0], 128)), 0);
  EXPECT_EQ(index.Find(ZlibAdler0(&old[640], 128)), 640);
  EXPECT_EQ(index.Find(ZlibAdler0(&old[768], 100)), -1);  // the tail is not a block
  EXPECT_EQ(index.Find(ZlibAdler0(&old[1], 128)), -1);
  const OldBlockIndex empty(std::span<const uint8_t>(old.data(), 127));
  EXPECT_EQ(empty.Find(ZlibAdler0(&old[0], 127)), -1);
}

}  // namespace
}  // namespace tq
