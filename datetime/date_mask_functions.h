// The workers of DateToString and TimeToString: a date, date-time or time text shown through
// a display mask, a special mask ("UseSystemMask", RFC 3339, relative duration), or the
// default layout when no mask is given.
//
// Invariants: errors are those of the date texts plus 80134 (a date shorter than 8
// characters) and 81842 (18 characters or more), raised on `errors`; the result is then
// empty. Missing mask fields never fail.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "datetime/date_mask_settings.h"

namespace tq {

struct ComponentProxy;

// `mask` nullopt: the one-parameter form (no mask).
std::u16string DateToString(std::u16string_view date, std::optional<std::u16string_view> mask,
                            RegionalSettings settings, ComponentProxy* errors);
// The same written into `out` (whose storage a caller may reuse from call to call). The mask
// comes by reference: an optional view passed by value is copied through the stack at every
// call, and the entries make one call per VM call.
void DateToString(std::u16string_view date, const std::optional<std::u16string_view>& mask,
                  RegionalSettings settings, ComponentProxy* errors, std::u16string& out);
std::u16string TimeToString(std::u16string_view time, std::optional<std::u16string_view> mask,
                            RegionalSettings settings, ComponentProxy* errors);

// TimeToString's replacement of "AP", "HH", "H:", "MM", "SS" and "CC" (each, when absent, in
// lower case) in a caller's mask.
std::u16string FillTimeMask(std::u16string_view mask, int hour, int minute, int second,
                            int centisecond);

}  // namespace tq
