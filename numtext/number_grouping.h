// The last steps of a printf-style number: the padding zero repair, the decimal separator,
// thousands grouping that keeps padded text at its width, and the no-break spaces shown as
// spaces.
#pragma once

#include <string>

#include "datetime/date_mask_settings.h"
#include "numtext/printf_format.h"

namespace tq {

// A sign, a padding '0' and a digit in a text longer than the width: the '0' goes.
void RemovePaddingZeroAfterSign(std::u16string& text, const FormatDirective& directive);

// Replaces the first '.' with the chosen decimal separator and groups the integer digits with
// the chosen thousands separator (device locale, the VM's current number format, or the
// format's own characters).
void PlaceSeparators(std::u16string& text, const FormatDirective& directive,
                     const RegionalSettings& settings);

// Inserts `separator` after every third integer digit, left of the position `end`.
void GroupThousands(std::u16string& text, size_t end, char16_t separator, int32_t width);

}  // namespace tq
