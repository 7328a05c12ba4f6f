// DynamicValue: changes of type, the behaviour tables, and conversion through the VM.
#include <gtest/gtest.h>

#include "frame/conversion_services.h"
#include "frame/dynamic_value.h"
#include "frame/entry_points.h"
#include "frame/vm_string.h"
#include "tests/frame/fake_vm.h"

namespace {

using namespace tq;

class DynamicValueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetAllocator(fakevm::Allocator());
    entry::InitConversion(fakevm::Module(), 2, 2, 0);
  }
};

TEST_F(DynamicValueTest, SetTypeOnTheSameCodeWithAFlagReinitialisesAndClearsTheFlag) {
  DynamicValue v;
  SetInteger(v, 42);
  v.typeWord |= 0x100;
  SetType(v, 8);
  EXPECT_EQ(v.typeWord, 8);
  EXPECT_EQ(IntegerOf(v), 0);
  SetInteger(v, 42);
  SetType(v, 8);  // the whole type word is equal: nothing happens
  EXPECT_EQ(IntegerOf(v), 42);
}

TEST_F(DynamicValueTest, UnknownCodesGiveTypeZeroAndType15IsStoredAsType8) {
  DynamicValue v;
  SetType(v, 200);
  EXPECT_EQ(v.type(), 0);
  uint32_t size = 0;
  EXPECT_EQ(CallHandler(v, handler::kNativeSize, &size), kValueNotSupported);
  EXPECT_EQ(CallHandler(v, handler::kAssign, &size), kValueNotSupported);
  EXPECT_EQ(CallHandler(v, handler::kIncrement), kValueNotSupported);
  EXPECT_EQ(CallHandler(v, handler::kPredicate), 0);
  EXPECT_EQ(CallHandler(v, handler::kDestroy), 0);
  SetType(v, 0x108);  // only the low 8 bits count
  EXPECT_EQ(v.typeWord, 8);
  DynamicValue fifteen;
  SetType(fifteen, 15);  // stored as type 8
  EXPECT_EQ(fifteen.typeWord, 8);
  EXPECT_EQ(fifteen.handler, HandlerFor(8));
}

TEST_F(DynamicValueTest, InitialPayloads) {
  DynamicValue time;
  SetType(time, 25);
  EXPECT_EQ(TextOf(time), u"000000000");
  uint32_t size = 0;
  CallHandler(time, handler::kNativeSize, &size);
  EXPECT_EQ(size, 18u);
  DynamicValue date;
  SetType(date, 24);
  EXPECT_EQ(TextOf(date), u"");
  CallHandler(date, handler::kNativeSize, &size);
  EXPECT_EQ(size, 16u);
  DynamicValue ansi;
  SetType(ansi, 129);
  char text[16] = {};
  CallHandler(ansi, handler::kReadStorage, text);
  EXPECT_STREQ(text, "000000000");
}

TEST_F(DynamicValueTest, TextPayloadsKeepAtMostTheirCharacters) {
  DynamicValue date;
  SetType(date, 24);
  std::u16string longText = u"2024030512345";
  CallHandler(date, handler::kAssign, longText.data());
  EXPECT_EQ(TextOf(date), u"20240305");
  uint32_t bytes = 0;
  CallHandler(date, handler::kTextByteLength, &bytes);
  EXPECT_EQ(bytes, 16u);
  const char ansi[] = "\xe9t\xe9";  // code page 1252
  EXPECT_EQ(CallHandler(date, handler::kAssignAnsi, const_cast<char*>(ansi)), 0);
  EXPECT_EQ(TextOf(date), u"\u00e9t\u00e9");
}

TEST_F(DynamicValueTest, IncrementReportsLeavingTheRange) {
  DynamicValue v;
  SetInteger(v, INT32_MAX);
  EXPECT_EQ(CallHandler(v, handler::kIncrement), 1);
  EXPECT_EQ(IntegerOf(v), INT32_MIN);
  EXPECT_EQ(CallHandler(v, handler::kDecrement), 1);
  EXPECT_EQ(IntegerOf(v), INT32_MAX);
  EXPECT_EQ(CallHandler(v, handler::kDecrement), 0);
  DynamicValue real;
  SetReal(real, 1.5);
  EXPECT_EQ(CallHandler(real, handler::kIncrement), kValueNotSupported);
}

TEST_F(DynamicValueTest, PredicateByType) {
  DynamicValue v;
  SetInteger(v, -1);
  EXPECT_EQ(CallHandler(v, handler::kPredicate), 0);
  SetInteger(v, 0);
  EXPECT_EQ(CallHandler(v, handler::kPredicate), 1);
  SetBoolean(v, false);
  EXPECT_EQ(CallHandler(v, handler::kPredicate), 1);
}

TEST_F(DynamicValueTest, CopyToCopiesThePayloadAndTheVMFlags) {
  const int before = fakevm::LiveStrings();
  {
    DynamicValue from, to;
    ASSERT_EQ(SetText(from, u"shared text"), 0);
    from.typeWord |= 0x400;
    SetInteger(to, 5);
    to.typeWord |= 0x100;
    EXPECT_EQ(CallHandler(from, handler::kCopyTo, &to), 0);
    EXPECT_EQ(to.typeWord, 28 | 0x400);
    EXPECT_EQ(TextOf(to), u"shared text");
    // Both values share one buffer.
    EXPECT_EQ(reinterpret_cast<VMString*>(to.payload)->chars,
              reinterpret_cast<VMString*>(from.payload)->chars);
    EXPECT_EQ(fakevm::LiveStrings(), before + 1);
  }
  EXPECT_EQ(fakevm::LiveStrings(), before);
}

TEST_F(DynamicValueTest, ConvertKeepsTheVMFlagsAndPassesTheVMsCodeOn) {
  DynamicValue v;
  SetInteger(v, 7);
  const int calls = fakevm::ConversionCalls();
  EXPECT_EQ(Convert(v, 8), 0);  // the same type: the VM is not called
  EXPECT_EQ(fakevm::ConversionCalls(), calls);
  v.typeWord |= 0x100 | 0x400;
  const int finishes = fakevm::FinishCalls();
  EXPECT_EQ(Convert(v, 12), 0);
  EXPECT_EQ(v.typeWord, 12 | 0x100 | 0x400);
  EXPECT_DOUBLE_EQ(RealOf(v), 7.0);
  EXPECT_EQ(fakevm::FinishCalls(), finishes + 1);
  SetReal(v, 2.5);
  EXPECT_EQ(Convert(v, 8), 1);  // the VM's own code below 100 is passed on
  EXPECT_EQ(IntegerOf(v), 2);
}

TEST_F(DynamicValueTest, AFailedConversionLeavesTheValueUntouched) {
  DynamicValue v;
  SetBoolean(v, true);
  EXPECT_EQ(Convert(v, 24), 101);
  EXPECT_EQ(v.type(), 1);
  EXPECT_EQ(IntegerOf(v), 1);
}

}  // namespace
