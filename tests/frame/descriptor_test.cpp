// The descriptor and its tables as the VM reads them through InfoComposante.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "frame/component_descriptor.h"
#include "frame/constant_tables.h"
#include "frame/entry_points.h"
#include "frame/function_table.h"

namespace {

using namespace tq;

const FunctionRecord* Record(uint32_t id) {
  for (size_t i = 0; i < kFunctionRecordCount; ++i)
    if (kFunctionRecords[i].id == id) return &kFunctionRecords[i];
  return nullptr;
}

const OverloadEntry* Overloads(const FunctionRecord& r) {
  return kFunctionRecords[OverloadOwnerIndex(r)].overloads;
}

std::vector<uint32_t> Signature(const OverloadEntry& o) {
  std::vector<uint32_t> words;
  const uint32_t count = o.countAndFlags & 0x7f;
  for (uint32_t i = 0; i <= count + 1; ++i) words.push_back(o.signature[i]);
  return words;
}

TEST(Descriptor, QueriesAnswerTheDescriptorsWords) {
  struct Case {
    int32_t query;
    intptr_t answer;
  };
  const Case cases[] = {{0, 16},  {1, 8},   {2, 739},  {3, 1},    {5, 0},  {6, 0},
                        {7, 0},   {12, 0},  {14, 698}, {16, 53},  {18, 1}, {20, 5},
                        {22, 529}, {23, 0}, {29, 31551}, {30, 0}, {31, 0}, {32, 2}};
  for (const Case& c : cases) EXPECT_EQ(entry::Information(c.query, 0), c.answer) << c.query;
  EXPECT_EQ(entry::Information(33, 0), reinterpret_cast<intptr_t>(&ThisDescriptor()));
  EXPECT_EQ(entry::Information(21, 0), reinterpret_cast<intptr_t>(kFunctionRecords));
  EXPECT_EQ(ThisDescriptor().size, 120u);
  EXPECT_EQ(ThisDescriptor().constant16, 16u);
}

TEST(Descriptor, TablesAAndBHoldThreeEmptyStringsThenNull) {
  for (int32_t query : {4, 27}) {
    for (int32_t i = 0; i < 3; ++i) {
      auto* text = reinterpret_cast<const char16_t*>(entry::Information(query, i));
      ASSERT_NE(text, nullptr);
      EXPECT_EQ(text[0], u'\0');
    }
    EXPECT_EQ(entry::Information(query, 3), 0);
    EXPECT_EQ(entry::Information(query, 99), 0);
    EXPECT_EQ(entry::Information(query, -1), 0);
  }
}

TEST(Descriptor, TheDescriptorIsLinkedInFrontOfTheList) {
  entry::LoadLibraryStatics();
  EXPECT_EQ(DescriptorListHead(), &ThisDescriptor());
}

TEST(FunctionTable, RecordsAreSortedAndCountedAsTheVMExpects) {
  ASSERT_EQ(kFunctionRecordCount, 530u);
  EXPECT_EQ(kFunctionCount, 529u);
  for (size_t i = 0; i + 1 < kFunctionRecordCount; ++i) {
    EXPECT_EQ(kFunctionRecords[i].id, i + 1);
    EXPECT_EQ((kFunctionRecords[i].overloadInfo >> 16) & 0xff, 8u);
    EXPECT_EQ(kFunctionRecords[i].attributeA >> 30, 3u);
  }
  EXPECT_EQ(kFunctionRecords[529].id, 1282u);
  EXPECT_EQ(kFunctionRecords[529].attributeA, kTypeMemberAttribute);
}

TEST(FunctionTable, OverloadTotalsMatchTheListing) {
  size_t overloads = 0, withoutEntry = 0, flag128 = 0, flag256 = 0;
  for (size_t i = 0; i < kFunctionRecordCount; ++i) {
    const FunctionRecord& r = kFunctionRecords[i];
    const OverloadEntry* o = Overloads(r);
    for (uint32_t k = 0; k < OverloadCount(r); ++k) {
      ++overloads;
      if ((o[k].countAndFlags & kOverloadOpenEnded) != 0) ++flag128;
      if ((o[k].countAndFlags & kOverloadFlag256) != 0) ++flag256;
      EXPECT_EQ(o[k].signature[(o[k].countAndFlags & 0x7f) + 1], 0u) << r.id;
      if (o[k].entry == nullptr) ++withoutEntry;
    }
  }
  EXPECT_EQ(overloads, 1160u);
  EXPECT_EQ(flag128, 7u);
  EXPECT_EQ(flag256, 1u);
  EXPECT_GE(withoutEntry, 576u);  // the 576 never implemented, plus families not built yet
}

TEST(FunctionTable, SharedListsReportTheOwnersOverloads) {
  const std::pair<uint32_t, uint32_t> shared[] = {{341, 256}, {352, 345}, {353, 342}, {450, 414}};
  for (auto [user, owner] : shared) {
    const FunctionRecord* u = Record(user);
    const FunctionRecord* o = Record(owner);
    ASSERT_TRUE(u && o);
    EXPECT_EQ(Overloads(*u), o->overloads);
    EXPECT_EQ(OverloadCount(*u), OverloadCount(*o));
  }
}

TEST(FunctionTable, SignaturesOfTheValueUtilities) {
  const FunctionRecord* isEven = Record(147);
  ASSERT_NE(isEven, nullptr);
  EXPECT_EQ(Signature(isEven->overloads[0]), (std::vector<uint32_t>{1, 8, 0}));
  EXPECT_NE(isEven->overloads[0].entry, nullptr);
  const FunctionRecord* listMax = Record(220);
  EXPECT_EQ(listMax->overloads[0].countAndFlags, 1u | kOverloadOpenEnded);
  EXPECT_EQ(listMax->overloads[2].countAndFlags, 1u);
  // A no-result, one-string-parameter overload: 0, 122, 0.
  const FunctionRecord* systemDate = Record(1);
  EXPECT_EQ(Signature(systemDate->overloads[1]), (std::vector<uint32_t>{0, 122, 0}));
  EXPECT_EQ(Signature(systemDate->overloads[0]), (std::vector<uint32_t>{121, 0}));
}

TEST(ConstantTables, IdsFormsAndDefaults) {
  std::set<uint32_t> names;
  for (size_t i = 0; i < kConstantCount; ++i) {
    EXPECT_EQ(kConstants[i].id, 530 + i);
    EXPECT_EQ(kConstants[i].word5, 0x81u);
    EXPECT_GE(kConstants[i].nameNumber, 101u);
    EXPECT_LE(kConstants[i].nameNumber, 5700u);
    names.insert(kConstants[i].nameNumber);
  }
  EXPECT_EQ(names.size(), kConstantCount);
  std::set<uint32_t> running;
  for (size_t i = 0; i < kSecondConstantCount; ++i) {
    EXPECT_EQ(kSecondConstants[i].id, 1228 + i);
    EXPECT_EQ((kSecondConstants[i].typeAndNumber >> 16) & 0xff, 8u);
    running.insert(kSecondConstants[i].typeAndNumber & 0xffff);
  }
  EXPECT_EQ(running.size(), 53u);
  EXPECT_EQ(running.count(46), 0u);
  EXPECT_EQ(*running.rbegin(), 54u);
}

TEST(TypeTables, TypeStringsAndTheProcessTypeRecord) {
  EXPECT_STREQ(kTypeList[0], "+:061:2:PNT:Ic\xc3\xb4ne");
  EXPECT_STREQ(kTypeList[1], "+:008:0:STD:Processus");
  EXPECT_STREQ(kTypeList[4], "+:008:3:STD:URI");
  EXPECT_EQ(kTypeList[5], nullptr);
  ASSERT_NE(kTypeRecords[0], nullptr);
  EXPECT_EQ(kTypeRecords[1], nullptr);
  EXPECT_EQ(kTypeRecords[0]->typeId, 1281u);
  EXPECT_EQ(kTypeRecords[0]->typeString, kTypeList[1]);
  EXPECT_EQ(kTypeRecords[0]->value, 2u);
  kTypeRecords[0]->registration(4321);
  EXPECT_EQ(RegisteredTypeValue(), 4321);
}

TEST(VMDataBlock, HeaderAsTheVMReadsIt) {
  uint16_t first;
  uint32_t length;
  std::memcpy(&first, kVMDataBlock.data(), 2);
  std::memcpy(&length, kVMDataBlock.data() + 8, 4);
  EXPECT_EQ(first, 5);
  EXPECT_EQ(length, 31527u);
  EXPECT_EQ(entry::Information(28, 0), reinterpret_cast<intptr_t>(kVMDataBlock.data()));
}

}  // namespace
