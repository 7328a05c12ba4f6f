// The rules that span the whole catalog: ids unique and ascending with the type member last,
// "uses" targets that exist, flags exactly where the VM expects them, and the totals of the
// function listing. The expectations are data so that tests can check small catalogs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "catalog_model.h"

namespace catalog {

// An overload that carries a flag: function id, 0-based overload index, flag bit.
struct FlagSite {
  uint32_t id;
  size_t overload;
  uint32_t flag;
};

struct CatalogExpectations {
  size_t functionCount;             // records with ids 1..functionCount
  uint32_t typeMemberId;            // the last record, without overloads
  size_t overloadCount;             // over all functions, a shared list counted for each user
  size_t neverImplemented;          // overloads marked x, counted the same way
  std::vector<FlagSite> flagSites;  // every overload that carries + or *, and nothing else
};

// The library's function listing: 529 functions and the type member 1282, 1160 overloads of
// which 576 are never implemented; flag 128 on both open-ended overloads of 220 and 221 and on
// the single overloads of 286, 309 and 451; flag 256 on the overload of 430.
CatalogExpectations LibraryExpectations();

// Throws CatalogError at the first broken rule.
void ValidateCatalog(const Catalog& catalog, const CatalogExpectations& expected);

// Index (in catalog.records) of the record that owns the overload list record i uses: i itself,
// or the index of its "uses" target. Valid after ValidateCatalog.
size_t OwnerIndex(const Catalog& catalog, size_t i);

}  // namespace catalog
