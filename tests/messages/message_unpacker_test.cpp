// The unpacker against hand-made packed texts, one group per decoding rule. The packed bytes
// are built here from digits, independently of the packer.
#include "frame/message_unpacker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

namespace tq {
namespace {

// Table entries used below: table 0: 1 'a', 2 'b', 3 'c', 30 ':', 31 '-'; table 1: 0 'A',
// 1 'B', 2 'C'; table 2: 1 '1'; table 3: 0 0xC3, 8 0xA9 (the two bytes of U+00E9).
constexpr int kA = 9, kB = 10, kC = 11;  // digits of 'a', 'b', 'c' in table 0

// Appends the two bytes whose value splits into the digits d0, d1, d2.
void Pair(std::vector<uint8_t>& out, int d0, int d1, int d2) {
  const int t = d0 * 1600 + d1 * 40 + d2 + 256;
  int a = t / 255, b = t % 255;
  if (b == 0) a -= 1, b = 255;
  out.push_back(static_cast<uint8_t>(a));
  out.push_back(static_cast<uint8_t>(b));
}

// The pairs of a digit sequence whose length is a multiple of 3.
std::vector<uint8_t> Pairs(std::initializer_list<int> digits) {
  std::vector<uint8_t> out;
  const std::vector<int> d(digits);
  EXPECT_EQ(d.size() % 3, 0u);
  for (size_t i = 0; i + 2 < d.size(); i += 3) Pair(out, d[i], d[i + 1], d[i + 2]);
  return out;
}

struct Unpacked {
  int result;
  std::string text;
  size_t produced;
};

Unpacked Unpack(const std::vector<uint8_t>& packed, size_t capacity = 0) {
  if (capacity == 0) capacity = UnpackCapacity(packed.size());
  std::vector<uint8_t> out(capacity, 0xEE);
  size_t produced = 12345;
  const int result =
      UnpackMessageText(packed.data(), packed.size(), out.data(), out.size(), &produced);
  const auto end = std::find(out.begin(), out.end(), 0);
  EXPECT_NE(end, out.end()) << "output not terminated";
  return {result, std::string(out.begin(), end), produced};
}

TEST(MessageUnpacker, ShiftsAndLocks) {
  struct Case {
    const char* what;
    std::vector<uint8_t> packed;
    std::string text;
  } cases[] = {
      {"locked table 0 at the start", Pairs({kA, kB, kC}), "abc"},
      {"a single shift lasts one symbol", Pairs({1, 8, kA}), "Aa"},
      {"a lock lasts", Pairs({5, 8, 9, 10, 4, kA}), "ABCa"},
      {"a shift after a lock, then back to the lock", Pairs({5, 0, kA, 8, 4, 4}), "aA"},
      {"a lock cancels a pending shift", Pairs({1, 4, kA}), "a"},
      {"a second shift replaces the first", Pairs({1, 2, 9}), "1"},
      {"digits 38 and 39 are symbols outside table 3", Pairs({38, 39, 4}), ":-"},
      {"table 3 symbols", Pairs({7, 8, 16}), "\xC3\xA9"},
      {"shifts and locks carry across pairs", Pairs({kA, kA, 1, 8, 7, 8, 16, 4, kA}),
       "aaA\303\251a"},
  };
  for (const Case& c : cases) {
    const Unpacked u = Unpack(c.packed);
    EXPECT_EQ(u.result, kUnpackComplete) << c.what;
    EXPECT_EQ(u.text, c.text) << c.what;
    EXPECT_EQ(u.produced, c.text.size()) << c.what;
  }
}

TEST(MessageUnpacker, Escapes) {
  // 38 through a single shift: one literal byte after the pair; the shift is used up and the
  // digit after the escape is dropped (it would emit 'c').
  std::vector<uint8_t> literal = Pairs({3, 38, kC});
  literal.push_back(0x7F);
  Pair(literal, kA, kA, kA);
  EXPECT_EQ(Unpack(literal).text, "\177aaa");

  // 39 with table 3 locked: a count and that many bytes, zero bytes included; the locked
  // table stays 3 afterwards.
  std::vector<uint8_t> run = Pairs({7, 39, 8});
  run.insert(run.end(), {3, 'x', 0, 'z'});
  Pair(run, 8, 16, 4);
  const Unpacked u = Unpack(run);
  EXPECT_EQ(u.result, kUnpackComplete);
  EXPECT_EQ(u.text.size(), 1u) << "stops at the literal zero byte of the copy";
  EXPECT_EQ(u.produced, 5u);

  // An escape in the first digit drops both digits after it; an empty run is allowed.
  std::vector<uint8_t> empty = Pairs({kA, kA, 7});
  Pair(empty, 39, kA, kA);
  empty.push_back(0);
  Pair(empty, 4, kB, 4);
  EXPECT_EQ(Unpack(empty).text, "aab");
}

TEST(MessageUnpacker, Faults) {
  struct Case {
    const char* what;
    std::vector<uint8_t> packed;
    int result;
    std::string text;
  } cases[] = {
      {"zero first byte", {0x00, 0x05}, kUnpackZeroByte, ""},
      {"zero second byte after a good pair",
       [] {
         std::vector<uint8_t> p = Pairs({kA, kB, kC});
         p.push_back(0x20);
         p.push_back(0x00);
         return p;
       }(),
       kUnpackZeroByte, "abc"},
      {"literal escape without its byte", Pairs({3, 38, 4}), kUnpackEscapePastEnd, ""},
      {"run escape without its count", Pairs({kA, 3, 39}), kUnpackEscapePastEnd, "a"},
      {"run escape longer than the input",
       [] {
         std::vector<uint8_t> p = Pairs({3, 39, 4});
         p.push_back(3);
         p.push_back('x');
         p.push_back('y');
         return p;
       }(),
       kUnpackEscapePastEnd, ""},
      {"escape digit as the lone last byte",
       [] {
         std::vector<uint8_t> p = Pairs({kA, 7, 8});
         p.push_back(39);  // digit 38, with table 3 locked
         return p;
       }(),
       kUnpackEscapePastEnd, "a\xC3"},
  };
  for (const Case& c : cases) {
    const Unpacked u = Unpack(c.packed);
    EXPECT_EQ(u.result, c.result) << c.what;
    EXPECT_EQ(u.text, c.text) << c.what;
  }
}

TEST(MessageUnpacker, LoneLastByteAndDigitsNoTableHas) {
  std::vector<uint8_t> p = Pairs({kA, kA, kA});
  p.push_back(kB + 1);  // a lone byte b is the digit (b + 255) mod 256
  EXPECT_EQ(Unpack(p).text, "aaab");
  EXPECT_EQ(Unpack({kC + 1}).text, "c");
  // Byte 0 reads as digit 255, which no table has: nothing is emitted.
  const Unpacked zero = Unpack({0});
  EXPECT_EQ(zero.result, kUnpackComplete);
  EXPECT_EQ(zero.text, "");
  // Nor for digits of 40 and above: 0xFF 0xFF is 65024, digits 40, 25 and 24 ('q' and 'p').
  EXPECT_EQ(Unpack({0xFF, 0xFF}).text, "qp");
}

TEST(MessageUnpacker, CapacityCut) {
  const std::vector<uint8_t> abc = Pairs({kA, kB, kC});
  struct Case {
    size_t capacity;
    int result;
    std::string text;
  } cases[] = {{4, kUnpackComplete, "abc"}, {3, kUnpackCut, "ab"}, {1, kUnpackCut, ""}};
  for (const Case& c : cases) {
    const Unpacked u = Unpack(abc, c.capacity);
    EXPECT_EQ(u.result, c.result) << c.capacity;
    EXPECT_EQ(u.text, c.text) << c.capacity;
    EXPECT_EQ(u.produced, 3u) << "bytes beyond the capacity are still counted";
  }
  size_t produced = 0;
  EXPECT_EQ(UnpackMessageText(abc.data(), abc.size(), nullptr, 0, &produced), kUnpackCut);
  EXPECT_EQ(produced, 3u);
  EXPECT_EQ(UnpackMessageText(nullptr, 0, nullptr, 0, nullptr), kUnpackComplete);
}

TEST(MessageUnpacker, CapacityFormula) {
  EXPECT_EQ(UnpackCapacity(0), 2u);
  EXPECT_EQ(UnpackCapacity(1), 3u);
  EXPECT_EQ(UnpackCapacity(3), 6u);
  // The densest text, three symbols a pair and a lone last digit, fits with its terminator.
  std::vector<uint8_t> dense;
  for (int i = 0; i < 100; ++i) Pair(dense, kA, kA, kA);
  dense.push_back(kA + 1);
  EXPECT_EQ(Unpack(dense).result, kUnpackComplete);
}

}  // namespace
}  // namespace tq
