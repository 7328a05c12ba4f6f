// Whole-catalog checks. They run in file order so that the first fault reported is the first
// one a reader meets; counts that do not add up are reported against the whole file.
#include "catalog_validator.h"

#include <map>
#include <string>

namespace catalog {
namespace {

std::string FlagText(uint32_t flags) {
  std::string text;
  if (flags & kFlagOpenEnded) text += "+";
  if (flags & kFlag256) text += "*";
  return text.empty() ? "none" : text;
}

void CheckIds(const Catalog& catalog, const CatalogExpectations& expected) {
  std::map<uint32_t, int> firstLine;
  uint32_t previous = 0;
  for (const Record& r : catalog.records) {
    auto seen = firstLine.find(r.id);
    if (seen != firstLine.end()) {
      throw CatalogError(r.line, "duplicate id " + std::to_string(r.id) + " (first at line " +
                                     std::to_string(seen->second) + ")");
    }
    firstLine.emplace(r.id, r.line);
    if (r.id != expected.typeMemberId && (r.id == 0 || r.id > expected.functionCount)) {
      throw CatalogError(r.line, "id " + std::to_string(r.id) + " is outside 1.." +
                                     std::to_string(expected.functionCount) +
                                     " and is not the type member " +
                                     std::to_string(expected.typeMemberId));
    }
    if (r.id <= previous) {
      throw CatalogError(r.line, "id " + std::to_string(r.id) + " is out of order (after " +
                                     std::to_string(previous) + ")");
    }
    previous = r.id;
  }
  if (catalog.records.empty() || catalog.records.back().id != expected.typeMemberId) {
    throw CatalogError(
        0, "the type member " + std::to_string(expected.typeMemberId) + " must be the last record");
  }
  size_t functions = catalog.records.size() - 1;
  if (functions != expected.functionCount) {
    throw CatalogError(0, "the catalog has " + std::to_string(functions) +
                              " functions; the listing has " +
                              std::to_string(expected.functionCount));
  }
  const Record& member = catalog.records.back();
  if (!member.overloads.empty() || member.uses) {
    throw CatalogError(member.line, "the type member has no overloads");
  }
}

void CheckOverloadLists(const Catalog& catalog) {
  for (size_t i = 0; i + 1 < catalog.records.size(); ++i) {
    const Record& r = catalog.records[i];
    if (r.uses) {
      const std::string target = std::to_string(*r.uses);
      if (*r.uses == r.id) throw CatalogError(r.line, "function uses its own overloads");
      const Record* owner = nullptr;
      for (size_t j = 0; j + 1 < catalog.records.size(); ++j) {
        if (catalog.records[j].id == *r.uses) owner = &catalog.records[j];
      }
      if (owner == nullptr)
        throw CatalogError(r.line, "\"uses\" target " + target + " does not exist");
      if (owner->uses) {
        throw CatalogError(r.line, "\"uses\" target " + target + " itself uses function " +
                                       std::to_string(*owner->uses));
      }
    } else if (r.overloads.empty()) {
      throw CatalogError(r.line, "function " + std::to_string(r.id) + " has no overloads");
    }
    if (r.overloads.size() > 255) throw CatalogError(r.line, "more than 255 overloads");
  }
}

void CheckFlags(const Catalog& catalog, const CatalogExpectations& expected) {
  std::map<std::pair<uint32_t, size_t>, uint32_t> wanted;
  for (const FlagSite& site : expected.flagSites) wanted[{site.id, site.overload}] |= site.flag;
  for (const Record& r : catalog.records) {
    for (size_t k = 0; k < r.overloads.size(); ++k) {
      auto it = wanted.find({r.id, k});
      uint32_t want = it == wanted.end() ? 0 : it->second;
      if (it != wanted.end()) wanted.erase(it);
      if (r.overloads[k].flags != want) {
        throw CatalogError(r.overloads[k].line, "overload " + std::to_string(k + 1) +
                                                    " of function " + std::to_string(r.id) +
                                                    " has flags " + FlagText(r.overloads[k].flags) +
                                                    "; the listing has " + FlagText(want));
      }
    }
  }
  if (!wanted.empty()) {
    auto [key, flags] = *wanted.begin();
    throw CatalogError(0, "function " + std::to_string(key.first) + " has no overload " +
                              std::to_string(key.second + 1) + " to carry flag " + FlagText(flags));
  }
}

void CheckTotals(const Catalog& catalog, const CatalogExpectations& expected) {
  size_t overloads = 0, never = 0;
  for (size_t i = 0; i < catalog.records.size(); ++i) {
    const Record& owner = catalog.records[OwnerIndex(catalog, i)];
    overloads += owner.overloads.size();
    for (const Overload& o : owner.overloads) never += o.kind == EntryKind::kNever ? 1 : 0;
  }
  if (overloads != expected.overloadCount) {
    throw CatalogError(0, "the catalog has " + std::to_string(overloads) +
                              " overloads in all; the listing has " +
                              std::to_string(expected.overloadCount));
  }
  if (never != expected.neverImplemented) {
    throw CatalogError(0, "the catalog marks " + std::to_string(never) +
                              " overloads x; the listing marks " +
                              std::to_string(expected.neverImplemented));
  }
}

// The error ids of a record: ascending, each once, within the ids errors can have, and none on
// a function the library never implements.
void CheckErrors(const Catalog& catalog) {
  for (size_t i = 0; i < catalog.records.size(); ++i) {
    const Record& r = catalog.records[i];
    if (r.errors.empty()) continue;
    for (size_t e = 0; e < r.errors.size(); ++e) {
      const std::string id = std::to_string(r.errors[e]);
      if (r.errors[e] < kFirstErrorId || r.errors[e] > kLastErrorId)
        throw CatalogError(r.line, "error id " + id + " is outside " +
                                       std::to_string(kFirstErrorId) + ".." +
                                       std::to_string(kLastErrorId));
      if (e > 0 && r.errors[e] <= r.errors[e - 1])
        throw CatalogError(r.line, "error id " + id + " is repeated or out of order");
    }
    bool implemented = false;
    for (const Overload& o : catalog.records[OwnerIndex(catalog, i)].overloads)
      implemented |= o.kind != EntryKind::kNever;
    if (!implemented)
      throw CatalogError(
          r.line, "function " + std::to_string(r.id) + " lists errors but is never implemented");
  }
}

}  // namespace

CatalogExpectations LibraryExpectations() {
  return CatalogExpectations{
      529,
      1282,
      1160,
      576,
      {{220, 0, kFlagOpenEnded},
       {220, 1, kFlagOpenEnded},
       {221, 0, kFlagOpenEnded},
       {221, 1, kFlagOpenEnded},
       {286, 0, kFlagOpenEnded},
       {309, 0, kFlagOpenEnded},
       {451, 0, kFlagOpenEnded},
       {430, 0, kFlag256}},
  };
}

void ValidateCatalog(const Catalog& catalog, const CatalogExpectations& expected) {
  CheckIds(catalog, expected);
  CheckOverloadLists(catalog);
  CheckFlags(catalog, expected);
  CheckTotals(catalog, expected);
  CheckErrors(catalog);
}

size_t OwnerIndex(const Catalog& catalog, size_t i) {
  const Record& r = catalog.records[i];
  if (!r.uses) return i;
  for (size_t j = 0; j < catalog.records.size(); ++j) {
    if (catalog.records[j].id == *r.uses) return j;
  }
  return i;
}

}  // namespace catalog
