// The shared signature area. A signature is the run: result type code, one code per parameter,
// then 0. Runs are packed so that a run equal to the tail of a longer one points into it
// instead of being stored again; the tables and the host list both index the packed words.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "catalog_model.h"

namespace catalog {

struct SignatureArea {
  std::vector<uint32_t> words;  // the packed runs
  std::vector<size_t> offsets;  // for each run given, where it starts in words
  size_t startingPoints = 0;    // distinct values among offsets
};

// Packs runs (each ends with its 0 word). Longer runs are placed first so that shorter ones
// can reuse their tails; the result does not depend on the order of equal-length runs beyond
// their first appearance.
SignatureArea PackSignatures(const std::vector<std::vector<uint32_t>>& runs);

// The run of one overload: result, parameters, 0.
std::vector<uint32_t> SignatureRun(const Overload& overload);

// The overloads that own storage (records without "uses"), in catalog order, and the packed
// area of their runs: offsets[k] belongs to the k-th of them.
std::vector<const Overload*> OwnedOverloads(const Catalog& catalog);
SignatureArea PackCatalogSignatures(const Catalog& catalog);

}  // namespace catalog
