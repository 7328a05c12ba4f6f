// Writers of the generated sources. Each returns the whole text of one file; the catalog must
// have passed ValidateCatalog. The output depends only on the catalog, so an unchanged catalog
// regenerates byte-identical files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalog_model.h"

namespace catalog {

// function_tables.cpp: tq::kFunctionRecords and its counts, the OverloadEntry list, the shared
// signature area, tq::kTypeMemberAttribute and a declaration of every named entry.
std::string EmitFunctionTables(const Catalog& catalog);

// function_names.h and function_names.cpp: the VM stand-in's list of ids, names, signatures
// and implementation marks (namespace tqhost).
std::string EmitFunctionNamesHeader();
std::string EmitFunctionNames(const Catalog& catalog);

// Shared formatting.
std::string Hex(uint32_t value);
// The signature words, twelve a line, each line led by a comment with its first offset.
std::string WordLines(const std::vector<uint32_t>& words);
// "38 Random" or "35 -": how the generated files label a record in comments.
std::string RecordLabel(const Record& record);

}  // namespace catalog
