// Byte-level services: SHA-256 against published digests, hexadecimal text both ways, numbers
// read from buffers, the URL escape tables and percent coding, with round trips over random
// buffers.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "numtext/buffer_numbers.h"
#include "numtext/hex_text.h"
#include "numtext/sha256.h"
#include "numtext/url_encoding.h"

namespace tq {
namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<uint8_t> out;
  for (int v : values) out.push_back(static_cast<uint8_t>(v));
  return out;
}

std::vector<uint8_t> RandomBytesOf(std::mt19937& rng, size_t size) {
  std::vector<uint8_t> out(size);
  for (uint8_t& b : out) b = static_cast<uint8_t>(rng());
  return out;
}

std::string DigestHex(const std::string& message, size_t repeat = 1) {
  Sha256 hash;
  for (size_t i = 0; i < repeat; ++i) hash.Update(message.data(), message.size());
  std::string hex;
  for (uint8_t b : hash.Final()) {
    hex += "0123456789abcdef"[b >> 4];
    hex += "0123456789abcdef"[b & 15];
  }
  return hex;
}

TEST(Sha256, PublishedDigests) {
  EXPECT_EQ(DigestHex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(DigestHex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(DigestHex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  EXPECT_EQ(DigestHex("a", 1000000),
            "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(BufferToHex, Layouts) {
  struct Case {
    std::vector<uint8_t> bytes;
    int32_t grouping, width;
    std::u16string text;
  };
  std::vector<uint8_t> twenty;
  for (int i = 0; i < 20; ++i) twenty.push_back(static_cast<uint8_t>(i));
  const Case cases[] = {
      {Bytes({1, 2, 3}), 2, 16, u"0201 03"},
      {Bytes({1, 2, 3}), 2, 16 | kHexMemoryOrder, u"0102 03"},
      {Bytes({1, 2, 3, 4, 5}), 4, 16, u"04030201 05"},
      {Bytes({1, 2, 3, 4, 5}), 4, kHexMemoryOrder, u"01020304 05"},
      {Bytes({1, 2, 3}), 0, 16, u"010203"},
      {Bytes({0xab, 0xcd}), 1, 0, u"AB CD"},
      {twenty, 1, 16,
       u"00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F\r\n10 11 12 13"},
      {twenty, 1, 16 | kHexNoLineBreaks,
       u"00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11 12 13"},
      {twenty, 0, 8, u"0001020304050607\r\n08090A0B0C0D0E0F\r\n10111213"},
      {Bytes({0x41, 0x42, 0x43, 0x00}), 1 | kHexCharacterColumn, 2, u"41 42 AB\r\n43 00 C."},
      {Bytes({0x41, 0x7f, 0x80}), 1 | kHexCharacterColumn, 16, u"41 7F 80 A\x7f."},
      {Bytes({1, 2, 3, 4}), 1, 2, u"01 02\r\n03 04"},
      {Bytes({1, 2}), 1, -2048, u"01\r\n02"},  // negative: a line per group
      {Bytes({1, 2}), 1, -1, u"01 02"},        // -1 carries the no-break bit
      {{}, 1, 16, u""},
  };
  for (const Case& c : cases) {
    std::u16string text;
    EXPECT_EQ(BufferToHex(c.bytes, c.grouping, c.width, text), HexStatus::kOk);
    EXPECT_EQ(text, c.text) << "grouping " << c.grouping << " width " << c.width;
  }
  std::u16string text = u"x";
  for (int32_t bad : {3, 5, 8, -1, 0x200})
    EXPECT_EQ(BufferToHex(Bytes({1}), bad, 16, text), HexStatus::kBadGrouping) << bad;
  EXPECT_TRUE(text.empty());
}

TEST(HexToBuffer, Groups) {
  struct Case {
    std::u16string text;
    int32_t grouping, options;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {u"0201", 2, 0, Bytes({1, 2})},
      {u"0201", 2, kHexMemoryOrder, Bytes({2, 1})},
      {u"0201", 0, kHexMemoryOrder, Bytes({2, 1})},  // grouping 0 ignores the options
      {u"04030201 05", 4, 0, Bytes({1, 2, 3, 4, 5})},
      {u"01 02\r\n03 04", 1, 0, Bytes({1, 2, 3, 4})},
      {u"abCD", 1, 0, Bytes({0xab, 0xcd})},
      {u"0a1", 1, 0, Bytes({0x0a})},            // a lone digit appends nothing
      {u"020", 2, 0, Bytes({0x20})},             // three digits read as one byte
      {u"010203", 4, 0, {}},                     // six digits: three bytes, nothing appended
      {u"", 1, 0, {}},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes;
    EXPECT_EQ(HexToBuffer(c.text, c.grouping, c.options, bytes), HexStatus::kOk);
    EXPECT_EQ(bytes, c.bytes);
  }
  std::vector<uint8_t> bytes;
  std::u16string bad;
  EXPECT_EQ(HexToBuffer(u"01 zz 02", 1, 0, bytes, &bad), HexStatus::kNotHexadecimal);
  EXPECT_EQ(bad, u"zz");
  EXPECT_TRUE(bytes.empty());
  EXPECT_EQ(HexToBuffer(u"1g", 1, 0, bytes, &bad), HexStatus::kNotHexadecimal);
  EXPECT_EQ(bad, u"g");
  EXPECT_EQ(HexToBuffer(u"01", 3, 0, bytes), HexStatus::kBadGrouping);
}

TEST(HexRoundTrip, RandomBuffersEveryLayout) {
  std::mt19937 rng(20261206);
  for (int round = 0; round < 200; ++round) {
    const std::vector<uint8_t> bytes = RandomBytesOf(rng, rng() % 300);
    for (int32_t grouping : {0, 1, 2, 4}) {
      for (int32_t order : {0, kHexMemoryOrder}) {
        for (int32_t breaks : {0, kHexNoLineBreaks}) {
          const int32_t width = static_cast<int32_t>(rng() % 40) | order | breaks;
          std::u16string text;
          ASSERT_EQ(BufferToHex(bytes, grouping, width, text), HexStatus::kOk);
          std::vector<uint8_t> back;
          ASSERT_EQ(HexToBuffer(text, grouping, order, back), HexStatus::kOk);
          // Grouping 0 reads single bytes, whatever the order asked.
          EXPECT_EQ(back, bytes) << "grouping " << grouping << " width " << width;
        }
      }
    }
  }
}

TEST(BufferNumbers, ReadsAndRefusals) {
  const std::vector<uint8_t> b = Bytes({1, 2, 3, 4, 0xff, 0xff, 0xff, 0xff});
  EXPECT_EQ(ReadBufferInteger(b, 0, 4).value, 67305985);
  EXPECT_EQ(ReadBufferInteger(b, 0, 1).value, 1);
  EXPECT_EQ(ReadBufferInteger(b, 2, 2).value, 0x0403);
  EXPECT_EQ(ReadBufferInteger(b, 4, 4).value, 0xffffffffLL);  // unsigned, widened
  EXPECT_EQ(ReadBufferInteger(b, 0, 8).value, static_cast<int64_t>(0xffffffff04030201ULL));
  EXPECT_EQ(ReadBufferInteger(b, 5, 4).status, BufferReadStatus::kBeyondEnd);
  EXPECT_EQ(ReadBufferInteger(b, -1, 3).status, BufferReadStatus::kNegativeOffset);
  EXPECT_EQ(ReadBufferInteger(b, 0, 3).status, BufferReadStatus::kBadSize);
  EXPECT_EQ(ReadBufferInteger(b, 0x7fffffff, 8).status, BufferReadStatus::kBeyondEnd);
  EXPECT_EQ(ReadBufferInteger({}, 0, 1).status, BufferReadStatus::kBeyondEnd);

  const std::vector<uint8_t> one = Bytes({0, 0, 0x80, 0x3f});
  EXPECT_EQ(ReadBufferReal(one, 0, 4).value, 1.0);
  double x = -2.5;
  std::vector<uint8_t> d(8);
  std::memcpy(d.data(), &x, 8);
  EXPECT_EQ(ReadBufferReal(d, 0, 8).value, -2.5);
  EXPECT_EQ(ReadBufferReal(d, 0, 2).status, BufferReadStatus::kBadSize);
  EXPECT_EQ(ReadBufferReal(d, 1, 8).status, BufferReadStatus::kBeyondEnd);
}

TEST(UrlTables, ExactlyTheListedBytes) {
  auto general = [](int b) {
    return b <= 32 || b == 34 || b == 37 || b == 43 || b == 60 || b == 62 ||
           (b >= 91 && b <= 94) || b == 96 || b >= 123;
  };
  const std::string componentOnly = "!#$&'()*,-./:;=?@_";
  for (int b = 0; b < 256; ++b) {
    const bool inComponent = general(b) || componentOnly.find(static_cast<char>(b)) != std::string::npos;
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", b);
    EXPECT_EQ(GeneralEscape(static_cast<uint8_t>(b)), general(b) ? hex : "") << b;
    EXPECT_EQ(ComponentEscape(static_cast<uint8_t>(b)), inComponent ? hex : "") << b;
  }
}

TEST(PercentCoding, Cases) {
  EXPECT_EQ(PercentDecode(u"a+b%41"), u"a bA");
  EXPECT_EQ(PercentDecode(u"%26%238364%3B"), u"\u20ac");
  EXPECT_EQ(PercentDecode(u"x%26%238364%3By"), u"x\u20acy");
  EXPECT_EQ(PercentDecode(u"%26%23"), u"&#");
  EXPECT_EQ(PercentDecode(u"ab%4"), u"ab");      // too close to the end: stops
  EXPECT_EQ(PercentDecode(u"ab%"), u"ab");
  EXPECT_EQ(PercentDecode(u"%%41"), u"A");      // further '%' skipped before a digit
  EXPECT_EQ(PercentDecode(u"%4%1"), u"A");
  EXPECT_EQ(PercentDecode(u"%%%4"), u"");        // the digits run out
  EXPECT_EQ(PercentDecode(u"%zz"), u"\u0253");   // letters count from 10 up to 35
  EXPECT_EQ(PercentDecode(u"%!1"), u"\u0001");   // another character adds nothing
  EXPECT_EQ(PercentEncode("a b&c", false), u"a%20b&c");
  EXPECT_EQ(PercentEncode("a b&c", true), u"a b%26c");
  EXPECT_EQ(PercentEncode("\x80+", false), u"%80%2B");
  EXPECT_EQ(PercentEncode("\x80+", true), u"\u0080+");
  EXPECT_EQ(UrlEncode("\xe9", 8, 1252), u"%C3%A9");
  EXPECT_EQ(UrlEncode("\xe9", 7, 1252), u"%E9");
  EXPECT_EQ(UrlEncode("\xe9", 9, 65001), u"%E9");
  EXPECT_EQ(UrlDecode(u"%C3%A9", 9, 1252), "\xe9");
  EXPECT_EQ(UrlDecode(u"%C3%A9", 7, 1252), "\xc3\xa9");
  EXPECT_EQ(UrlDecode(u"a%20b", 7, 1252), "a b");
  EXPECT_EQ(UrlDecode(u"%26%238364%3B", 7, 1252), "\xac");
  EXPECT_EQ(UrlDecode(u"", 8, 1252), "");
}

TEST(PercentCoding, RoundTripsOverRandomBytes) {
  std::mt19937 rng(7);
  for (int round = 0; round < 500; ++round) {
    std::vector<uint8_t> raw = RandomBytesOf(rng, rng() % 200);
    const std::string bytes(raw.begin(), raw.end());
    EXPECT_EQ(UrlDecode(UrlEncode(bytes, 7, 1252), 7, 1252), bytes);
    // Through UTF-8 every byte survives too: code page 1252 maps each byte to one character.
    EXPECT_EQ(UrlDecode(UrlEncode(bytes, 8, 1252), 8, 1252), bytes);
  }
}

}  // namespace
}  // namespace tq
