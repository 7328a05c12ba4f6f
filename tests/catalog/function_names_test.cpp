// The VM stand-in's generated function list, end to end from the catalog: the shape the
// stand-in relies on when it lists functions and picks overloads.
#include "function_names.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tqhost {
namespace {

const HostFunction* Find(uint32_t id) {
  for (size_t i = 0; i < kHostFunctionCount; ++i) {
    if (kHostFunctions[i].id == id) return &kHostFunctions[i];
  }
  return nullptr;
}

TEST(FunctionNames, ListsEveryRecordInIdOrder) {
  ASSERT_EQ(kHostFunctionCount, 530u);
  ASSERT_EQ(kFunctionNameCount, kHostFunctionCount);
  size_t overloads = 0;
  for (size_t i = 0; i < kHostFunctionCount; ++i) {
    const HostFunction& f = kHostFunctions[i];
    EXPECT_EQ(f.id, i < 529 ? i + 1 : 1282u);
    EXPECT_EQ(kFunctionNames[i].id, f.id);
    EXPECT_TRUE(f.name == kFunctionNames[i].name ||
                (f.name && kFunctionNames[i].name && !std::strcmp(f.name, kFunctionNames[i].name)));
    overloads += f.overloadCount;
    for (uint8_t k = 0; k < f.overloadCount; ++k) {
      EXPECT_EQ(f.overloads[k].params[f.overloads[k].paramCount], 0u) << f.id;
    }
  }
  EXPECT_EQ(overloads, 1160u);
  EXPECT_EQ(kHostFunctions[529].overloadCount, 0u);
  EXPECT_EQ(kHostFunctions[529].overloads, nullptr);
}

TEST(FunctionNames, SharedListsPointAtTheirOwner) {
  const uint32_t pairs[][2] = {{341, 256}, {352, 345}, {353, 342}, {450, 414}};
  for (const auto& [user, owner] : pairs) {
    EXPECT_EQ(Find(user)->uses, owner);
    EXPECT_EQ(Find(user)->overloads, Find(owner)->overloads);
    EXPECT_EQ(Find(user)->overloadCount, Find(owner)->overloadCount);
  }
  EXPECT_EQ(Find(256)->uses, 0u);
}

TEST(FunctionNames, SignaturesAndFlags) {
  const HostFunction* systemDate = Find(1);
  ASSERT_STREQ(systemDate->name, "SystemDate");
  EXPECT_EQ(systemDate->overloads[0].result, 121u);  // today as date text
  EXPECT_EQ(systemDate->overloads[0].paramCount, 0u);
  EXPECT_EQ(systemDate->overloads[1].result, 0u);  // sets the date from a date text
  ASSERT_EQ(systemDate->overloads[1].paramCount, 1u);
  EXPECT_EQ(systemDate->overloads[1].params[0], 122u);
  EXPECT_EQ(Find(124)->name, nullptr);  // handed back to the VM, no name of its own
  EXPECT_EQ(Find(220)->overloads[0].flags, 128u);
  EXPECT_EQ(Find(220)->overloads[2].flags, 0u);
  EXPECT_EQ(Find(430)->overloads[0].flags, 256u);
  EXPECT_FALSE(Find(16)->overloads[0].implemented);  // never implemented
}

}  // namespace
}  // namespace tqhost
