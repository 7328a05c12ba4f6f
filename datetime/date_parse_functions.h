// The workers of StringToDate and StringToTime: a displayed date, date-time or time read back
// through a mask (default "JJ/MM/AAAA" and "HH:MM:SS:CC") into the library's digit texts, and
// RFC 3339 timestamps read with "UseDateRFC3339" and "UseDateRFC3339UTC".
//
// Invariants: no error is raised; a text that does not fit its mask gives an empty result.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "datetime/date_mask_settings.h"

namespace tq {

inline constexpr std::u16string_view kDefaultDateParseMask = u"JJ/MM/AAAA";
inline constexpr std::u16string_view kDefaultTimeParseMask = u"HH:MM:SS:CC";

// `mask` nullopt: the default mask. The result is a date text, or a 17-digit date-time text
// when the mask reads a time (or for RFC 3339).
std::u16string StringToDate(std::u16string_view text, std::optional<std::u16string_view> mask,
                            RegionalSettings settings);
// The same written into `out` (whose storage a caller may reuse from call to call). The mask
// comes by reference: an optional view passed by value is copied through the stack at every
// call, and the entries make one call per VM call.
void StringToDate(std::u16string_view text, const std::optional<std::u16string_view>& mask,
                  RegionalSettings settings, std::u16string& out);
// The result is "HHMMSSCC".
std::u16string StringToTime(std::u16string_view text, std::optional<std::u16string_view> mask,
                            RegionalSettings settings);

// StringToDate's rewrite of lenient letters (jj/mm/aaaa, dd/mm/yyyy) in a caller's mask.
std::u16string RewriteParseMask(std::u16string_view mask, bool holdsTime);

}  // namespace tq
