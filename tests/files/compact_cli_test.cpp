// tq240 compact: result codes, the container, the plain-copy fallback; every archive the
// tests make is unpacked by lhasa.
#include <random>

#include "tests/files/cli_support.h"
#include "tests/files/lhasa_extract.h"

namespace {

class Compact : public tqtest::FreshDevice {
 protected:
  // Checks a container's header and trailer and extracts its packed data with lhasa.
  std::string ExtractWithLhasa(const std::string& container, const std::string& original) {
    const uint32_t packed = Word(container, 7);
    EXPECT_EQ(container.substr(0, 7), std::string("\x20-lh5-\0", 7));
    EXPECT_EQ(Word(container, 11), original.size());
    EXPECT_EQ(container.size(), 284 + packed + 2);
    EXPECT_EQ(container.substr(284 + packed), std::string("\0\0", 2));
    const std::optional<std::string> extracted =
        tqtest::ExtractWithLhasa(container.substr(284, packed), original);
    EXPECT_TRUE(extracted.has_value());
    return extracted.value_or("");
  }
  static uint32_t Word(const std::string& s, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(s[at + static_cast<size_t>(i)]);
    return v;
  }
};

TEST_F(Compact, PackableFilesBecomeContainersThatLhasaExtracts) {
  std::string text;
  for (int i = 0; i < 4000; ++i) text += "line " + std::to_string(i % 37) + " of the device log\r\n";
  Write("My Documents/log.txt", text);
  const tqtest::Tq240Result r =
      Run({"--json", "compact", "\\my documents\\LOG.txt", "\\Temp\\log.lzh"});
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, 26), "{\"result\": 0, \"progress\": ");
  EXPECT_NE(r.out.find("100]"), std::string::npos);
  const std::string container = Read("Temp/log.lzh");
  EXPECT_EQ(container.substr(15, 23), std::string("\\my documents\\LOG.txt\0\0", 23));
  EXPECT_EQ(ExtractWithLhasa(container, text), text);
  EXPECT_LT(container.size(), text.size() / 4);
}

TEST_F(Compact, UnpackableInputsAreCopiedAndFailuresHaveTheirCodes) {
  std::mt19937 random(1);
  std::string noise(50000, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  Write("noise.bin", noise);
  Write("empty.bin", "");
  Write("tiny.txt", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa");
  Write("old.lzh", std::string(100000, 'x'));
  const struct {
    const char* source;
    const char* destination;
    const char* result;
  } cases[] = {
      {"\\noise.bin", "\\noise.out", "0"},   {"\\empty.bin", "\\empty.out", "0"},
      {"\\tiny.txt", "\\tiny.out", "0"},     {"\\missing.bin", "\\missing.out", "1"},
      {"\\noise.bin", "\\no\\dir\\x", "2"},  {"\\tiny.txt", "\\old.lzh", "0"},
      {"\\..\\..\\etc\\passwd", "\\p", "1"}, {"\\noise.bin", "\\.device\\x", "2"},
      {"\\noise.bin", "\\NOISE.BIN", "2"},
  };
  for (const auto& c : cases) {
    const tqtest::Tq240Result r = Run({"compact", c.source, c.destination});
    EXPECT_EQ(r.out, std::string(c.result) + "\n") << c.source << " " << c.destination;
    EXPECT_EQ(r.exitStatus, std::string(c.result) == "0" ? 0 : 1);
  }
  EXPECT_EQ(Read("noise.out"), noise);
  EXPECT_EQ(Read("empty.out"), "");
  EXPECT_EQ(Read("tiny.out"), Read("tiny.txt"));
  EXPECT_EQ(Read("old.lzh"), Read("tiny.txt"));  // cut at the end of the copy
  EXPECT_FALSE(std::filesystem::exists(root + "/missing.out"));
  EXPECT_EQ(Run({"compact", "\\one"}).exitStatus, 2);
}

}  // namespace
