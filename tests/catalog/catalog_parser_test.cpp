// Line syntax of the catalog: what a good line turns into, and that every bad line is refused
// with its own line number.
#include "catalog_parser.h"

#include <gtest/gtest.h>

#include <string>

namespace catalog {
namespace {

TEST(CatalogParser, ReadsFunctionAndOverloadLines) {
  Catalog c = ParseCatalog(
      "# header\n"
      "\n"
      "38 Random attrA=0xc322a618 attrB=129   # trailing comment\n"
      "  31 () pending\n"
      "  8 (8) + * Draw\n"
      "\t0x8050 ( 0x4001 , 122 ) x\n"
      "341 - uses 256\n"
      "1282 - check=0x12345678\n");
  ASSERT_EQ(c.records.size(), 3u);
  const Record& r = c.records[0];
  EXPECT_EQ(r.line, 3);
  EXPECT_EQ(r.id, 38u);
  EXPECT_EQ(r.name, "Random");
  EXPECT_EQ(r.attributeA, 0xc322a618u);
  EXPECT_EQ(r.attributeB, 129u);
  ASSERT_EQ(r.overloads.size(), 3u);
  EXPECT_EQ(r.overloads[0].kind, EntryKind::kPending);
  EXPECT_TRUE(r.overloads[0].params.empty());
  EXPECT_EQ(r.overloads[1].flags, kFlagOpenEnded | kFlag256);
  EXPECT_EQ(r.overloads[1].kind, EntryKind::kNamed);
  EXPECT_EQ(r.overloads[1].entry, "Draw");
  EXPECT_EQ(r.overloads[2].line, 6);
  EXPECT_EQ(r.overloads[2].result, 0x8050u);
  EXPECT_EQ(r.overloads[2].params, (std::vector<uint32_t>{0x4001, 122}));
  EXPECT_EQ(r.overloads[2].kind, EntryKind::kNever);
  EXPECT_TRUE(c.records[1].name.empty());
  EXPECT_EQ(c.records[1].uses, 256u);
  EXPECT_EQ(c.records[1].attributeA, kDefaultAttributeA);
  EXPECT_EQ(c.records[1].attributeB, kDefaultAttributeB);
  EXPECT_EQ(c.records[2].checkValue, 0x12345678u);
}

struct BadLine {
  std::string text;
  int line;
  const char* message;  // a part of the error text
};

void PrintTo(const BadLine& bad, std::ostream* os) {
  *os << testing::PrintToString(bad.text);
}

class CatalogParserRejects : public testing::TestWithParam<BadLine> {};

TEST_P(CatalogParserRejects, NamesTheLine) {
  const BadLine& bad = GetParam();
  try {
    ParseCatalog(bad.text);
    FAIL() << "accepted: " << bad.text;
  } catch (const CatalogError& error) {
    EXPECT_EQ(error.line(), bad.line) << error.what();
    EXPECT_NE(std::string(error.what()).find(bad.message), std::string::npos) << error.what();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CatalogParserRejects,
    testing::Values(BadLine{"  8 () pending\n", 1, "before the first function"},
                    BadLine{"1\n", 1, "needs an id and a name"},
                    BadLine{"1x Name\n", 1, "not a number"},
                    BadLine{"-1 Name\n", 1, "not a number"},
                    BadLine{"4294967296 Name\n", 1, "does not fit 32 bits"},
                    BadLine{"1 9Name\n", 1, "not an identifier"},
                    BadLine{"1 A uses\n", 1, "needs a function id"},
                    BadLine{"1 A uses 2 uses 3\n", 1, "given twice"},
                    BadLine{"1 A attrA=1 attrA=2\n", 1, "given twice"},
                    BadLine{"1 A attrC=1\n", 1, "unknown field"},
                    BadLine{"1 A attrA=\n", 1, "missing attrA"},
                    BadLine{"1 A attrB=0x\n", 1, "not a number"},
                    BadLine{"# c\n1 A uses 2\n  8 () x\n", 3, "cannot have its own"},
                    BadLine{"1 A\n  8 pending\n", 2, "parameter list"},
                    BadLine{"1 A\n  8 )( pending\n", 2, "parameter list"},
                    BadLine{"1 A\n  () pending\n", 2, "missing result type"},
                    BadLine{"1 A\n  8 (8,) pending\n", 2, "missing parameter type"},
                    BadLine{"1 A\n  8 (8 9) pending\n", 2, "not a number"},
                    BadLine{"1 A\n  8 (0xg) pending\n", 2, "not a number"},
                    BadLine{"1 A\n  8 ()\n", 2, "missing entry"},
                    BadLine{"1 A\n  8 () + \n", 2, "missing entry"},
                    BadLine{"1 A\n  8 () * + x\n", 2, "unexpected \"+\""},
                    BadLine{"1 A\n  8 () x y\n", 2, "unexpected \"x\""},
                    BadLine{"1 A\n  8 () 2nd\n", 2, "neither x, pending nor a name"},
                    BadLine{"1 A\n  8 () pen-ding\n", 2, "neither x, pending nor a name"},
                    BadLine{std::string("1 A\n  8 (\0) x\n", 14), 2, "NUL"}));

TEST(CatalogParser, LimitsTheParameterCountToSevenBits) {
  std::string params = "8";
  for (int i = 1; i < 127; ++i) params += ", 8";
  EXPECT_EQ(ParseCatalog("1 A\n  0 (" + params + ") x\n").records[0].overloads[0].params.size(),
            127u);
  EXPECT_THROW(ParseCatalog("1 A\n  0 (" + params + ", 8) x\n"), CatalogError);
}

}  // namespace
}  // namespace catalog
