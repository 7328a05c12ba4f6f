// VMString sharing, reuse in place, limits and release through the VM's allocator.
#include <gtest/gtest.h>

#include "frame/vm_string.h"
#include "tests/frame/fake_vm.h"

namespace {

using namespace tq;

class VMStringTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetAllocator(fakevm::Allocator());
    live_ = fakevm::LiveStrings();
  }
  void TearDown() override { EXPECT_EQ(fakevm::LiveStrings(), live_); }
  int live_ = 0;
};

TEST_F(VMStringTest, AssigningAShorterTextToAnUnsharedStringKeepsItsBuffer) {
  VMString s;
  ASSERT_EQ(Assign(s, u"ten chars!"), 0);
  EXPECT_EQ(HeaderOf(s.chars)->capacityBytes, 20u);
  char16_t* buffer = s.chars;
  ASSERT_EQ(Assign(s, u"five!"), 0);
  EXPECT_EQ(s.chars, buffer);
  EXPECT_EQ(View(s), u"five!");
  EXPECT_EQ(HeaderOf(s.chars)->lengthBytes, 10u);
  EXPECT_EQ(s.chars[5], u'\0');
  Release(s);
}

TEST_F(VMStringTest, AssigningToASharedStringLeavesTheOtherOwnerAlone) {
  VMString a, b;
  Assign(a, u"original");
  Share(b, a);
  EXPECT_EQ(HeaderOf(a.chars)->references, 2);
  Assign(b, u"new");
  EXPECT_NE(a.chars, b.chars);
  EXPECT_EQ(View(a), u"original");
  EXPECT_EQ(View(b), u"new");
  EXPECT_EQ(HeaderOf(a.chars)->references, 1);
  Release(a);
  Release(b);
}

TEST_F(VMStringTest, EmptyAndNullSourcesMakeTheStringNull) {
  VMString s;
  Assign(s, u"text");
  EXPECT_EQ(Assign(s, nullptr, -1), 0);
  EXPECT_EQ(s.chars, nullptr);
  Assign(s, u"text");
  EXPECT_EQ(Assign(s, u"", -1), 0);
  EXPECT_EQ(s.chars, nullptr);
  EXPECT_EQ(View(s), u"");
}

TEST_F(VMStringTest, ReleasingNullDoesNothingAndTheLastReferenceFrees) {
  VMString none;
  Release(none);
  EXPECT_EQ(none.chars, nullptr);
  VMString a, b;
  Assign(a, u"x");
  Share(b, a);
  const int live = fakevm::LiveStrings();
  Release(a);
  EXPECT_EQ(a.chars, nullptr);
  EXPECT_EQ(fakevm::LiveStrings(), live);
  Release(b);
  EXPECT_EQ(fakevm::LiveStrings(), live - 1);
}

TEST_F(VMStringTest, TooLongIsRefusedWithTheStringUnchanged) {
  VMString s;
  Assign(s, u"keep");
  EXPECT_EQ(Assign(s, u"x", 0x7fffff00), kValueTooLong);
  EXPECT_EQ(View(s), u"keep");
  Release(s);
}

TEST_F(VMStringTest, AssigningAPartOfItselfWhileGrowing) {
  VMString s;
  Assign(s, u"abc");
  std::u16string longer = u"abcabcabcabcabcabc";
  Assign(s, longer);
  Assign(s, s.chars + 3, 6);  // a tail of its own buffer
  EXPECT_EQ(View(s), u"abcabc");
  Release(s);
}

TEST_F(VMStringTest, LocalStringReleasesOnScopeExit) {
  {
    LocalString local;
    local.assign(u"scoped");
    EXPECT_EQ(View(local.get()), u"scoped");
  }
}

}  // namespace
