// The registry workers with a proxy: the access-refused mark, values as the VM receives
// them, the search walk and the settings API.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "frame/dynamic_value.h"
#include "frame/vm_string.h"
#include "platform/registry.h"
#include "system/registry_errors.h"
#include "system/registry_keys.h"
#include "system/registry_search.h"
#include "system/registry_values.h"
#include "system/settings_api.h"
#include "tests/dates/proxy_fixture.h"
#include "tests/frame/fake_vm.h"
#include "tests/platform/device_fixture.h"

namespace tq {
namespace {

class RegistryWorkers : public tqtest::ProxyTestOn<ce::testing::DeviceTest> {
 protected:
  void SetUp() override {
    ProxyTestOn::SetUp();
    SetAllocator(fakevm::Allocator());  // the workers build the VMStrings of their values
  }
  CXError* State() { return ErrorStateOf(proxy_); }
  void Put(std::u16string_view key, std::u16string_view name, std::u16string_view text) {
    ASSERT_TRUE(settings::WriteRegistryString(key, name, text));
  }
};

TEST_F(RegistryWorkers, RefusedAccessIsMarked) {
  ASSERT_TRUE(CreateRegistryKey(proxy_, u"HKEY_LOCAL_MACHINE\\Locked"));
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open((root_ + "/.device/registry.db").c_str(), &db), SQLITE_OK);
  ASSERT_EQ(
      sqlite3_exec(db, "UPDATE keys SET flags=1 WHERE name='Locked'", nullptr, nullptr, nullptr),
      SQLITE_OK);
  sqlite3_close(db);
  EXPECT_FALSE(WriteRegistryValue(proxy_, u"HKEY_LOCAL_MACHINE\\Locked", u"v", ce::REG_SZ, "x"));
  EXPECT_EQ(State()->errorId, 80293u);
  EXPECT_TRUE(AccessRefusedMarked(State()));
  const std::u16string message(State()->message.view());
  EXPECT_NE(message.find(u"(5)"), std::u16string::npos);
  Reset(State());
  EXPECT_FALSE(AccessRefusedMarked(State()));
  EXPECT_FALSE(WriteRegistryValue(proxy_, u"HKEY_LOCAL_MACHINE\\Absent", u"v", ce::REG_SZ, "x"));
  EXPECT_FALSE(AccessRefusedMarked(State()));
}

// Binary and DWORD values are read through tq240 (registry_cli_test.cpp).
TEST_F(RegistryWorkers, ValuesAsTheVMReceivesThem) {
  struct Case {
    ce::DWORD type;
    std::string bytes;
    uint8_t valueType;
    std::string payloadBytes;  // bytes of the VMString, or of the fixed payload
  };
  const std::string abc("a\0b\0c\0\0\0", 8);
  const Case cases[] = {
      {ce::REG_SZ, abc, 28, std::string("a\0b\0c\0", 6)},  // 110 through a VM only
      {ce::REG_EXPAND_SZ, abc, 16, abc},
      {ce::REG_MULTI_SZ, std::string("a\0\0\0b\0\0\0\0\0", 10), 16,
       std::string("a\0\0\0b\0\0\0\0\0", 10)},
      {ce::REG_DWORD_BIG_ENDIAN, std::string("\x02\x00\x01\x00", 4), 8,
       std::string("\x01\x00\x02\x00", 4)},
      {ce::REG_QWORD, std::string("\x01\0\0\0\0\0\0\x80", 8), 5,
       std::string("\x01\0\0\0\0\0\0\x80", 8)},
      {ce::REG_NONE, "zz", 16, ""},
      {ce::REG_LINK, "zz", 16, ""},
      {10, "zz", 0, ""},
  };
  for (const Case& c : cases) {
    RegistryData data{true, c.type, c.bytes};
    DynamicValue value;
    RegistryDataToValue(data, value);
    EXPECT_EQ(value.type(), c.valueType) << c.type;
    std::string got;
    if (c.valueType == 16 || c.valueType == 28) {
      const VMString& s = *reinterpret_cast<const VMString*>(value.payload);
      if (s.chars != nullptr)
        got.assign(reinterpret_cast<const char*>(s.chars), HeaderOf(s.chars)->lengthBytes);
    } else if (c.valueType != 0) {
      got.assign(reinterpret_cast<const char*>(value.payload), c.payloadBytes.size());
    }
    EXPECT_EQ(got, c.payloadBytes) << c.type;
  }
}

TEST_F(RegistryWorkers, ReadingForgivesOnlyTheDefaultValue) {
  ASSERT_TRUE(CreateRegistryKey(proxy_, u"HKEY_CURRENT_USER\\R"));
  const RegistryData absentDefault = ReadRegistryValue(u"HKEY_CURRENT_USER\\R", u"");
  EXPECT_TRUE(absentDefault.read);
  EXPECT_EQ(absentDefault.type, ce::REG_SZ);
  EXPECT_FALSE(ReadRegistryValue(u"HKEY_CURRENT_USER\\R", u"named").read);
  EXPECT_FALSE(ReadRegistryValue(u"HKEY_CURRENT_USER\\Nope", u"").read);
  EXPECT_FALSE(ReadRegistryValue(u"", u"").read);
  EXPECT_TRUE(ReadRegistryValueAt(u"HKEY_CURRENT_USER\\R", 0).read);
  EXPECT_FALSE(ReadRegistryValueAt(u"HKEY_CURRENT_USER\\R", 1).read);
  // A write by index names the value enumerated there.
  Put(u"HKEY_CURRENT_USER\\R", u"First", u"1");
  EXPECT_TRUE(WriteRegistryValueAt(proxy_, u"HKEY_CURRENT_USER\\R", 1, ce::REG_SZ,
                                   StringBytes(u"one", false)));
  EXPECT_EQ(settings::ReadRegistryString(u"HKEY_CURRENT_USER\\R", u"first"), u"one");
  EXPECT_FALSE(WriteRegistryValueAt(proxy_, u"HKEY_CURRENT_USER\\R", 2, ce::REG_SZ, "x"));
  EXPECT_EQ(TakeError(), 0u);
}

TEST_F(RegistryWorkers, SearchWalksDepthFirstAndResumes) {
  // HKLM\S: values Alpha="find me", Beta="other"; subkeys FindKey (value Deep="find")
  // and Other (value X = "x find y").
  Put(u"HKEY_LOCAL_MACHINE\\S", u"Alpha", u"find me");
  Put(u"HKEY_LOCAL_MACHINE\\S", u"Beta", u"other");
  Put(u"HKEY_LOCAL_MACHINE\\S\\FindKey", u"Deep", u"findings");
  Put(u"HKEY_LOCAL_MACHINE\\S\\Other", u"X", u"x find y");
  std::vector<std::u16string> found;
  for (std::u16string at = u"HKEY_LOCAL_MACHINE\\S";;) {
    at = RegistrySearch(at, u"find", search_option::kDefault);
    if (at.empty()) break;
    found.push_back(at);
    ASSERT_LT(found.size(), 10u);
  }
  const std::vector<std::u16string> expected = {
      u"HKEY_LOCAL_MACHINE\tS\tAlpha\tfind me",
      u"HKEY_LOCAL_MACHINE\tS\\FindKey",
      u"HKEY_LOCAL_MACHINE\tS\\FindKey\tDeep\tfindings",
      u"HKEY_LOCAL_MACHINE\tS\\Other\tX\tx find y",
  };
  EXPECT_EQ(found, expected);
  // Whole words: "findings" and "FindKey" no longer count.
  EXPECT_EQ(RegistrySearch(u"HKEY_LOCAL_MACHINE\tS\tAlpha\tfind me", u"find",
                           search_option::kDefault | search_option::kWholeWords),
            u"HKEY_LOCAL_MACHINE\tS\\Other\tX\tx find y");
  // Value names only, descending (2 + 8); from a name match the search goes on after it.
  EXPECT_EQ(RegistrySearch(u"HKEY_LOCAL_MACHINE\tS", u"alp", 10), u"HKEY_LOCAL_MACHINE\tS\tAlpha");
  EXPECT_EQ(RegistrySearch(u"HKEY_LOCAL_MACHINE\tS\tAlpha", u"alp", 10), u"");
  EXPECT_EQ(RegistrySearch(u"HKEY_DYN_DATA", u"x", 15), u"");
}

// The walks and lists as the VM sees them are checked through tq240 (registry_cli_test.cpp);
// here the cases a command line does not reach.
TEST_F(RegistryWorkers, WalksListsAndDwordsAtTheirEdges) {
  Put(u"HKEY_USERS\\W\\One", u"A", u"1");
  ASSERT_TRUE(settings::WriteRegistryDword(u"HKEY_USERS\\W\\One", u"B", 2));
  EXPECT_EQ(NextSubKey(u"HKEY_USERS\\W\\one"), u"");  // names compare exactly here
  EXPECT_EQ(NextSubKey(u"HKEY_USERS\\W"), u"");
  EXPECT_EQ(ListRegistryValues(u"", false), u"");
  EXPECT_EQ(settings::ReadRegistryDword(u"HKEY_USERS\\W\\One", u"b"), 2u);
  EXPECT_EQ(settings::ReadRegistryDword(u"HKEY_USERS\\W\\One", u"a"), std::nullopt);
}

}  // namespace
}  // namespace tq
