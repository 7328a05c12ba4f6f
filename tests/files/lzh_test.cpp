// The "-lh5-" coder against two independent readers: our test decoder and lhasa (the packed
// data wrapped in a standard level-0 LHA header), byte for byte, over inputs chosen to reach
// every boundary of the coder.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "files/lh5_encoder.h"
#include "tests/files/lh5_test_decoder.h"
#include "tests/files/lhasa_extract.h"
#include "tests/platform/host_files.h"

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
      {"binary", Of(tqtest::ReadFileBytes("/proc/self/exe"))},
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
    const std::optional<std::string> theirs = tqtest::ExtractWithLhasa(
        std::string(packed.begin(), packed.end()), std::string(c.input.begin(), c.input.end()));
    ASSERT_TRUE(theirs.has_value());
    EXPECT_TRUE(Bytes(theirs->begin(), theirs->end()) == c.input);
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
