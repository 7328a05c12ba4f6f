// The "-lh5-" coder against two independent readers: our test decoder and lhasa (the packed
// data wrapped in a standard level-0 LHA header), byte for byte, over inputs chosen to reach
// every boundary of the coder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "files/lh5_encoder.h"
#include "tests/files/lh5_test_decoder.h"

namespace {

using Bytes = std::vector<uint8_t>;

class VectorSink final : public tq::lzh::ByteSink {
 public:
  bool Put(const uint8_t* bytes, size_t count) override {
    out.insert(out.end(), bytes, bytes + count);
    return true;
  }
  Bytes out;
};

Bytes Encode(const Bytes& input, size_t blockBytes = 16384, size_t feed = 8192) {
  VectorSink sink;
  tq::lzh::Lh5Encoder coder(sink, blockBytes);
  for (size_t at = 0; at < input.size(); at += feed) {
    coder.Feed(input.data() + at, std::min(feed, input.size() - at));
  }
  coder.Finish();
  return sink.out;
}

uint16_t Crc16(const Bytes& data) {
  uint16_t crc = 0;
  for (uint8_t byte : data) {
    crc ^= byte;
    for (int i = 0; i < 8; ++i) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
  }
  return crc;
}

void PutLe(Bytes& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// Extracts the packed data with lhasa from a level-0 archive; nullopt when lhasa fails.
std::optional<Bytes> ExtractWithLhasa(const Bytes& packed, const Bytes& original) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                    ("lhasa-" + std::to_string(getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  Bytes header;
  for (char c : std::string("-lh5-")) header.push_back(static_cast<uint8_t>(c));
  PutLe(header, static_cast<uint32_t>(packed.size()), 4);
  PutLe(header, static_cast<uint32_t>(original.size()), 4);
  PutLe(header, 0x58210000, 4);  // a DOS date and time
  header.push_back(0x20);         // attribute
  header.push_back(0);            // level 0
  const std::string name = "data.bin";
  header.push_back(static_cast<uint8_t>(name.size()));
  header.insert(header.end(), name.begin(), name.end());
  PutLe(header, Crc16(original), 2);
  uint8_t sum = 0;
  for (uint8_t b : header) sum = static_cast<uint8_t>(sum + b);
  Bytes archive(header.size() + 2);
  archive[0] = static_cast<uint8_t>(header.size());
  archive[1] = sum;
  std::copy(header.begin(), header.end(), archive.begin() + 2);
  archive.insert(archive.end(), packed.begin(), packed.end());
  archive.push_back(0);
  std::ofstream(dir / "a.lzh", std::ios::binary)
      .write(reinterpret_cast<const char*>(archive.data()), static_cast<std::streamsize>(archive.size()));
  const std::string command = "cd '" + dir.string() + "' && lhasa -xq a.lzh >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) return std::nullopt;
  std::ifstream in(dir / name, std::ios::binary);
  Bytes out((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::filesystem::remove_all(dir);
  return out;
}

Bytes Text(size_t size) {
  static const std::string words[] = {"the ", "file ", "stream ", "of ", "device ", "root\r\n",
                                      "compression ", "window ", "0123 ", "LZH "};
  std::mt19937 random(7);
  Bytes out;
  while (out.size() < size) {
    const std::string& w = words[random() % 10];
    out.insert(out.end(), w.begin(), w.end());
  }
  out.resize(size);
  return out;
}

Bytes Random(size_t size, uint32_t seed) {
  std::mt19937 random(seed);
  Bytes out(size);
  for (uint8_t& b : out) b = static_cast<uint8_t>(random());
  return out;
}

// A random block repeated with the given period: every match sits exactly that far back.
Bytes Periodic(size_t period, size_t size) {
  const Bytes unit = Random(period, 11);
  Bytes out;
  while (out.size() < size) out.insert(out.end(), unit.begin(), unit.end());
  out.resize(size);
  return out;
}

Bytes FileBytes(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

Bytes Of(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

struct Case {
  const char* name;
  Bytes input;
  size_t blockBytes = 16384;
  size_t feed = 8192;
};

TEST(Lh5Coder, EveryInputRoundTripsThroughBothReaders) {
  Bytes mixed = Text(3 << 20);
  const Bytes noise = Random(2 << 20, 3);
  mixed.insert(mixed.end(), noise.begin(), noise.end());
  const Bytes more = Periodic(5000, 3 << 20);
  mixed.insert(mixed.end(), more.begin(), more.end());
  const Case cases[] = {
      {"empty", {}},
      {"one byte", Of("a")},
      {"two bytes", Of("ab")},
      {"short repeat", Of("abcabcabc")},
      {"text", Text(200000)},
      {"zeros: 256-byte matches", Bytes(100000, 0)},
      {"zeros fed one byte at a time", Bytes(3000, 0), 16384, 1},
      {"random", Random(70000, 1)},
      {"period 8192: matches at the window edge", Periodic(8192, 60000)},
      {"period 8193: just beyond the window", Periodic(8193, 60000)},
      {"period 8191", Periodic(8191, 60000)},
      {"tiny blocks", Text(50000), 64},
      {"odd block size", Text(50000), 1001},
      {"binary", FileBytes("/proc/self/exe")},
      {"8 MB mixed", mixed, 16384, 65536},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes packed = Encode(c.input, c.blockBytes, c.feed);
    const std::optional<Bytes> ours = tqtest::DecodeLh5(packed, c.input.size());
    ASSERT_TRUE(ours.has_value());
    EXPECT_TRUE(*ours == c.input);
    if (c.input.empty()) {
      EXPECT_TRUE(packed.empty());
      continue;
    }
    const std::optional<Bytes> theirs = ExtractWithLhasa(packed, c.input);
    ASSERT_TRUE(theirs.has_value());
    EXPECT_TRUE(*theirs == c.input);
  }
}

TEST(Lh5Coder, CompressesRepetitionAndStopsWhenTheSinkRefuses) {
  EXPECT_LT(Encode(Bytes(100000, 'x')).size(), 200u);
  EXPECT_LT(Encode(Text(100000)).size(), 100000u / 3);

  class RefusingSink final : public tq::lzh::ByteSink {
   public:
    bool Put(const uint8_t*, size_t) override {
      ++calls;
      return false;
    }
    int calls = 0;
  } sink;
  tq::lzh::Lh5Encoder coder(sink);
  const Bytes noise = Random(200000, 5);
  coder.Feed(noise.data(), noise.size());
  coder.Finish();
  EXPECT_TRUE(coder.stopped());
  EXPECT_EQ(sink.calls, 1);
}

}  // namespace
