// catalog_gen: reads functions/catalog.txt, checks it, and writes the library's function tables
// and the VM stand-in's function list.
//
//   catalog_gen [--summary] CATALOG OUTPUT_DIR
//
// Writes OUTPUT_DIR/function_tables.cpp, function_names.cpp and function_names.h; a file whose
// content would not change is left alone so that the build does not recompile it. A bad catalog
// gives "CATALOG:LINE: message" on stderr, exit status 1, and no output file is touched.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "catalog_emit.h"
#include "catalog_parser.h"
#include "catalog_signatures.h"
#include "catalog_validator.h"

namespace {

bool ReadFile(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  text = buffer.str();
  return !in.bad();
}

// Writes only when the content differs, through a temporary file renamed into place so that a
// failed write never leaves a truncated source behind.
bool WriteIfChanged(const std::string& path, const std::string& content) {
  std::string old;
  if (ReadFile(path, old) && old == content) return true;
  std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << content;
    out.close();
    if (!out) {
      std::remove(temporary.c_str());
      return false;
    }
  }
  return std::rename(temporary.c_str(), path.c_str()) == 0;
}

void PrintSummary(const catalog::Catalog& catalog) {
  size_t never = 0, pending = 0, named = 0;
  for (const catalog::Overload* o : catalog::OwnedOverloads(catalog)) {
    never += o->kind == catalog::EntryKind::kNever;
    pending += o->kind == catalog::EntryKind::kPending;
    named += o->kind == catalog::EntryKind::kNamed;
  }
  catalog::SignatureArea area = catalog::PackCatalogSignatures(catalog);
  std::cout << catalog.records.size() << " records, " << never + pending + named
            << " overload entries (" << never << " x, " << pending << " pending, " << named
            << " named), " << area.words.size() << " signature words, " << area.startingPoints
            << " starting points\n";
}

}  // namespace

int main(int argc, char** argv) {
  bool summary = argc > 1 && std::string(argv[1]) == "--summary";
  int first = summary ? 2 : 1;
  if (argc - first != 2) {
    std::cerr << "usage: catalog_gen [--summary] CATALOG OUTPUT_DIR\n";
    return 2;
  }
  const std::string catalogPath = argv[first];
  const std::string outputDir = argv[first + 1];

  std::string text;
  if (!ReadFile(catalogPath, text)) {
    std::cerr << catalogPath << ": cannot read the catalog\n";
    return 1;
  }
  catalog::Catalog parsed;
  try {
    parsed = catalog::ParseCatalog(text);
    catalog::ValidateCatalog(parsed, catalog::LibraryExpectations());
  } catch (const catalog::CatalogError& error) {
    std::cerr << catalogPath << ":";
    if (error.line() > 0) std::cerr << error.line() << ":";
    std::cerr << " " << error.what() << "\n";
    return 1;
  }

  const std::pair<std::string, std::string> outputs[] = {
      {"function_tables.cpp", catalog::EmitFunctionTables(parsed)},
      {"function_names.h", catalog::EmitFunctionNamesHeader()},
      {"function_names.cpp", catalog::EmitFunctionNames(parsed)},
  };
  for (const auto& [name, content] : outputs) {
    std::string path = outputDir + "/" + name;
    if (!WriteIfChanged(path, content)) {
      std::cerr << path << ": cannot write\n";
      return 1;
    }
  }
  if (summary) PrintSummary(parsed);
  return 0;
}
