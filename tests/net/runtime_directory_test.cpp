// Where the runtime is found: the registered folder, the Windows folder's form, the storage
// card's form, and the fallbacks between them.
#include <gtest/gtest.h>

#include <filesystem>

#include "frame/runtime_directory.h"
#include "platform/registry.h"
#include "platform/utf8.h"
#include "tests/platform/device_fixture.h"

namespace {

class RuntimeDirectoryTest : public ce::testing::DeviceTest {
 protected:
  void Folder(const std::string& path) { std::filesystem::create_directories(root_ + path); }
  void Register(std::u16string_view path) {
    ce::HKEY key = nullptr;
    ASSERT_EQ(ce::RegCreateKeyExW(ce::HKEY_LOCAL_MACHINE, u"Software\\ORVANTE\\TARVEX Mobile\\24.0",
                                  0, nullptr, 0, ce::KEY_SET_VALUE, nullptr, &key, nullptr),
              0);
    const std::u16string data(path);
    ce::RegSetValueExW(key, u"CHEMIN", 0, ce::REG_SZ,
                       reinterpret_cast<const ce::BYTE*>(data.c_str()),
                       static_cast<ce::DWORD>((data.size() + 1) * 2));
    ce::RegCloseKey(key);
  }
  std::string Found() { return ce::Utf16ToUtf8(tq::RuntimeDirectory()); }
};

TEST_F(RuntimeDirectoryTest, EachFormInItsTurn) {
  Folder("/Windows");
  // Nothing installed and no card: the Windows folder's form, even though it does not exist.
  EXPECT_EQ(Found(), "\\Windows\\ORVANTE\\TX24.0\\");
  Folder("/storage card/WINDOWS");
  EXPECT_EQ(Found(), "\\storage card\\ORVANTE\\TX24.0\\");  // a card is there
  Folder("/Windows/ORVANTE/TX24.0");
  EXPECT_EQ(Found(), "\\Windows\\ORVANTE\\TX24.0\\");
  Register(u"\\Missing");
  EXPECT_EQ(Found(), "\\Windows\\ORVANTE\\TX24.0\\");  // a registered folder must exist
  Folder("/Apps/Runtime");
  Register(u"\\Apps\\Runtime");
  EXPECT_EQ(Found(), "\\Apps\\Runtime\\");
  Register(u"\\Apps\\Runtime\\");
  EXPECT_EQ(Found(), "\\Apps\\Runtime\\");
}

}  // namespace
