// The shared signature area: tails are reused, and every overload of the library's catalog
// reads back its own signature from the packed words.
#include "catalog_signatures.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "catalog_parser.h"

namespace catalog {
namespace {

using Words = std::vector<uint32_t>;

TEST(SignaturePacking, ReusesEqualRunsAndTails) {
  // The tails of 0 8 122 0 serve 8 122 0, 122 0 and 0; 121 0 is stored once for both uses.
  std::vector<Words> runs = {{121, 0}, {0, 8, 122, 0}, {8, 122, 0}, {121, 0}, {122, 0}, {0}};
  SignatureArea area = PackSignatures(runs);
  EXPECT_EQ(area.words, (Words{0, 8, 122, 0, 121, 0}));
  EXPECT_EQ(area.offsets, (std::vector<size_t>{4, 0, 1, 4, 2, 3}));
  EXPECT_EQ(area.startingPoints, 5u);
}

TEST(SignaturePacking, ShorterRunFirstStillShares) {
  SignatureArea area = PackSignatures({{1, 0}, {9, 1, 0}});
  EXPECT_EQ(area.words, (Words{9, 1, 0}));
  EXPECT_EQ(area.offsets, (std::vector<size_t>{1, 0}));
}

TEST(SignaturePacking, LibraryCatalogReadsBack) {
  std::ifstream in(TQ_CATALOG_FILE);
  std::ostringstream text;
  text << in.rdbuf();
  Catalog c = ParseCatalog(text.str());
  std::vector<const Overload*> owned = OwnedOverloads(c);
  SignatureArea area = PackCatalogSignatures(c);
  ASSERT_EQ(area.offsets.size(), owned.size());
  ASSERT_EQ(owned.size(), 1152u);  // 1160 less the 8 overloads that records share
  size_t stored = 0;
  for (size_t k = 0; k < owned.size(); ++k) {
    Words run = SignatureRun(*owned[k]);
    stored += run.size();
    ASSERT_LE(area.offsets[k] + run.size(), area.words.size());
    Words read(area.words.begin() + static_cast<ptrdiff_t>(area.offsets[k]),
               area.words.begin() + static_cast<ptrdiff_t>(area.offsets[k] + run.size()));
    EXPECT_EQ(read, run) << "overload at line " << owned[k]->line;
  }
  EXPECT_LT(area.words.size(), stored / 2);
}

}  // namespace
}  // namespace catalog
