// The four symbol tables of the packed message texts. A packed text is a stream of base-40
// digits; digits 8 to 39 emit entry (digit - 8) of the table in effect. The tables are chosen
// for French, English and Spanish UTF-8 text: table 0 holds the space and the lower-case
// letters, table 1 the upper-case letters, table 2 the digits and punctuation, table 3 the
// bytes of the accented letters' UTF-8 forms.
//
// Invariants: every table has 32 entries; no entry is 0; in table 3 the entries 30 and 31 can
// never be emitted, because digits 38 and 39 are escapes when table 3 is in effect.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tq {

inline constexpr size_t kSymbolTableCount = 4;
inline constexpr size_t kSymbolTableSize = 32;
// Table 3 entries from this index on are unreachable (their digits are the escapes).
inline constexpr size_t kEscapeTable = 3;
inline constexpr size_t kFirstEscapeEntry = 30;

extern const uint8_t kMessageSymbolTables[kSymbolTableCount][kSymbolTableSize];

}  // namespace tq
