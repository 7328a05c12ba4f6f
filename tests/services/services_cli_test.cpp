// Colours, angles and binary differences as the VM sees them, through tq240: a case or two
// per entry for the wiring, every error id; the unit tests hold the engines' cases.
#include <gtest/gtest.h>

#include "tests/support/tq240_process.h"

namespace {

using tqhost::JsonValue;
using tqtest::Field;
using tqtest::ScriptRecords;
using tqtest::CallJson;
using tqtest::CallPlain;

TEST(PrintedResults, ColoursBothWaysAndAnglesFormattedAndRead) {
  struct Case {
    std::vector<std::string> call;
    const char* result;
  };
  const Case cases[] = {
      {{"ColourFromHSL", "240", "100", "50"}, "16711680"},
      {{"ColourSaturation", "255"}, "100"},
      {{"ColourLightness", "255"}, "50"},
      {{"ColourHue", "16711680"}, "240"},
      {{"310", "120", "100", "25"}, "32512"},
      {{"AngleToDMS", "45.5"}, "045°30'00''"},
      {{"DMSToAngle", "45°30'15''"}, "45.50416666666667"},
      {{"DMSToAngle", "10°20’30’’"}, "10.341666666666667"},
      {{"DMSToAngle", "e:10\\u00b020\\u275830\\u2758\\u2758"}, "10"},  // not an apostrophe
  };
  for (const Case& c : cases)
    EXPECT_EQ(CallPlain(c.call), c.result) << c.call[0] << " " << c.call[1];
}

TEST(Colours, OutOfRangeComponentsRaiseTheirErrorAndGiveBlack) {
  struct Case {
    std::vector<std::string> args;
    int64_t error;
  };
  const Case cases[] = {{{"361", "0", "0"}, 80202}, {{"0", "101", "101"}, 80204},
                        {{"0", "100", "101"}, 80203}};
  for (const Case& c : cases) {
    const JsonValue r = CallJson({}, "ColourFromHSL", c.args);
    EXPECT_EQ(Field(r, "error", "id").integer, c.error) << c.args[0];
    EXPECT_EQ(Field(r, "result", "type").integer, 8);
    EXPECT_EQ(Field(r, "result", "value").integer, 0);
  }
  const JsonValue english = CallJson({"--lang", "9"}, "ColourFromHSL", {"361", "0", "0"});
  EXPECT_EQ(Field(english, "error", "message").text, "The hue must be between 0 and 360.");
}

TEST(Angles, UnreadableTextsRaiseTheirErrors) {
  struct Case {
    const char* text;
    int64_t error;
    const char* message;  // English
  };
  const Case cases[] = {
      {"45°75'", 80130, "Invalid minutes: 75 (below 60 expected)."},
      {"45°30'61.5''", 80129, "Invalid seconds: 61 (below 60 expected)."},
      {"45", 81836, "Invalid angle: degrees (°), minutes (') and seconds ('') expected."},
      {"n:", 81836, nullptr},
  };
  for (const Case& c : cases) {
    const JsonValue r = CallJson({"--lang", "9"}, "DMSToAngle", {c.text});
    EXPECT_EQ(Field(r, "error", "id").integer, c.error) << c.text;
    if (c.message != nullptr) {
      EXPECT_EQ(Field(r, "error", "message").text, c.message);
    }
    EXPECT_EQ(Field(r, "result", "type").integer, 12);
    EXPECT_EQ(Field(r, "result", "value").number, 0);
  }
}

TEST(BufferDiff, CreatedDifferenceRebuildsTheNewBuffer) {
  const std::string old = "x:" + std::string(400, 'a') + "0102030405" + std::string(400, 'b');
  const std::string neu = "x:" + std::string(400, 'a') + "01020304aa05" + std::string(400, 'b');
  const std::vector<JsonValue> records = ScriptRecords("d = BufferDiffCreate " + old + " " + neu +
                                                       "\nBufferDiffApply " + old + " $d\n");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(Field(records[0], "error", "id").integer, 0);
  EXPECT_EQ(Field(records[0], "result", "type").integer, 28);
  const std::string dif = Field(records[0], "result", "value").find("hex")->text;
  EXPECT_EQ(dif.substr(0, 16), "444946001c000000");  // magic, header length
  EXPECT_EQ(Field(records[1], "error", "id").integer, 0);
  EXPECT_EQ(Field(records[1], "result", "value").find("hex")->text, neu.substr(2));
}

// The smallest difference: old 01 02 03, new 01 02 03 04. Header (magic, lengths, counts,
// the two CRCs, block size), one block header, one operation inserting [0, 4), the literal.
const std::string kSmallestDif =
    "x:444946001c00000001000000010000001d80bc55cdfb3cb680000000010000000400000038000000240000"
    "00000000000100000000000000000000000000000003000000000000000400000004000000010000000000"
    "000004000000"
    "01020304";

TEST(BufferDiff, SmallestDifferenceByteForByte) {
  EXPECT_EQ("x:" + CallPlain({"BufferDiffCreate", "x:010203", "x:01020304"}), kSmallestDif);
  EXPECT_EQ(CallPlain({"BufferDiffApply", "x:010203", kSmallestDif}), "01020304");
}

TEST(BufferDiff, StatusesAsErrors) {
  const std::string& dif = kSmallestDif;
  struct Case {
    const char* function;
    std::vector<std::string> args;
    int64_t error;
  };
  const Case cases[] = {
      {"BufferDiffCreate", {"x:0102", "x:0102"}, 81656},
      {"BufferDiffCreate", {"x:", "x:0102"}, 81655},
      {"BufferDiffCreate",
       {"x:" + std::string(2000, '5'), "x:" + std::string(1200, 'e'), "2", "10"},
       81654},
      {"BufferDiffCreate",
       {"x:" + std::string(2000, '5'), "x:" + std::string(1200, 'e'), "2"},
       81654},  // the default limit is 50 %
      {"BufferDiffCreate",
       {"x:" + std::string(2000, '5'), "x:" + std::string(1200, 'e'), "0", "10"},
       0},
      {"BufferDiffCreate", {"x:0102", "x:01", "4"}, 0},  // archive mode: single block
      {"BufferDiffApply", {"x:010203", dif}, 0},
      {"BufferDiffApply", {"x:010204", dif}, 81652},
      {"BufferDiffApply", {"x:010203", "x:44494600"}, 81651},
      {"BufferDiffApply", {"x:010203", dif.substr(0, dif.size() - 2)}, 81651},
      {"BufferDiffApply", {"x:010203", dif.substr(0, dif.size() - 2) + "05"}, 81653},
      {"BufferDiffApply", {"x:010203", "x:"}, 81651},
  };
  for (const Case& c : cases) {
    const JsonValue r = CallJson({}, c.function, c.args);
    EXPECT_EQ(Field(r, "error", "id").integer, c.error) << c.function << " " << c.args[1];
    EXPECT_EQ(Field(r, "result", "type").integer, 28);
    if (c.error != 0) {
      EXPECT_EQ(Field(r, "result", "value").find("hex")->text, "");
    }
  }
}

TEST(BufferDiff, TextArgumentsAreBuffersOfTheirCharacters) {
  // A plain word lands on a buffer parameter as its UTF-16 text.
  const std::vector<JsonValue> records =
      ScriptRecords("d = BufferDiffCreate abcdef abcdeg\nBufferDiffApply abcdef $d\n");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(Field(records[1], "result", "value").find("hex")->text, "610062006300640065006700");
}

}  // namespace
