// The HandleTable's free list, growth and enumeration.
#include <gtest/gtest.h>

#include <vector>

#include "frame/handle_table.h"

namespace {

using namespace tq;

struct Tracked : HandleObject {
  explicit Tracked(int* alive, std::vector<int>* reported = nullptr, int tag = 0)
      : alive(alive), reported(reported), tag(tag) {
    ++*alive;
  }
  ~Tracked() override { --*alive; }
  void Report(VMObject*) override {
    if (reported) reported->push_back(tag);
  }
  int* alive;
  std::vector<int>* reported;
  int tag;
};

TEST(HandleTable, EntriesZeroAndOneAreReservedAndGrowthIsByFive) {
  int alive = 0;
  HandleTable t;
  t.Reset();
  EXPECT_EQ(t.Find(0), nullptr);
  EXPECT_EQ(t.Find(1), nullptr);
  for (int i = 2; i < 12; ++i) EXPECT_EQ(t.Add(0, new Tracked(&alive)), i);
  EXPECT_EQ(t.capacity(), 15u);
  EXPECT_EQ(alive, 10);
  t.ReleaseAll();
  EXPECT_EQ(alive, 0);
}

TEST(HandleTable, FreedEntriesAreReusedLastFreedFirst) {
  int alive = 0;
  HandleTable t;
  t.Reset();
  const intptr_t a = t.Add(0, new Tracked(&alive));
  const intptr_t b = t.Add(1, new Tracked(&alive));
  t.Add(0, new Tracked(&alive));
  EXPECT_TRUE(t.Remove(a));
  EXPECT_TRUE(t.Remove(b));
  EXPECT_FALSE(t.Remove(b));
  EXPECT_FALSE(t.Remove(1));
  EXPECT_FALSE(t.Remove(-1));
  EXPECT_FALSE(t.Remove(1000));
  EXPECT_EQ(t.freeHead(), b);
  EXPECT_EQ(t.Add(0, new Tracked(&alive)), b);
  EXPECT_EQ(t.Add(0, new Tracked(&alive)), a);
  EXPECT_EQ(t.Find(a)->kind, 0);
  EXPECT_EQ(alive, 3);
}

TEST(HandleTable, EnumerationReportsObjectsInUseFromIndexTwo) {
  int alive = 0;
  std::vector<int> reported;
  HandleTable t;
  t.Reset();
  t.Add(0, new Tracked(&alive, &reported, 10));
  const intptr_t middle = t.Add(1, new Tracked(&alive, &reported, 20));
  t.Add(0, new Tracked(&alive, &reported, 30));
  t.Remove(middle);
  t.Enumerate(nullptr);
  EXPECT_EQ(reported, (std::vector<int>{10, 30}));
}

}  // namespace
