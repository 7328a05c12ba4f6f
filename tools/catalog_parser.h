// Reads the text of functions/catalog.txt into a Catalog. The parser checks the syntax of each
// line on its own (numbers, names, entries, flags); the rules that span records are
// ValidateCatalog's.
#pragma once

#include <string_view>

#include "catalog_model.h"

namespace catalog {

// Throws CatalogError with the offending line for any line it cannot read.
Catalog ParseCatalog(std::string_view text);

}  // namespace catalog
