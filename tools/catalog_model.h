// The function catalog as the generator holds it after reading functions/catalog.txt: one
// Record per function id with its overloads, and the error that every stage of the generator
// raises for a bad catalog.
//
// Invariants after ParseCatalog: every number fits 32 bits, every parameter list has at most
// kMaxParameters entries, a named entry is a C++ identifier, and a record that uses another
// record's overloads has none of its own. ValidateCatalog adds the table-wide rules (ids,
// counts, flags).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace catalog {

// Attribute words that no record states: every record gets these unless its line overrides
// them (attrA=, attrB=). The VM interprets them; the library passes them on.
inline constexpr uint32_t kDefaultAttributeA = 0xc1010000u;
inline constexpr uint32_t kDefaultAttributeB = 0x1081u;

// Overload flags, as the VM reads them next to the parameter count.
inline constexpr uint32_t kFlagOpenEnded = 128;  // "+" in the catalog
inline constexpr uint32_t kFlag256 = 256;        // "*" in the catalog

// The parameter count shares its word with the flags: bits 0..6.
inline constexpr size_t kMaxParameters = 127;

// The range of the library's error ids ("errors=").
inline constexpr uint32_t kFirstErrorId = 80001;
inline constexpr uint32_t kLastErrorId = 81862;

enum class EntryKind {
  kNever,    // "x": declared for the VM, never implemented by the library
  kPending,  // implemented by the library, entry not written yet
  kNamed,    // tq::entries::<entry>
};

struct Overload {
  int line = 0;  // 1-based line in the catalog
  uint32_t result = 0;
  std::vector<uint32_t> params;
  uint32_t flags = 0;  // kFlagOpenEnded | kFlag256
  EntryKind kind = EntryKind::kPending;
  std::string entry;  // the entry's name when kind is kNamed
};

struct Record {
  int line = 0;
  uint32_t id = 0;
  std::string name;              // empty for "-"
  std::optional<uint32_t> uses;  // the id whose overload list this record shares
  uint32_t attributeA = kDefaultAttributeA;
  uint32_t attributeB = kDefaultAttributeB;
  uint32_t checkValue = 0;
  std::vector<uint32_t> errors;  // the error ids the function can raise ("errors=")
  std::vector<Overload> overloads;
};

struct Catalog {
  std::vector<Record> records;  // in file order
  int lineCount = 0;
};

// A fault in the catalog. line is the 1-based catalog line, or 0 when the fault concerns the
// whole file (a count that does not add up, a missing record).
class CatalogError : public std::runtime_error {
 public:
  CatalogError(int line, const std::string& message) : std::runtime_error(message), line_(line) {}
  int line() const { return line_; }

 private:
  int line_;
};

}  // namespace catalog
