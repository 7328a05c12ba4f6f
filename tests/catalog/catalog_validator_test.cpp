// Whole-catalog rules, on a small catalog with its own expectations, and on the library's
// catalog itself.
#include "catalog_validator.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "catalog_parser.h"

namespace catalog {
namespace {

// Three functions: 2 and 3 overloads in all (3 shares 1's), 2 of them never implemented.
constexpr const char* kSmall =
    "1 A\n"                  // 1
    "  8 () pending\n"       // 2
    "  8 (8) x\n"            // 3
    "2 B\n"                  // 4
    "  0 (122) + pending\n"  // 5
    "3 C uses 1\n"           // 6
    "1282 -\n";              // 7

CatalogExpectations SmallExpectations() {
  return CatalogExpectations{3, 1282, 5, 2, {{2, 0, kFlagOpenEnded}}};
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  size_t at = text.find(from);
  return at == std::string::npos ? std::string() : text.replace(at, from.size(), to);
}

struct Fault {
  const char* name;
  std::string text;
  CatalogExpectations expected;
  int line;
  const char* message;
};

void PrintTo(const Fault& fault, std::ostream* os) {
  *os << fault.name;
}

class CatalogValidatorRejects : public testing::TestWithParam<Fault> {};

TEST_P(CatalogValidatorRejects, WithLineAndReason) {
  const Fault& fault = GetParam();
  try {
    ValidateCatalog(ParseCatalog(fault.text), fault.expected);
    FAIL() << "accepted";
  } catch (const CatalogError& error) {
    EXPECT_EQ(error.line(), fault.line) << error.what();
    EXPECT_NE(std::string(error.what()).find(fault.message), std::string::npos) << error.what();
  }
}

CatalogExpectations With(void (*change)(CatalogExpectations&)) {
  CatalogExpectations e = SmallExpectations();
  change(e);
  return e;
}

const std::string kTwoUsesOne = Replace(
    Replace(kSmall, "2 B\n  0 (122) + pending\n", "2 B uses 1\n"), "3 C uses 1", "3 C uses 2");

INSTANTIATE_TEST_SUITE_P(
    Small, CatalogValidatorRejects,
    testing::Values(
        Fault{"DuplicateId", Replace(kSmall, "2 B", "1 B"), SmallExpectations(), 4,
              "duplicate id 1 (first at line 1)"},
        Fault{"OutOfOrder", Replace(kSmall, "3 C uses 1\n1282", "1282 -\n3 C uses 1\n1283"),
              SmallExpectations(), 7, "out of order"},
        Fault{"IdOutsideRange", Replace(kSmall, "3 C", "4 C"), SmallExpectations(), 6,
              "outside 1..3"},
        Fault{"IdZero", Replace(kSmall, "1 A", "0 A"), SmallExpectations(), 1, "outside 1..3"},
        Fault{"NoTypeMember", Replace(kSmall, "1282 -\n", ""), SmallExpectations(), 0,
              "must be the last record"},
        Fault{"TypeMemberWithOverloads", std::string(kSmall) + "  0 () x\n", SmallExpectations(), 7,
              "type member has no overloads"},
        Fault{"FunctionCount", kSmall, With([](CatalogExpectations& e) { e.functionCount = 4; }), 0,
              "has 3 functions; the listing has 4"},
        Fault{"UsesMissing", Replace(kSmall, "uses 1", "uses 9"), SmallExpectations(), 6,
              "target 9 does not exist"},
        Fault{"UsesItself", Replace(kSmall, "uses 1", "uses 3"), SmallExpectations(), 6,
              "uses its own overloads"},
        Fault{"UsesChain", kTwoUsesOne, SmallExpectations(), 5, "itself uses function 1"},
        Fault{"NoOverloads", Replace(kSmall, "  0 (122) + pending\n", ""), SmallExpectations(), 4,
              "function 2 has no overloads"},
        Fault{"FlagWhereNone", Replace(kSmall, "(8) x", "(8) + x"), SmallExpectations(), 3,
              "overload 2 of function 1 has flags +; the listing has none"},
        Fault{"FlagMissing", Replace(kSmall, "(122) + pending", "(122) pending"),
              SmallExpectations(), 5, "has flags none; the listing has +"},
        Fault{"WrongFlag", Replace(kSmall, "(122) + pending", "(122) * pending"),
              SmallExpectations(), 5, "has flags *; the listing has +"},
        Fault{"FlagSiteWithoutOverload", kSmall, With([](CatalogExpectations& e) {
                e.flagSites.push_back({1, 5, kFlag256});
              }),
              0, "function 1 has no overload 6 to carry flag *"},
        Fault{"OverloadTotal", kSmall, With([](CatalogExpectations& e) { e.overloadCount = 6; }), 0,
              "5 overloads in all; the listing has 6"},
        Fault{"NeverTotal", Replace(kSmall, "(8) x", "(8) pending"), SmallExpectations(), 0,
              "marks 0 overloads x; the listing marks 2"},
        Fault{"ErrorsOutOfOrder", Replace(kSmall, "2 B", "2 B errors=80291,80022"),
              SmallExpectations(), 4, "error id 80022 is repeated or out of order"},
        Fault{"ErrorRepeated", Replace(kSmall, "2 B", "2 B errors=80022,80022"),
              SmallExpectations(), 4, "error id 80022 is repeated"},
        Fault{"ErrorOutsideRange", Replace(kSmall, "2 B", "2 B errors=7319"), SmallExpectations(),
              4, "error id 7319 is outside 80001..81862"},
        Fault{"ErrorsOfANeverImplementedFunction",
              Replace(Replace(kSmall, "2 B", "2 B errors=80022"), "+ pending", "+ x"),
              With([](CatalogExpectations& e) { e.neverImplemented = 3; }), 4,
              "function 2 lists errors but is never implemented"}),
    [](const testing::TestParamInfo<Fault>& info) { return std::string(info.param.name); });

TEST(CatalogValidator, AcceptsTheSmallCatalogAndFindsOwners) {
  Catalog c = ParseCatalog(kSmall);
  EXPECT_NO_THROW(ValidateCatalog(c, SmallExpectations()));
  EXPECT_EQ(OwnerIndex(c, 0), 0u);
  EXPECT_EQ(OwnerIndex(c, 2), 0u);
}

std::string LibraryCatalog() {
  std::ifstream in(TQ_CATALOG_FILE);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(LibraryCatalog, PassesItsOwnChecks) {
  Catalog c = ParseCatalog(LibraryCatalog());
  ASSERT_NO_THROW(ValidateCatalog(c, LibraryExpectations()));
  ASSERT_EQ(c.records.size(), 530u);
  for (const Record& r : c.records) {
    EXPECT_EQ(r.attributeA, kDefaultAttributeA) << r.id;
    EXPECT_EQ(r.attributeB, kDefaultAttributeB) << r.id;
  }
}

TEST(LibraryCatalog, LosingOneOverloadOrOneMarkIsCaught) {
  const std::string text = LibraryCatalog();
  const std::string firstNever = "  0 (122, 122) x";
  ASSERT_NE(text.find(firstNever), std::string::npos);
  std::string unmarked = text;
  unmarked.replace(unmarked.find(firstNever), firstNever.size(), "  0 (122, 122) pending");
  EXPECT_THROW(ValidateCatalog(ParseCatalog(unmarked), LibraryExpectations()), CatalogError);
  std::string dropped = text;
  size_t at = dropped.find(firstNever);
  dropped.erase(at, dropped.find('\n', at) + 1 - at);
  EXPECT_THROW(ValidateCatalog(ParseCatalog(dropped), LibraryExpectations()), CatalogError);
}

}  // namespace
}  // namespace catalog
