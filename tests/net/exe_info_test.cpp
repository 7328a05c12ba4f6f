// ExeInfo on program files written by the test: a small PE image with a version resource
// (fixed version, translation, string tables), DOS and 16-bit images, and damaged ones.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "frame/exe_info.h"
#include "platform/utf8.h"
#include "tests/platform/device_fixture.h"

namespace {

using Bytes = std::string;

void Put16(Bytes& b, size_t at, uint16_t v) {
  if (b.size() < at + 2) b.resize(at + 2);
  b[at] = static_cast<char>(v & 0xff);
  b[at + 1] = static_cast<char>(v >> 8);
}
void Put32(Bytes& b, size_t at, uint32_t v) {
  Put16(b, at, static_cast<uint16_t>(v & 0xffff));
  Put16(b, at + 2, static_cast<uint16_t>(v >> 16));
}
void Pad4(Bytes& b) { b.resize((b.size() + 3) & ~size_t{3}, '\0'); }
Bytes Utf16z(std::u16string_view text) {
  Bytes b;
  for (char16_t c : text) Put16(b, b.size(), c);
  Put16(b, b.size(), 0);
  return b;
}

// One version block: header, key, value, children.
Bytes Block(std::u16string_view key, const Bytes& value, uint16_t valueLength, uint16_t type,
            const std::vector<Bytes>& children = {}) {
  Bytes b(6, '\0');
  b += Utf16z(key);
  Pad4(b);
  b += value;
  Pad4(b);
  for (const Bytes& child : children) {
    b += child;
    Pad4(b);
  }
  Put16(b, 0, static_cast<uint16_t>(b.size()));
  Put16(b, 2, valueLength);
  Put16(b, 4, type);
  return b;
}
Bytes Text(std::u16string_view name, std::u16string_view value) {
  return Block(name, Utf16z(value), static_cast<uint16_t>(value.size() + 1), 1);
}

Bytes VersionInfo(const std::vector<Bytes>& tables, uint32_t translation) {
  Bytes fixed;
  Put32(fixed, 0, 0xFEEF04BD);
  Put32(fixed, 4, 0x10000);
  Put32(fixed, 8, (2u << 16) | 5);   // 2.5
  Put32(fixed, 12, (31u << 16) | 7);  // .31.7
  fixed.resize(52, '\0');
  Bytes pair;
  Put32(pair, 0, translation);
  return Block(u"VS_VERSION_INFO", fixed, 52, 0,
               {Block(u"StringFileInfo", {}, 0, 1, tables),
                Block(u"VarFileInfo", {}, 0, 1, {Block(u"Translation", pair, 4, 0)})});
}

// A PE image (PE32 or PE32+) whose resource section holds `version`.
Bytes PeImage(const Bytes& version, bool pe64) {
  Bytes b(0x400, '\0');
  Put16(b, 0, 0x5A4D);
  Put16(b, 24, 0x40);
  Put32(b, 60, 0x80);
  Put32(b, 0x80, 0x00004550);
  Put16(b, 0x80 + 6, 1);
  const uint16_t optionalSize = pe64 ? 240 : 224;
  Put16(b, 0x80 + 20, optionalSize);
  const size_t optional = 0x80 + 24;
  Put16(b, optional, pe64 ? 0x20b : 0x10b);
  const size_t directories = optional + (pe64 ? 112 : 96);
  Bytes resources(0x58, '\0');
  Put16(resources, 14, 1);
  Put32(resources, 16, 16);
  Put32(resources, 20, 0x80000000u | 0x18);
  Put16(resources, 0x18 + 14, 1);
  Put32(resources, 0x18 + 16, 1);
  Put32(resources, 0x18 + 20, 0x80000000u | 0x30);
  Put16(resources, 0x30 + 14, 1);
  Put32(resources, 0x30 + 16, 0x409);
  Put32(resources, 0x30 + 20, 0x48);
  Put32(resources, 0x48, 0x1000 + 0x58);
  Put32(resources, 0x4C, static_cast<uint32_t>(version.size()));
  resources += version;
  Put32(b, directories + 16, 0x1000);
  Put32(b, directories + 20, static_cast<uint32_t>(resources.size()));
  const size_t section = optional + optionalSize;
  b.replace(section, 5, ".rsrc");
  Put32(b, section + 8, static_cast<uint32_t>(resources.size()));
  Put32(b, section + 12, 0x1000);
  Put32(b, section + 16, static_cast<uint32_t>(resources.size()));
  Put32(b, section + 20, 0x400);
  b.resize(0x400);
  return b + resources;
}

class ExeInfoTest : public ce::testing::DeviceTest {
 protected:
  void Write(const std::string& name, const Bytes& bytes) {
    std::filesystem::create_directories(root_);
    std::ofstream(root_ + "/" + name, std::ios::binary) << bytes;
  }
  std::string Info(const char16_t* key, const char16_t* file) {
    return ce::Utf16ToUtf8(tq::ExeInfo(key, file));
  }
};

TEST_F(ExeInfoTest, EveryKeyOfAProgramWithAVersionResource) {
  const std::u16string longValue(250, u'v');
  const Bytes french = Block(u"040C04B0", {}, 0, 1,
                             {Text(u"CompanyName", u"Orvante SA"), Text(u"FileVersion", u"2.5 fr"),
                              Text(u"ProductName", u"Boutique"), Text(u"Comments", longValue)});
  const Bytes english = Block(u"040904E4", {}, 0, 1,
                              {Text(u"FileVersion", u"2.5 en"), Text(u"LegalCopyright", u"(c) O"),
                               Text(u"FileDescription", u"Shop")});
  Write("Shop.exe", PeImage(VersionInfo({english, french}, 0x04B0040C), false));
  const char16_t* shop = u"\\Shop.exe";
  const struct {
    const char16_t* key;
    std::string expected;
  } cases[] = {
      {u"NOM", "\\Shop.exe"},           {u"name", "\\Shop.exe"},
      {u"REPERTOIRE", ""},              {u"VERSION", "2.5 fr"},  // the file's own language first
      {u"COPYRIGHT", "(c) O"},          // then the US English table
      {u"Description", "Shop"},         {u"SOCIéTé", "Orvante SA"},
      {u"COMPANY", "Orvante SA"},       {u"VERSION4N", "2.5.31.7"},
      {u"MODE", "32"},                  {u"LANCEMENT", ""},
      {u"BOOT", ""},                    {u"ProductName", "Boutique"},
      {u"Comments", std::string(198, 'v')},  {u"Unknown", ""},
      {u"A23456789012345678901234567890123456789012345678901", ""},  // 51 characters
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Info(c.key, shop), c.expected) << ce::Utf16ToUtf8(c.key);
  }
  Write("Shop64.exe", PeImage(VersionInfo({english}, 0x04E40409), true));
  EXPECT_EQ(Info(u"MODE", u"\\Shop64.exe"), "64");
  EXPECT_EQ(Info(u"VERSION", u"\\Shop64.exe"), "2.5 en");
}

TEST_F(ExeInfoTest, DirectoriesOfPaths) {
  EXPECT_EQ(Info(u"DIRECTORY", u"\\Program Files\\Shop\\Shop.exe"), "\\Program Files\\Shop");
  EXPECT_EQ(Info(u"REPERTOIRE", u"C:Shop.exe"), "C:");
  EXPECT_EQ(Info(u"REPERTOIRE", u"Shop.exe"), "");
}

TEST_F(ExeInfoTest, KindsOfImagesAndDamagedFiles) {
  Bytes dos(64, '\0');
  Put16(dos, 0, 0x5A4D);
  Put16(dos, 24, 0x1C);
  Write("dos.exe", dos);
  EXPECT_EQ(Info(u"MODE", u"\\dos.exe"), "DOS");
  Bytes ne(64 + 248, '\0');
  Put16(ne, 0, 0x5A4D);
  Put16(ne, 24, 64);
  Put32(ne, 60, 64);
  Put16(ne, 64, 17742);
  Write("ne.exe", ne);
  EXPECT_EQ(Info(u"MODE", u"\\ne.exe"), "16");
  Put16(ne, 64, 0x1234);
  Write("odd.exe", ne);
  EXPECT_EQ(Info(u"MODE", u"\\odd.exe"), "");
  Write("text.txt", "just text, long enough to hold sixty-four bytes of anything at all...");
  EXPECT_EQ(Info(u"MODE", u"\\text.txt"), "");
  EXPECT_EQ(Info(u"VERSION", u"\\text.txt"), "");
  EXPECT_EQ(Info(u"MODE", u"\\missing.exe"), "");
  // A resource section cut short: no version information, no crash.
  Bytes cut = PeImage(VersionInfo({}, 0x04E40409), false);
  cut.resize(cut.size() - 40);
  Write("cut.exe", cut);
  EXPECT_EQ(Info(u"VERSION4N", u"\\cut.exe"), "");
}

}  // namespace
