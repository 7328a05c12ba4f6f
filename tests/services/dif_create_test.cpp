// Creating differences: the bytes written agree with an independent reference of the rules,
// every DIF created rebuilds its new buffer, and the creation statuses.
#include "services/dif_create.h"

#include <gtest/gtest.h>

#include "tests/services/dif_test_support.h"

namespace tq {
namespace {

using testing::Bytes;

// Creates, compares with the reference and applies back. Returns the DIF's size.
size_t CheckPair(const Bytes& old, const Bytes& neu, const std::string& what) {
  const DiffCreation created = CreateDifference(old, neu);
  const testing::ReferenceDif expected = testing::ReferenceCreate(old, neu);
  if (!expected.dif) {
    EXPECT_FALSE(created.outcome.succeeded) << what;
    EXPECT_EQ(static_cast<int>(created.outcome.status), expected.status) << what;
    return 0;
  }
  EXPECT_TRUE(created.outcome.succeeded)
      << what << " status " << static_cast<int>(created.outcome.status);
  EXPECT_EQ(created.dif, *expected.dif) << what;
  const testing::Applied applied = testing::Apply(old, created.dif);
  EXPECT_EQ(applied.output, neu) << what;
  EXPECT_TRUE(applied.outcome.succeeded) << what;
  return created.dif.size();
}

TEST(CreateDifference, EditedBuffersMatchTheReferenceAndApplyBack) {
  std::mt19937_64 rng(20240305);
  const size_t sizes[] = {1, 2, 127, 128, 129, 130, 255, 256, 257, 1000, 4096, 20000, 70000};
  size_t largeNew = 0, largeDifs = 0;
  for (size_t size : sizes) {
    for (unsigned alphabet : {256u, 4u, 1u}) {
      for (int round = 0; round < 6; ++round) {
        const Bytes old = testing::RandomBuffer(rng, size, alphabet);
        const Bytes neu = testing::Edited(rng, old);
        const size_t difSize = CheckPair(
            old, neu,
            "edited size " + std::to_string(size) + " alphabet " + std::to_string(alphabet));
        if (size >= 20000 && alphabet == 256) {
          largeNew += neu.size();
          largeDifs += difSize;
        }
      }
    }
  }
  // Copies carry most of a few edits: the DIFs of the large buffers are much smaller.
  EXPECT_LT(largeDifs * 4, largeNew);
}

TEST(CreateDifference, UnrelatedTinyAndEmptyNewBuffers) {
  std::mt19937_64 rng(7);
  for (size_t oldSize : {1, 5, 128, 300, 5000}) {
    const Bytes old = testing::RandomBuffer(rng, oldSize);
    for (size_t newSize : {0, 1, 3, 128, 129, 1000}) {
      const std::string what = std::to_string(oldSize) + " -> " + std::to_string(newSize);
      CheckPair(old, testing::RandomBuffer(rng, newSize), "unrelated " + what);
      // The new buffer made of the old one's pieces: a prefix, a suffix, a doubled copy.
      const size_t n = std::min(newSize, old.size());
      CheckPair(old, Bytes(old.begin(), old.begin() + static_cast<ptrdiff_t>(n)), "prefix " + what);
      CheckPair(old, Bytes(old.end() - static_cast<ptrdiff_t>(n), old.end()), "suffix " + what);
      Bytes twice = old;
      twice.insert(twice.end(), old.begin(), old.end());
      CheckPair(old, twice, "doubled " + what);
    }
  }
}

TEST(CreateDifference, StatusesBeforeAnyMatching) {
  const Bytes some = {1, 2, 3};
  EXPECT_EQ(CreateDifference({}, some).outcome.status, DiffStatus::kEmptyOriginal);
  EXPECT_EQ(CreateDifference({}, {}).outcome.status, DiffStatus::kEmptyOriginal);
  const DiffCreation same = CreateDifference(some, some);
  EXPECT_FALSE(same.outcome.succeeded);
  EXPECT_EQ(same.outcome.status, DiffStatus::kNothingToDo);
  EXPECT_TRUE(same.dif.empty());
}

TEST(CreateDifference, ShortNewBuffersAreOneLiteralOperation) {
  std::mt19937_64 rng(3);
  const Bytes old = testing::RandomBuffer(rng, 4096);
  const Bytes neu(old.begin() + 256, old.begin() + 256 + 128);  // all in old, yet too short
  const DiffCreation created = CreateDifference(old, neu);
  ASSERT_TRUE(created.outcome.succeeded);
  EXPECT_EQ(testing::WordAt(created.dif, testing::offset::kOperationCount), 1u);
  EXPECT_EQ(testing::WordAt(created.dif, testing::offset::kOperations), 1u);  // insert
  EXPECT_EQ(testing::WordAt(created.dif, testing::offset::kDataLength), 128u);
  EXPECT_EQ(created.dif.size(), 80u + 12 + 128);
}

TEST(CreateDifference, CopyFromTheOldBuffersEndStopsThere) {
  std::mt19937_64 rng(4);
  const Bytes old = testing::RandomBuffer(rng, 1024);
  Bytes neu(old.begin() + 512, old.end());
  neu.insert(neu.end(), old.begin() + 512, old.begin() + 600);  // goes on with the same bytes
  const DiffCreation created = CreateDifference(old, neu);
  ASSERT_TRUE(created.outcome.succeeded);
  // copy [512, 1024) of the old buffer, then 88 literal bytes
  EXPECT_EQ(testing::WordAt(created.dif, testing::offset::kOperationCount), 2u);
  EXPECT_EQ(testing::WordAt(created.dif, testing::offset::kOperations), 0u);
  EXPECT_EQ(testing::WordAt(created.dif, testing::offset::kOperations + 4), 512u);
  EXPECT_EQ(testing::WordAt(created.dif, testing::offset::kOperations + 8), 1024u);
  EXPECT_EQ(testing::WordAt(created.dif, testing::offset::kOperations + 12), 1u);
  EXPECT_EQ(testing::WordAt(created.dif, testing::offset::kDataLength), 88u);
}

TEST(CreateDifference, SizeLimitOnlyWithItsOptionAndAPositiveLimit) {
  std::mt19937_64 rng(5);
  const Bytes old = testing::RandomBuffer(rng, 10000);
  Bytes neu = old;
  for (size_t i = 0; i < neu.size(); i += 500) neu[i] ^= 0x55;  // about 20 x 250 bytes of literals
  const size_t difSize = CreateDifference(old, neu).dif.size();
  ASSERT_GT(difSize, 1000u);  // more than 10 % of the old buffer
  const int32_t percent = static_cast<int32_t>(difSize * 100 / old.size());
  struct Case {
    int32_t options, limit;
    bool succeeds;
  };
  const Case cases[] = {
      {kDiffOptionSizeLimit, 10, false},
      {0, 10, true},
      {kDiffOptionSizeLimit, 0, true},
      {kDiffOptionSizeLimit, -5, true},
      {kDiffOptionSizeLimit, percent, true},
      {kDiffOptionSizeLimit, percent - 1, false},
      {kDiffOptionSizeLimit | kDiffOptionArchive, 10, false},
      {kDiffOptionSizeLimit, 50, true},
      {~kDiffOptionSizeLimit, 1, true},
  };
  for (const Case& c : cases) {
    const DiffCreation created = CreateDifference(old, neu, c.options, c.limit);
    EXPECT_EQ(created.outcome.succeeded, c.succeeds) << c.options << " " << c.limit;
    if (!c.succeeds) {
      EXPECT_EQ(created.outcome.status, DiffStatus::kTooLarge);
    }
  }
  // The default limit (50 %) with the option alone.
  const Bytes unrelated = testing::RandomBuffer(rng, 10000);
  EXPECT_EQ(CreateDifference(old, unrelated, kDiffOptionSizeLimit).outcome.status,
            DiffStatus::kTooLarge);
}

TEST(CreateDifference, ArchiveModeBuildsTheSingleBlockForm) {
  std::mt19937_64 rng(6);
  const Bytes old = testing::RandomBuffer(rng, 3000);
  const Bytes neu = testing::Edited(rng, old);
  EXPECT_EQ(CreateDifference(old, neu, kDiffOptionArchive).dif, CreateDifference(old, neu).dif);
}

TEST(CreateDifference, ScalesToMegabytesWithScatteredEdits) {
  std::mt19937_64 rng(8);
  const Bytes old = testing::RandomBuffer(rng, 8 << 20);
  Bytes neu = old;
  for (size_t i = 4096; i < neu.size(); i += 1 << 16) neu[i] ^= 1;
  const DiffCreation created = CreateDifference(old, neu);
  ASSERT_TRUE(created.outcome.succeeded);
  EXPECT_LT(created.dif.size(), 128u * 200 + 1000);  // at most ~128 literal bytes per edit
  const testing::Applied applied = testing::Apply(old, created.dif);
  EXPECT_TRUE(applied.outcome.succeeded);
  EXPECT_EQ(applied.output, neu);
}

}  // namespace
}  // namespace tq
