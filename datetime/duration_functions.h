// The workers of StringToDuration and DurationToString: the plain forms by form number, and
// the mask forms (unit masks for "+<digit>..." and the duration keywords, letter masks for
// any other mask, the millisecond form when there is no mask).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tq {

int64_t StringToDurationByForm(std::u16string_view text, int32_t form);
int64_t StringToDurationByMask(std::u16string_view text, std::u16string_view mask);
std::u16string DurationToStringByForm(int64_t duration, int32_t form);
std::u16string DurationToStringByMask(int64_t duration, std::u16string_view mask);

}  // namespace tq
