// The device's registry calls over the store: handles, case, enumeration order, size rules
// and error codes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/registry.h"
#include "tests/platform/device_fixture.h"

namespace ce {
namespace {

class RegistryCalls : public testing::DeviceTest {
 protected:
  HKEY Create(HKEY root, const char16_t* path, DWORD* disposition = nullptr) {
    HKEY key = nullptr;
    EXPECT_EQ(
        RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, disposition),
        ERROR_SUCCESS);
    return key;
  }
  void SetString(HKEY key, const char16_t* name, std::u16string_view text) {
    ASSERT_EQ(RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                             static_cast<DWORD>((text.size() + 1) * 2)),
              ERROR_SUCCESS);
  }
};

TEST_F(RegistryCalls, CreateOpenAndCaseOfNames) {
  DWORD disposition = 0;
  HKEY key = Create(HKEY_CURRENT_USER, u"Software\\MixedCase\\Inner", &disposition);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  RegCloseKey(key);
  key = Create(HKEY_CURRENT_USER, u"SOFTWARE\\mixedcase\\INNER", &disposition);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  RegCloseKey(key);
  HKEY software = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"software", 0, KEY_READ, &software), 0);
  char16_t name[32];
  DWORD size = 32;
  ASSERT_EQ(RegEnumKeyExW(software, 0, name, &size, nullptr, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(std::u16string(name, size), u"MixedCase");  // kept as first written
  EXPECT_EQ(size, 9u);
  RegCloseKey(software);
  // Accented names fold too.
  RegCloseKey(Create(HKEY_CURRENT_USER, u"Élan"));
  HKEY accented = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"éLAN", 0, 0, &accented), ERROR_SUCCESS);
  RegCloseKey(accented);
}

TEST_F(RegistryCalls, ErrorCodes) {
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"A\\\\B", 0, 0, &key), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"A\\", 0, 0, &key), ERROR_INVALID_PARAMETER);
  const std::u16string tooLong(256, u'x');
  EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, tooLong.c_str(), 0, nullptr, 0, 0, nullptr, &key,
                            nullptr),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegQueryValueExW(reinterpret_cast<HKEY>(uintptr_t{0x1234}), u"x", nullptr, nullptr,
                             nullptr, nullptr),
            ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, nullptr, 0, 0, nullptr), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, u""), ERROR_ACCESS_DENIED);
}

TEST_F(RegistryCalls, ValuesKeepBytesTypesAndOrder) {
  HKEY key = Create(HKEY_LOCAL_MACHINE, u"Values");
  const std::string odd = std::string("\x00\x01\xff\x7f\x80", 5);
  struct Case {
    const char16_t* name;
    DWORD type;
    std::string bytes;
  };
  const std::vector<Case> cases = {
      {u"Zeta", REG_BINARY, odd},
      {u"alpha", 99, "opaque"},
      {u"", REG_SZ, std::string("d\0\0\0", 4)},
      {u"Empty", REG_NONE, ""},
      {u"Multi", REG_MULTI_SZ, std::string("a\0\0\0b\0\0\0\0\0", 10)},
  };
  for (const Case& c : cases)
    ASSERT_EQ(RegSetValueExW(key, c.name, 0, c.type, reinterpret_cast<const BYTE*>(c.bytes.data()),
                             static_cast<DWORD>(c.bytes.size())),
              0);
  // Overwriting keeps the enumeration position; names match without regard to case.
  ASSERT_EQ(
      RegSetValueExW(key, u"ZETA", 0, REG_BINARY, reinterpret_cast<const BYTE*>(odd.data()), 5), 0);
  for (DWORD i = 0; i < cases.size(); ++i) {
    char16_t name[16];
    DWORD nameSize = 16, type = 0, size = 64;
    BYTE data[64];
    ASSERT_EQ(RegEnumValueW(key, i, name, &nameSize, nullptr, &type, data, &size), 0);
    EXPECT_EQ(std::u16string(name, nameSize), cases[i].name);
    EXPECT_EQ(type, cases[i].type);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), size), cases[i].bytes);
  }
  char16_t name[16];
  DWORD nameSize = 16;
  EXPECT_EQ(RegEnumValueW(key, 5, name, &nameSize, nullptr, nullptr, nullptr, nullptr),
            ERROR_NO_MORE_ITEMS);
  DWORD subKeys = 9, values = 0, longestName = 0, longestData = 0;
  ASSERT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values,
                             &longestName, &longestData, nullptr, nullptr),
            0);
  EXPECT_EQ(subKeys, 0u);
  EXPECT_EQ(values, 5u);
  EXPECT_EQ(longestName, 5u);
  EXPECT_EQ(longestData, 10u);
  RegCloseKey(key);
}

TEST_F(RegistryCalls, SizeRules) {
  HKEY key = Create(HKEY_LOCAL_MACHINE, u"Sizes");
  SetString(key, u"Text", u"hello");
  DWORD type = 0, size = 0;
  ASSERT_EQ(RegQueryValueExW(key, u"text", nullptr, &type, nullptr, &size), 0);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(size, 12u);
  BYTE small[4] = {1, 2, 3, 4};
  size = 4;
  EXPECT_EQ(RegQueryValueExW(key, u"Text", nullptr, &type, small, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 12u);
  EXPECT_EQ(small[0], 1);  // nothing copied
  EXPECT_EQ(RegQueryValueExW(key, u"Nope", nullptr, &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
  // Name buffers count characters with the terminator.
  char16_t name[4];
  DWORD nameSize = 4;
  EXPECT_EQ(RegEnumValueW(key, 0, name, &nameSize, nullptr, nullptr, nullptr, nullptr),
            ERROR_MORE_DATA);
  nameSize = 5;
  char16_t fits[5];
  EXPECT_EQ(RegEnumValueW(key, 0, fits, &nameSize, nullptr, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(nameSize, 4u);
  EXPECT_EQ(fits[4], 0);
  RegCloseKey(key);
}

TEST_F(RegistryCalls, DeletingKeysAndValues) {
  RegCloseKey(Create(HKEY_LOCAL_MACHINE, u"Tree\\A\\B\\C"));
  HKEY b = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Tree\\A\\B", 0, 0, &b), 0);
  SetString(b, u"v", u"x");
  EXPECT_EQ(RegDeleteValueW(b, u"V"), 0);
  EXPECT_EQ(RegDeleteValueW(b, u"V"), ERROR_FILE_NOT_FOUND);
  // Deleting a key removes everything beneath it; open handles then see it gone.
  EXPECT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, u"tree\\a"), 0);
  EXPECT_EQ(RegSetValueExW(b, u"w", 0, REG_NONE, nullptr, 0), ERROR_KEY_DELETED);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(b, u"w", nullptr, nullptr, nullptr, &size), ERROR_KEY_DELETED);
  RegCloseKey(b);
  EXPECT_EQ(RegCloseKey(b), ERROR_INVALID_HANDLE);
  HKEY tree = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Tree", 0, 0, &tree), 0);
  char16_t name[8];
  DWORD nameSize = 8;
  EXPECT_EQ(RegEnumKeyExW(tree, 0, name, &nameSize, nullptr, nullptr, nullptr, nullptr),
            ERROR_NO_MORE_ITEMS);
  RegCloseKey(tree);
  EXPECT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, u"Tree\\Absent"), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryCalls, RootsAreSeparateAndFreshDeviceIsEmpty) {
  RegCloseKey(Create(HKEY_CLASSES_ROOT, u"Only"));
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_USERS, u"Only", 0, 0, &key), ERROR_FILE_NOT_FOUND);
  Configure("TQ_DEVICE", (workDir_ + "/other").c_str());
  EXPECT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, u"Only", 0, 0, &key), ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace ce
