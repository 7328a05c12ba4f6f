// The build-time packer: round trips through the unpacker for awkward texts, the size it
// reaches on ordinary text, and the source checks with their file:line reports.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "frame/message_unpacker.h"
#include "tools/message_packer.h"
#include "tools/message_source.h"

namespace tq::tools {
namespace {

std::vector<uint8_t> Bytes(const std::string& s) {
  return {s.begin(), s.end()};
}

// Packs, unpacks with the loader's capacity, and returns the packed size (-1 on a mismatch).
int RoundTrip(const std::vector<uint8_t>& text) {
  const std::vector<uint8_t> packed = PackMessageText(text);
  std::vector<uint8_t> out(UnpackCapacity(packed.size()));
  size_t produced = 0;
  const int result =
      UnpackMessageText(packed.data(), packed.size(), out.data(), out.size(), &produced);
  if (result != kUnpackComplete || produced != text.size() ||
      !std::equal(text.begin(), text.end(), out.begin()))
    return -1;
  return static_cast<int>(packed.size());
}

TEST(MessagePacker, RoundTripsAwkwardTexts) {
  std::vector<uint8_t> everyByte;
  for (int b = 0; b < 256; ++b) everyByte.push_back(static_cast<uint8_t>(b));
  const std::vector<uint8_t> longRun(600, 0x01);  // more than one counted escape
  std::vector<uint8_t> utf16;
  for (char c : std::string("Lundi")) utf16.insert(utf16.end(), {static_cast<uint8_t>(c), 0});
  const std::vector<std::vector<uint8_t>> texts = {
      {},
      Bytes("a"),
      Bytes("ab"),
      Bytes("abcd"),
      Bytes("Z"),
      Bytes("\xC3\xA9"),
      Bytes("r\xC3\xA9sum\xC3\xA9 \xC2\xAB %1 \xC2\xBB"),
      Bytes("%1!I64d!\n%2!u!"),
      Bytes("\xC3\x91\xC3\x9A"),  // table 3's unreachable entries
      everyByte,
      longRun,
      utf16};
  for (const auto& text : texts) EXPECT_GE(RoundTrip(text), 0) << text.size() << " bytes";
}

TEST(MessagePacker, RoundTripsRandomTexts) {
  std::mt19937 random(20240305);
  const std::string common = " aeinorstuLMS0123.,'%!\xC3\xA9\xC3\xA8";
  for (int i = 0; i < 300; ++i) {
    std::vector<uint8_t> text(random() % 120);
    for (uint8_t& b : text)
      b = random() % 4 == 0 ? static_cast<uint8_t>(random())
                            : static_cast<uint8_t>(common[random() % common.size()]);
    ASSERT_GE(RoundTrip(text), 0) << "case " << i;
  }
}

TEST(MessagePacker, PacksPlainTextDensely) {
  EXPECT_EQ(RoundTrip(Bytes("the file cannot be read")), 16);  // 23 symbols: 8 pairs
  EXPECT_EQ(RoundTrip(Bytes("a")), 1);                         // one lone digit
  EXPECT_EQ(RoundTrip(Bytes("ab")), 2);                        // padded pair
  EXPECT_EQ(RoundTrip({}), 0);
}

TEST(MessageSource, ParsesKeysOptionsAndEscapes) {
  std::vector<std::string> errors;
  const MessageSource source = ParseMessageSource(
      "x.txt",
      "\xEF\xBB\xBF# comment\n\n0x6520/u16\tone\\ntwo\\\\\r\n812/f3\ttab\\there\n9/u16/f1\t\n",
      errors);
  ASSERT_TRUE(errors.empty()) << errors[0];
  ASSERT_EQ(source.messages.size(), 3u);
  EXPECT_EQ(source.messages[0].id, 0x6520u);
  EXPECT_TRUE(source.messages[0].utf16);
  EXPECT_EQ(source.messages[0].text, "one\ntwo\\");
  EXPECT_EQ(source.messages[0].line, 3);
  EXPECT_EQ(source.messages[1].flags, 3);
  EXPECT_EQ(source.messages[1].text, "tab\there");
  EXPECT_EQ(source.messages[2].flags, 1);
  EXPECT_EQ(source.messages[2].text, "");
  EXPECT_EQ(Utf8ToUtf16Le("A\xC3\xA9\xF0\x9F\x98\x80"),
            std::string("A\0\xE9\0\x3D\xD8\x00\xDE", 8));
}

TEST(MessageSource, ReportsEachProblemWithItsLine) {
  const struct {
    const char* line;
    const char* report;
  } cases[] = {
      {"12 no tab", "x.txt:2: no TAB"},
      {"abc\ttext", "x.txt:2: bad message id \"abc\""},
      {"0\ttext", "x.txt:2: bad message id \"0\""},
      {"65536\ttext", "x.txt:2: bad message id"},
      {"0x101\ttext", "x.txt:2: message id 0x0101 is reserved"},
      {"12/f4\ttext", "x.txt:2: bad or repeated option \"/f4\""},
      {"12/u16/u16\ttext", "x.txt:2: bad or repeated option \"/u16\""},
      {"12/\ttext", "x.txt:2: bad or repeated option \"/\""},
      {"12\tbad \\q escape", "x.txt:2: unknown escape \\q"},
      {"12\tends with \\", "x.txt:2: a backslash ends the text"},
      {"12\traw\ttab", "x.txt:2: control character"},
      {"12\t\xC3\x28", "x.txt:2: the text is not valid UTF-8"},
      {"12\t\xC0\xAF", "x.txt:2: the text is not valid UTF-8"},      // overlong
      {"12\t\xED\xA0\x80", "x.txt:2: the text is not valid UTF-8"},  // surrogate
      {"7\tagain", "x.txt:2: message 7 (0x0007) already defined on line 1"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> errors;
    ParseMessageSource("x.txt", std::string("7\tfirst\n") + c.line + "\n", errors);
    ASSERT_EQ(errors.size(), 1u) << c.line;
    EXPECT_EQ(errors[0].rfind(c.report, 0), 0u) << errors[0];
  }
}

TEST(MessageSource, LanguagesMustAgreeOnIdsAndInsertionPoints) {
  std::vector<std::string> errors;
  const std::vector<MessageSource> sources = {
      ParseMessageSource("dir/fr.txt", "1\tun %1\n2\tdeux %1!d! %2 100%%\n3\ttrois\n", errors),
      ParseMessageSource("dir/en.txt", "1\tone %1\n2\t%2 two %1!u!\n", errors)};
  ASSERT_TRUE(errors.empty());
  CheckLanguagesAgree(sources, errors);
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0], "dir/fr.txt:3: message 3 (0x0003) is missing from en.txt");
  EXPECT_EQ(errors[1],
            "dir/en.txt:2: message 2 (0x0002) has the insertion points %1!u! %2 but fr.txt has "
            "%1!d! %2");
  EXPECT_EQ(InsertionPoints("%% %12!I64d! %n %3"), (std::vector<std::string>{"%12!I64d!", "%3"}));
}

}  // namespace
}  // namespace tq::tools
