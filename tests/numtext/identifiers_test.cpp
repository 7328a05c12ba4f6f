// Random identifiers: version and variant bits read back by libuuid's parser, GUID text forms,
// and distinct draws.
#include <gtest/gtest.h>
#include <uuid/uuid.h>

#include <cstring>
#include <regex>
#include <set>
#include <string>

#include "frame/text.h"
#include "numtext/random_identifiers.h"
#include "platform/gen_random.h"
#include "platform/modules.h"

namespace tq {
namespace {

TEST(NewUuid, VersionFourVariantOneByAnIndependentParser) {
  std::set<std::string> seen;
  for (int i = 0; i < 1000; ++i) {
    const Uuid id = NewUuid();
    uuid_t parsed;
    std::memcpy(parsed, id.data(), 16);
    char text[37];
    uuid_unparse_lower(parsed, text);
    uuid_t again;
    ASSERT_EQ(uuid_parse(text, again), 0);
    EXPECT_EQ(uuid_type(again), UUID_TYPE_DCE_RANDOM) << text;
    EXPECT_EQ(uuid_variant(again), UUID_VARIANT_DCE) << text;
    seen.insert(text);
  }
  EXPECT_EQ(seen.size(), 1000u);
}

TEST(RandomBytes, DrawsDifferAndCountsAreCut) {
  const auto a = RandomBuffer();
  const auto b = RandomBuffer();
  EXPECT_NE(a, b);
  uint8_t out[40];
  std::memset(out, 0xEE, sizeof out);
  RandomBytes(out, sizeof out);  // at most 32 bytes are written
  for (size_t i = 32; i < sizeof out; ++i) EXPECT_EQ(out[i], 0xEE);
  uint8_t none = 0x55;
  RandomBytes(&none, 0);
  EXPECT_EQ(none, 0x55);
}

TEST(GetGuid, TextForms) {
  const std::regex braced("\\{[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}\\}");
  const std::regex plain("[0-9a-f]{12}4[0-9a-f]{3}[89ab][0-9a-f]{15}");
  const std::regex random64("[0-9a-f]{64}");
  EXPECT_TRUE(std::regex_match(Utf16ToUtf8(GuidText(1)), braced)) << Utf16ToUtf8(GuidText(1));
  EXPECT_TRUE(std::regex_match(Utf16ToUtf8(GuidText(7)), braced));
  EXPECT_TRUE(std::regex_match(Utf16ToUtf8(GuidText(-1)), braced));
  EXPECT_TRUE(std::regex_match(Utf16ToUtf8(GuidText(0)), plain)) << Utf16ToUtf8(GuidText(0));
  EXPECT_TRUE(std::regex_match(Utf16ToUtf8(GuidText(2)), random64));
  EXPECT_NE(GuidText(1), GuidText(1));
}

TEST(CoCreateGuid, ReachedThroughTheModuleAndRefusesNull) {
  ce::RegisterOle32Module();
  ce::HMODULE module = ce::LoadLibraryW(u"OLE32");
  ASSERT_NE(module, nullptr);
  auto create = reinterpret_cast<ce::HRESULT (*)(ce::GUID*)>(
      ce::GetProcAddressW(module, u"CoCreateGuid"));
  ASSERT_NE(create, nullptr);
  ce::GUID guid{};
  EXPECT_EQ(create(&guid), ce::S_OK);
  EXPECT_EQ(guid.Data3 >> 12, 4);
  EXPECT_EQ(guid.Data4[0] >> 6, 2);
  EXPECT_LT(create(nullptr), 0);
  ce::FreeLibrary(module);
}

}  // namespace
}  // namespace tq
