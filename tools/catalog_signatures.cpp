// Tail-sharing packer of the signature area. Every suffix of a placed run is remembered, so a
// later (not longer) run that equals such a suffix costs no words.
#include "catalog_signatures.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <set>

namespace catalog {

SignatureArea PackSignatures(const std::vector<std::vector<uint32_t>>& runs) {
  std::vector<size_t> order(runs.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return runs[a].size() > runs[b].size(); });
  SignatureArea area;
  area.offsets.resize(runs.size());
  std::map<std::vector<uint32_t>, size_t> placedSuffixes;
  for (size_t index : order) {
    const std::vector<uint32_t>& run = runs[index];
    auto found = placedSuffixes.find(run);
    if (found != placedSuffixes.end()) {
      area.offsets[index] = found->second;
      continue;
    }
    size_t start = area.words.size();
    area.words.insert(area.words.end(), run.begin(), run.end());
    area.offsets[index] = start;
    for (size_t k = 0; k < run.size(); ++k) {
      placedSuffixes.emplace(
          std::vector<uint32_t>(run.begin() + static_cast<ptrdiff_t>(k), run.end()), start + k);
    }
  }
  area.startingPoints = std::set<size_t>(area.offsets.begin(), area.offsets.end()).size();
  return area;
}

std::vector<uint32_t> SignatureRun(const Overload& overload) {
  std::vector<uint32_t> run;
  run.reserve(overload.params.size() + 2);
  run.push_back(overload.result);
  run.insert(run.end(), overload.params.begin(), overload.params.end());
  run.push_back(0);
  return run;
}

std::vector<const Overload*> OwnedOverloads(const Catalog& catalog) {
  std::vector<const Overload*> owned;
  for (const Record& r : catalog.records) {
    if (r.uses) continue;
    for (const Overload& o : r.overloads) owned.push_back(&o);
  }
  return owned;
}

SignatureArea PackCatalogSignatures(const Catalog& catalog) {
  std::vector<std::vector<uint32_t>> runs;
  for (const Overload* o : OwnedOverloads(catalog)) runs.push_back(SignatureRun(*o));
  return PackSignatures(runs);
}

}  // namespace catalog
