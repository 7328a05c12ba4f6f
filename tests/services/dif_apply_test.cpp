// Applying differences: the statuses in their order, and malformed DIF data of every shape
// refused with status 2 before any output is requested.
#include "services/dif_apply.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <functional>

#include "services/dif_create.h"
#include "tests/services/dif_test_support.h"

namespace tq {
namespace {

using testing::Applied;
using testing::Apply;
using testing::Bytes;
namespace at = testing::offset;

uint32_t Crc(const Bytes& b) {
  return static_cast<uint32_t>(crc32(0, b.data(), static_cast<uInt>(b.size())));
}

class DifApply : public ::testing::Test {
 protected:
  void SetUp() override {
    std::mt19937_64 rng(11);
    old_ = testing::RandomBuffer(rng, 2000);
    neu_ = old_;
    neu_.insert(neu_.begin() + 768, {9, 8, 7, 6, 5});  // copy, insert, copy
    const DiffCreation created = CreateDifference(old_, neu_);
    ASSERT_TRUE(created.outcome.succeeded);
    dif_ = created.dif;
    ASSERT_EQ(testing::WordAt(dif_, at::kOperationCount), 3u);
  }
  Bytes old_, neu_, dif_;
};

TEST_F(DifApply, RebuildsTheNewBuffer) {
  const Applied a = Apply(old_, dif_);
  EXPECT_TRUE(a.outcome.succeeded);
  EXPECT_EQ(a.output, neu_);
}

TEST_F(DifApply, AnotherOldBufferIsRefusedBeforeAnyBlockIsRead) {
  Bytes other = old_;
  other[5] ^= 1;
  EXPECT_EQ(Apply(other, dif_).outcome.status, DiffStatus::kOtherOriginal);
  Bytes broken = dif_;
  testing::SetWordAt(broken, at::kMethod, 7);  // malformed block, but the old CRC comes first
  EXPECT_EQ(Apply(other, broken).outcome.status, DiffStatus::kOtherOriginal);
  EXPECT_EQ(Apply({}, dif_).outcome.status, DiffStatus::kOtherOriginal);
}

TEST_F(DifApply, ADamagedLiteralGivesAWrongResult) {
  Bytes damaged = dif_;
  damaged.back() ^= 0x40;
  const Applied a = Apply(old_, damaged);
  EXPECT_EQ(a.outcome.status, DiffStatus::kWrongResult);
  EXPECT_FALSE(a.outcome.succeeded);
  Bytes wrongCrc = dif_;
  testing::SetWordAt(wrongCrc, at::kNewCrc, Crc(neu_) ^ 1);
  EXPECT_EQ(Apply(old_, wrongCrc).outcome.status, DiffStatus::kWrongResult);
}

TEST_F(DifApply, EveryTruncationIsMalformed) {
  for (size_t n = 0; n < dif_.size(); ++n) {
    const Applied a = Apply(old_, Bytes(dif_.begin(), dif_.begin() + static_cast<ptrdiff_t>(n)));
    ASSERT_EQ(a.outcome.status, DiffStatus::kMalformed) << n;
    ASSERT_FALSE(a.outputRequested) << n;
  }
}

TEST_F(DifApply, FieldsThatDoNotFitAreMalformed) {
  const uint32_t ops = at::kOperations;
  struct Case {
    const char* what;
    std::function<void(Bytes&)> change;
  };
  const Case cases[] = {
      {"magic", [](Bytes& d) { d[0] = 'X'; }},
      {"header version 0", [](Bytes& d) { testing::SetWordAt(d, at::kVersion, 0); }},
      {"no block", [](Bytes& d) { testing::SetWordAt(d, at::kBlockCount, 0); }},
      {"a second block announced", [](Bytes& d) { testing::SetWordAt(d, at::kBlockCount, 2); }},
      {"huge block count", [](Bytes& d) { testing::SetWordAt(d, at::kBlockCount, ~0u); }},
      {"header longer than the file",
       [](Bytes& d) { testing::SetWordAt(d, at::kHeaderLength, ~0u); }},
      {"short header: new length 0",
       [](Bytes& d) { testing::SetWordAt(d, at::kHeaderLength, 24); }},
      {"block header longer than the file",
       [](Bytes& d) { testing::SetWordAt(d, at::kBlockHeaderLength, 1u << 31); }},
      {"storage method 1", [](Bytes& d) { testing::SetWordAt(d, at::kMethod, 1); }},
      {"storage method 2", [](Bytes& d) { testing::SetWordAt(d, at::kMethod, 2); }},
      {"old end beyond the old buffer", [](Bytes& d) { testing::SetWordAt(d, at::kOldEnd, 2001); }},
      {"old start after old end", [](Bytes& d) { testing::SetWordAt(d, at::kOldStart, 2001); }},
      {"new start not 0", [](Bytes& d) { testing::SetWordAt(d, at::kNewStart, 1); }},
      {"new end beyond the new length", [](Bytes& d) { testing::SetWordAt(d, at::kNewEnd, 2006); }},
      {"new end short of the new length",
       [](Bytes& d) { testing::SetWordAt(d, at::kNewEnd, 2004); }},
      {"new length larger", [](Bytes& d) { testing::SetWordAt(d, at::kNewLength, 4000000000u); }},
      {"data longer than the file",
       [](Bytes& d) { testing::SetWordAt(d, at::kDataLength, 0x7fffffff); }},
      {"data length 0", [](Bytes& d) { testing::SetWordAt(d, at::kDataLength, 0); }},
      {"operation kind 2", [=](Bytes& d) { testing::SetWordAt(d, ops, 2); }},
      {"copy first after last", [=](Bytes& d) { testing::SetWordAt(d, ops + 4, 800); }},
      {"copy past the old region", [=](Bytes& d) { testing::SetWordAt(d, ops + 8, 2001); }},
      {"copy bounds wrapping",
       [=](Bytes& d) {
         testing::SetWordAt(d, ops + 4, 0xffffff00u);
         testing::SetWordAt(d, ops + 8, 0xffffffffu);
       }},
      {"insert past the data", [=](Bytes& d) { testing::SetWordAt(d, ops + 12 + 8, 6); }},
      {"copy as an insert", [=](Bytes& d) { testing::SetWordAt(d, ops, 1); }},
      {"operations producing too little", [=](Bytes& d) { testing::SetWordAt(d, ops + 8, 767); }},
      {"one operation fewer", [](Bytes& d) { testing::SetWordAt(d, at::kOperationCount, 2); }},
      {"huge operation count", [](Bytes& d) { testing::SetWordAt(d, at::kOperationCount, ~0u); }},
  };
  for (const Case& c : cases) {
    Bytes dif = dif_;
    c.change(dif);
    const Applied a = Apply(old_, dif);
    EXPECT_EQ(a.outcome.status, DiffStatus::kMalformed) << c.what;
    EXPECT_FALSE(a.outputRequested) << c.what;
  }
}

TEST_F(DifApply, LongerHeadersAreSkippedAndShortOperationsReadAsNothing) {
  // Four extra bytes after the header and after the block header.
  Bytes longer(dif_.begin(), dif_.begin() + 36);
  longer.insert(longer.end(), 4, 0xee);
  longer.insert(longer.end(), dif_.begin() + 36, dif_.begin() + 80);
  longer.insert(longer.end(), 4, 0xee);
  longer.insert(longer.end(), dif_.begin() + 80, dif_.end());
  testing::SetWordAt(longer, at::kHeaderLength, 32);
  testing::SetWordAt(longer, at::kBlockHeaderLength + 4, 40);
  EXPECT_EQ(Apply(old_, longer).output, neu_);

  // An empty new buffer: announced operations absent from the file copy nothing.
  Bytes empty;
  for (uint32_t w : {0x464944u, 28u, 1u, 1u, Crc(old_), 0u, 128u,  1u, 0u, 40u,
                     36u,       0u,  5u, 0u, 0u,        0u, 2000u, 0u, 0u, 0u})
    testing::AppendWord(empty, w);
  empty.insert(empty.end(), {0, 0, 0, 0, 0});  // a partial operation
  const Applied a = Apply(old_, empty);
  EXPECT_TRUE(a.outcome.succeeded);
  EXPECT_TRUE(a.output.empty());
}

TEST_F(DifApply, SeveralBlocksInOrderAndNoMemory) {
  // The same rebuild as two stored blocks: [0, 768) and [768, 2005).
  Bytes dif;
  for (uint32_t w : {0x464944u, 28u, 1u, 1u, Crc(old_), Crc(neu_), 128u, 2u, 2005u})
    testing::AppendWord(dif, w);
  for (uint32_t w : {52u, 36u, 0u, 1u, 0u, 0u, 0u, 768u, 0u, 768u, 0u, 0u, 0u, 768u})
    testing::AppendWord(dif, w);
  for (uint32_t w :
       {69u, 36u, 0u, 2u, 0u, 0u, 768u, 2000u, 768u, 2005u, 5u, 1u, 0u, 5u, 0u, 0u, 1232u})
    testing::AppendWord(dif, w);
  dif.insert(dif.end(), {9, 8, 7, 6, 5});
  EXPECT_EQ(Apply(old_, dif).output, neu_);

  const DiffOutcome noMemory = ApplyDifference(old_, dif, [](size_t) { return nullptr; });
  EXPECT_EQ(noMemory.status, DiffStatus::kBlockFailed);

  Bytes swapped = dif;  // the second block's region where the first is expected
  testing::SetWordAt(swapped, 44 + 24, 768);
  EXPECT_EQ(Apply(old_, swapped).outcome.status, DiffStatus::kMalformed);
}

TEST_F(DifApply, RandomDamageNeverGoesUnnoticed) {
  std::mt19937_64 rng(12);
  for (int round = 0; round < 3000; ++round) {
    Bytes dif = dif_;
    const int flips = 1 + static_cast<int>(rng() % 4);
    for (int i = 0; i < flips; ++i)
      dif[rng() % dif.size()] ^= static_cast<uint8_t>(1 + rng() % 255);
    testing::SetWordAt(dif, at::kOldCrc, Crc(old_));  // get past the old buffer's check
    const Applied a = Apply(old_, dif);
    if (a.outcome.succeeded) {
      EXPECT_EQ(Crc(a.output), testing::WordAt(dif, at::kNewCrc));
      EXPECT_EQ(a.output.size(), testing::WordAt(dif, at::kNewLength));
    } else {
      EXPECT_TRUE(a.outcome.status == DiffStatus::kMalformed ||
                  a.outcome.status == DiffStatus::kWrongResult)
          << static_cast<int>(a.outcome.status);
    }
  }
}

}  // namespace
}  // namespace tq
