// The generated message blocks against their sources, the lookup by language, and the block
// walk on hand-made blocks (flag bits, encodings, damaged records).
#include "frame/message_block.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "frame/error_definitions.h"
#include "frame/message_unpacker.h"
#include "tests/messages/message_sources.h"
#include "tools/message_source.h"

namespace tq {
namespace {

using test::kMessageSources;
using test::MessageSource;
using test::MessageSourceSet;

std::string UnpackRequest(const MessageRequest& request) {
  std::vector<uint8_t> out(UnpackCapacity(request.packedLength));
  size_t produced = 0;
  EXPECT_EQ(
      UnpackMessageText(request.packed, request.packedLength, out.data(), out.size(), &produced),
      kUnpackComplete);
  return std::string(out.begin(), out.begin() + static_cast<ptrdiff_t>(produced));
}

// The text of message `id` in `language`, in the encoding of its record.
std::string Lookup(uint32_t id, int32_t language) {
  MessageRequest request{id, language, nullptr, 0, 0, -1};
  if (!LookupMessage(&request)) return "<absent>";
  return UnpackRequest(request);
}

TEST(MessageBlocks, EveryTextUnpacksToItsSource) {
  for (const MessageSourceSet& set : kMessageSources) {
    MessageBlock& block = MessageBlockForLanguage(set.language);
    ASSERT_EQ(block.RecordCount(), set.count + 1) << "language " << set.language;
    for (size_t i = 0; i < set.count; ++i) {
      const MessageSource& source = set.messages[i];
      MessageRequest request{source.id, set.language, nullptr, 0, 0, -1};
      ASSERT_TRUE(LookupMessage(&request)) << source.id;
      const std::string text(source.text, source.length);
      EXPECT_EQ(request.encoding, source.utf16 ? kMessageEncodingUtf16 : kMessageEncodingUtf8);
      EXPECT_EQ(request.flags, source.flags) << source.id;
      EXPECT_EQ(UnpackRequest(request), source.utf16 ? tools::Utf8ToUtf16Le(text) : text)
          << "language " << set.language << ", message " << source.id;
    }
  }
}

TEST(MessageBlocks, MarkerFirstThenSortedIds) {
  for (const MessageSourceSet& set : kMessageSources) {
    MessageBlock& block = MessageBlockForLanguage(set.language);
    const uint8_t* marker = block.Record(0);
    ASSERT_NE(marker, nullptr);
    EXPECT_EQ(marker[2] | marker[3] << 8, kMessageMarkerId);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(marker + 7), 29),
              std::string("TARVEX RES BLOC UTF16 START \x01"));
    for (size_t i = 2; i < block.RecordCount(); ++i)
      EXPECT_LT(block.Record(i - 1)[2] | block.Record(i - 1)[3] << 8,
                block.Record(i)[2] | block.Record(i)[3] << 8);
  }
}

TEST(MessageBlocks, CoverEveryErrorMessage) {
  for (const ErrorDefinition& definition : gstErrorDef) {
    if (definition.messageId == 0) continue;
    for (int32_t language : {kLanguageFrench, kLanguageEnglish, kLanguageSpanish})
      EXPECT_NE(Lookup(definition.messageId, language), "<absent>")
          << "error " << definition.errorId << " in language " << language;
  }
}

TEST(MessageBlocks, LookupByLanguage) {
  EXPECT_EQ(Lookup(0x6E20, kLanguageFrench), "janvier");
  EXPECT_EQ(Lookup(0x6E20, kLanguageEnglish), "January");
  EXPECT_EQ(Lookup(0x6E20, kLanguageSpanish), "enero");
  for (int32_t other : {4, 0, -1, 11, 1036})
    EXPECT_EQ(Lookup(0x6E20, other), "January") << "language " << other;
  // Day names are stored as UTF-16LE.
  EXPECT_EQ(Lookup(0x6E32, kLanguageFrench), std::string("d\0i\0m\0a\0n\0c\0h\0e\0", 16));
}

TEST(MessageBlocks, AbsentIdsLeaveTheRequestAlone) {
  for (uint32_t id : {0u, 1u, uint32_t{kMessageMarkerId}, 0xFFFFu, 0x10000u + 0x6E20u}) {
    MessageRequest request{id, kLanguageEnglish, nullptr, 0, 0, -1};
    EXPECT_FALSE(LookupMessage(&request)) << id;
    EXPECT_EQ(request.packed, nullptr);
    EXPECT_EQ(request.flags, -1);
    EXPECT_EQ(MessageFlagBits(id, kLanguageEnglish), -1) << id;
  }
  EXPECT_EQ(MessageFlagBits(0x6E20, kLanguageSpanish), 0);
}

TEST(MessageBlocks, RelativeDurationPhrases) {
  // Phrase number -> the unit placeholders it must hold (years, months, weeks, days, hours,
  // minutes, seconds), in the order of the relative-duration table.
  const char* units[24] = {"Y", "",  "M", "", "W", "", "D", "", "h", "m", "s", "",
                           "s", "m", "h", "", "D", "", "W", "", "M", "",  "Y", ""};
  for (int32_t language : {kLanguageFrench, kLanguageEnglish, kLanguageSpanish}) {
    std::string text;
    const std::string utf16 = Lookup(0x6520, language);
    for (size_t i = 0; i + 1 < utf16.size(); i += 2) text += utf16[i];  // the phrases are ASCII
    std::vector<std::string> phrases;                                   // or Latin-1 here
    for (size_t start = 0;;) {
      const size_t end = text.find('\n', start);
      phrases.push_back(text.substr(start, end - start));
      if (end == std::string::npos) break;
      start = end + 1;
    }
    ASSERT_EQ(phrases.size(), 24u) << language;
    for (size_t p = 0; p < 24; ++p) {
      std::string found, rest = phrases[p];
      const struct {
        const char* placeholder;
        const char* unit;
      } marks[] = {{"RAA", "Y"}, {"RYY", "Y"}, {"RMM", "M"}, {"RWW", "W"}, {"RJJ", "D"},
                   {"RDD", "D"}, {"RHH", "h"}, {"Rmm", "m"}, {"RSS", "s"}};
      for (const auto& mark : marks)
        for (size_t at; (at = rest.find(mark.placeholder)) != std::string::npos;) {
          found += mark.unit;
          rest.erase(at, 3);
        }
      EXPECT_EQ(found, units[p]) << "language " << language << ", phrase " << p;
      // The phrase is then read as a date mask: no capital letter or "mm" may remain.
      for (char c : rest) EXPECT_FALSE(c >= 'A' && c <= 'Z') << phrases[p];
      EXPECT_EQ(rest.find("mm"), std::string::npos) << phrases[p];
    }
  }
}

// A hand-made block: the marker, then the records given, then the end record.
std::vector<uint8_t> Block(std::initializer_list<std::vector<uint8_t>> records) {
  std::vector<uint8_t> block = {9, 0, 0x01, 0x01, 0, 2, 0, 'M', 1};
  for (const auto& r : records) block.insert(block.end(), r.begin(), r.end());
  block.insert(block.end(), {0, 0});
  return block;
}

std::vector<uint8_t> Record(uint16_t id, uint8_t flags, const std::vector<uint8_t>& packed) {
  std::vector<uint8_t> r(7 + packed.size());
  r[0] = static_cast<uint8_t>(r.size());
  r[1] = static_cast<uint8_t>(r.size() >> 8);
  r[2] = static_cast<uint8_t>(id);
  r[3] = static_cast<uint8_t>(id >> 8);
  r[4] = flags;
  r[5] = static_cast<uint8_t>(packed.size());
  std::copy(packed.begin(), packed.end(), r.begin() + 7);
  return r;
}

TEST(MessageBlock, FlagBitsAndEncodingOfHandMadeRecords) {
  const std::vector<uint8_t> data =
      Block({Record(10, 0x01, {10}), Record(20, 0x42, {11}), Record(30, 0xC3, {12})});
  MessageBlock block(data.data(), data.size());
  EXPECT_EQ(block.RecordCount(), 4u);
  EXPECT_EQ(block.FlagBits(10), 1);
  EXPECT_EQ(block.FlagBits(20), 2);
  EXPECT_EQ(block.FlagBits(30), 3);
  EXPECT_EQ(block.FlagBits(0x0101), -1) << "the marker is not searched";
  MessageRequest request{30, 0, nullptr, 0, 0, -1};
  ASSERT_TRUE(block.Find(&request));
  EXPECT_EQ(request.encoding, kMessageEncodingUtf16);
  EXPECT_EQ(request.flags, 3);
  EXPECT_EQ(request.packedLength, 1u);
  EXPECT_EQ(request.packed[0], 12);
}

TEST(MessageBlock, WalkStopsAtADamagedRecord) {
  struct Case {
    const char* what;
    std::vector<uint8_t> damaged;
  } cases[] = {
      {"length below the header", {5, 0, 40, 0, 0, 0, 0}},
      {"packed text longer than the record", {8, 0, 40, 0, 0, 2, 0, 9}},
      {"record past the end of the block", {60, 0, 40, 0, 0, 1, 0, 9}},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> data = Block({Record(10, 0, {10}), c.damaged});
    data.resize(data.size() - 2);  // no end record: the damaged one is last
    MessageBlock block(data.data(), data.size());
    EXPECT_EQ(block.RecordCount(), 2u) << c.what;
    EXPECT_EQ(block.FlagBits(10), 0) << c.what;
    EXPECT_EQ(block.FlagBits(40), -1) << c.what;
  }
}

TEST(MessageBlock, IndexHoldsAtMost846Records) {
  std::vector<uint8_t> data = {9, 0, 0x01, 0x01, 0, 2, 0, 'M', 1};
  for (uint16_t id = 1000; id < 1900; ++id) {
    const std::vector<uint8_t> r = Record(id, 0, {10});
    data.insert(data.end(), r.begin(), r.end());
  }
  data.insert(data.end(), {0, 0});
  MessageBlock block(data.data(), data.size());
  EXPECT_EQ(block.RecordCount(), kMaxMessageRecords);
  EXPECT_EQ(block.FlagBits(1000 + kMaxMessageRecords - 2), 0);
  EXPECT_EQ(block.FlagBits(1000 + kMaxMessageRecords - 1), -1);
}

}  // namespace
}  // namespace tq
