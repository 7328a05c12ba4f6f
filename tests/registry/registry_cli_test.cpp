// The registry functions as the VM sees them, through tq240: every overload of the writes
// with the exact bytes stored, reads back by name and by index, walks, lists, the search and
// the error ids.
#include <gtest/gtest.h>

#include "tests/registry/cli_support.h"

namespace {

using namespace regtest;

constexpr const char* kKey = "HKEY_LOCAL_MACHINE\\Software\\Test";
constexpr const char* kReads = "HKEY_LOCAL_MACHINE\\Software\\Reads";

TEST(RegistryCli, EveryWriteOverloadStoresItsBytes) {
  ASSERT_EQ(Call({"RegistryCreateKey", kKey}), "true");
  Call({"RegistrySetValue", kKey, "Pad", "x"});  // index 1 for the by-index forms
  struct Case {
    std::vector<std::string> args;  // after the key
    std::string name;               // the value written
    std::string stored;             // type:hex
  };
  const std::vector<Case> cases = {
      {{"Text", "hé"}, "Text", "1:6800E9000000"},
      {{"Int", "i:-2"}, "Int", "4:FEFFFFFF"},
      {{"Real", "r:1.5"}, "Real", "3:000000000000F83F"},
      {{"Money", "c:1.5"}, "Money", "3:983A0000000000000000"},
      {{"Bool", "b:true"}, "Bool", "4:01000000"},
      {{"Quad", "l:4294967296"}, "Quad", "11:0000000001000000"},
      {{"Big", "65538", "REG_DWORD_BIG_ENDIAN"}, "Big", "5:01000200"},
      {{"Dw", "7", "reg_dword"}, "Dw", "4:07000000"},
      {{"Sz", "abc", "REG_SZ"}, "Sz", "1:610062006300"},
      {{"Ex", "%P%", "REG_EXPAND_SZ"}, "Ex", "2:250050002500"},
      {{"Q", "5", "REG_QWORD"}, "Q", "11:0500000000000000"},
      {{"Bin", "ab", "REG_BINARY"}, "Bin", "3:61006200"},                  // a text's own bytes
      {{"i:1", "by index"}, "Pad", "1:62007900200069006E00640065007800"},  // no terminator
      {{"i:1", "i:9"}, "Pad", "4:09000000"},
      {{"i:1", "r:2"}, "Pad", "3:0000000000000040"},
      {{"i:1", "b:false"}, "Pad", "4:00000000"},
      {{"i:1", "c:1"}, "Pad", "3:10270000000000000000"},
      {{"i:1", "r:0.5", "REG_BINARY"}, "Pad", "3:000000000000E03F"},
      {{"i:0", "default"}, "", "1:640065006600610075006C007400"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> call = {"RegistrySetValue", kKey};
    call.insert(call.end(), c.args.begin(), c.args.end());
    EXPECT_EQ(Call(call), "true") << c.name;
    EXPECT_EQ(StoredValue(c.name), c.stored) << c.args[0] << " " << c.args[1];
  }
  // Ex was written without its terminator by the typed form: "%P%" is 3 characters.
  EXPECT_EQ(Call({"RegistryValueType", kKey, "Big"}), "REG_DWORD_BIG_ENDIAN");
  EXPECT_EQ(Call({"RegistryValueType", kKey, "i:2"}), "REG_SZ");
  EXPECT_EQ(Call({"RegistryValueType", kKey, "Nope"}), "");
  EXPECT_EQ(Call({"RegistryValueType", kKey, ""}), "REG_SZ");  // written by index 0 above
  EXPECT_EQ(Call({"RegistryValueType", "HKEY_LOCAL_MACHINE\\Software", ""}), "");
  EXPECT_EQ(Call({"RegistryValueType", "HKEY_LOCAL_MACHINE\\Software", "i:0"}), "");
}

TEST(RegistryCli, ReadsGiveTypedValues) {
  ASSERT_EQ(Call({"RegistryCreateKey", kReads}), "true");
  const std::string set = std::string("RegistrySetValue '") + kReads + "' ";
  const std::string query = std::string("RegistryQueryValue '") + kReads + "' ";
  const std::vector<JsonValue> r = Cases({
      {set + "S text", "true"},
      {set + "D i:5", "true"},
      {set + "B 65538 REG_DWORD_BIG_ENDIAN", "true"},
      {set + "Q l:-3", "true"},
      {set + "M e:a\\u0000b\\u0000 REG_MULTI_SZ", "true"},
      {query + "s", "text"},
      {query + "D", "5"},
      {query + "b", "65538"},
      {query + "Q", "-3"},
      {query + "M", std::string("a\0b\0", 4)},
      {query + "i:2", "5"},
      {query + "i:9", ""},
      {query + "''", ""},
      {"RegistryQueryValue 'HKEY_LOCAL_MACHINE\\Nope' ''", ""},
      {"RegistryQueryValue '' ''", ""},
  });
  ASSERT_EQ(r.size(), 15u);
  const double types[] = {110, 8, 8, 5, 16, 8, 16, 110, 16, 16};
  for (size_t i = 0; i < std::size(types); ++i)
    EXPECT_EQ(Field(r[5 + i], "result", "value_type").number, types[i]) << i;
}

TEST(RegistryCli, SuccessFlagAndBuffers) {
  ASSERT_EQ(Call({"RegistryCreateKey", kReads}), "true");
  ASSERT_EQ(Call({"RegistrySetValue", kReads, "Bin", "x:00ff01", "REG_BINARY"}), "true");
  struct Case {
    std::vector<std::string> args;  // after the key
    bool read;
  };
  const Case cases[] = {
      {{"", "&ok"}, true},  // an absent default value of an existing key reads as empty
      {{"bin", "&ok"}, true},
      {{"Nope", "&ok"}, false},
      {{"i:1", "&ok"}, true},
      {{"i:2", "&ok"}, false},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {kReads};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const JsonValue r = tqtest::CallJson({}, "RegistryQueryValue", args);
    EXPECT_EQ(Field(r, "variables", "ok").boolean, c.read) << c.args[0];
  }
  const JsonValue r = tqtest::CallJson({}, "RegistryQueryValue", {kReads, "Bin"});
  EXPECT_EQ(Field(r, "result", "value_type").number, 28);
  EXPECT_EQ(Field(Field(r, "result"), "value", "hex").text, "00ff01");
  EXPECT_EQ(StoredValue("Bin"), "3:00FF01");
}

TEST(RegistryCli, KeysWalksAndLists) {
  const std::string root = "HKEY_CURRENT_USER\\Walk";
  for (const char* k : {"\\Alpha", "\\Beta", "\\Beta\\Inner", "\\Gamma"})
    EXPECT_EQ(Call({"RegistryCreateKey", root + k}), "true");
  EXPECT_EQ(Call({"RegistryCreateKey", root + "\\ALPHA"}), "false");
  EXPECT_EQ(Call({"RegistryExists", root + "\\alpha"}), "true");
  EXPECT_EQ(Call({"RegistryFirstSubKey", root}), root + "\\Alpha");
  EXPECT_EQ(Call({"RegistryNextSubKey", root + "\\Alpha"}), root + "\\Beta");
  EXPECT_EQ(Call({"RegistryNextSubKey", root + "\\Gamma"}), "");
  EXPECT_EQ(Call({"RegistryListSubKeys", root}), "Alpha\r\nBeta\r\nGamma");
  EXPECT_EQ(Call({"RegistrySetValue", root, "A", "x"}), "true");
  EXPECT_EQ(Call({"RegistrySetValue", root, "B", "i:1"}), "true");
  EXPECT_EQ(Call({"RegistrySetValue", root, "C", "r:1"}), "true");
  EXPECT_EQ(Call({"RegistryListValues", root, "b:true"}), "A\tT\r\nB\tN\r\nC\tB");
  EXPECT_EQ(Call({"RegistryListValues", root}), "A\r\nB\r\nC");
  EXPECT_EQ(Call({"RegistryExists", root, "b"}), "true");
  EXPECT_EQ(Call({"RegistryExists", root, "i:3"}), "true");
  EXPECT_EQ(Call({"RegistryExists", root, "i:4"}), "false");
  EXPECT_EQ(Call({"RegistryDeleteValue", root, "B"}), "true");
  EXPECT_EQ(Call({"RegistryDeleteValue", root, "B"}), "true");  // already gone
  EXPECT_EQ(Call({"RegistryExists", root, "B"}), "false");
  EXPECT_EQ(Call({"RegistryDeleteKey", root}), "true");
  EXPECT_EQ(Call({"RegistryExists", root}), "false");
  EXPECT_EQ(Call({"RegistryDeleteKey", root}), "true");
  // Without a root, a path lies under HKEY_CLASSES_ROOT; FirstSubKey() walks that root.
  EXPECT_EQ(Call({"RegistryCreateKey", "Software\\X"}), "true");
  EXPECT_EQ(Call({"RegistryExists", "HKEY_CLASSES_ROOT\\Software\\X"}), "true");
  EXPECT_EQ(Call({"RegistryFirstSubKey"}), "HKEY_CLASSES_ROOT\\Software");
}

TEST(RegistryCli, SearchResumesThroughTheTree) {
  EXPECT_EQ(Call({"RegistryCreateKey", "HKEY_USERS\\S\\xABCx"}), "true");
  EXPECT_EQ(Call({"RegistrySetValue", "HKEY_USERS\\S", "Name", "x ABC y"}), "true");
  EXPECT_EQ(Call({"RegistrySetValue", "HKEY_USERS\\S\\xABCx", "Other", "abc"}), "true");
  EXPECT_EQ(Call({"RegistrySearch", "HKEY_USERS", "abc"}), "HKEY_USERS\tS\tName\tx ABC y");
  const std::string afterName = "e:HKEY_USERS\\tS\\tName\\tx ABC y";
  EXPECT_EQ(Call({"RegistrySearch", afterName, "abc"}), "HKEY_USERS\tS\\xABCx");
  // Whole words (16 + 8 + 4 + 1): the subkey name xABCx no longer matches.
  EXPECT_EQ(Call({"RegistrySearch", afterName, "abc", "i:29"}), "HKEY_USERS\tS\\xABCx\tOther\tabc");
}

TEST(RegistryCli, ErrorIds) {
  struct Case {
    std::vector<std::string> call;
    const char* result;
    const char* error;
  };
  const Case cases[] = {
      {{"RegistrySetValue", "HKEY_CURRENT_CONFIG\\X", "v", "x"}, "false", "error 80293"},
      {{"RegistrySetValue", "HKEY_LOCAL_MACHINE\\Nope", "i:1", "x"}, "false", "error 80293"},
      {{"RegistrySetValue", "HKEY_LOCAL_MACHINE", "v", "1", "REG_FLOAT"}, "false", "error 80295"},
      {{"RegistrySetValue", "HKEY_LOCAL_MACHINE", "v", "i:0", "i:4"}, "false", "(998)"},
      {{"RegistryDeleteKey", ""}, "false", "error 80292"},
      {{"RegistryCreateKey", "HKEY_DYN_DATA\\X"}, "false", "error 80293"},
      {{"RegistrySetValue", "", "v", "x"}, "false", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(CallWithError(c.call, c.error), c.result) << c.call[0];
  // The system code of a failed creation travels with 80291's successor 80293.
  const JsonValue r = tqtest::CallJson({}, "RegistryCreateKey", {"HKEY_CURRENT_CONFIG\\K"});
  EXPECT_EQ(Field(r, "error", "id").number, 80293);
  EXPECT_EQ(Field(r, "error", "level").number, 2);
}

}  // namespace
