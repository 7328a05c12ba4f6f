// Code pages that we do not implement ourselves, through ICU converters.
//
// Invariants: a page is available when ICU opens a converter for its name (the Windows name
// "windows-N" first, then the aliases "cpN" and "ibm-N", and the standard names of the ISO,
// KOI8, EUC, GB18030 and UTF-7 pages). Conversions are stateless between calls: each call
// opens its own converter.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/windows_types.h"

namespace ce {

bool IcuHasCodePage(UINT codePage);

// Bytes -> UTF-16. Ill-formed or unmapped input is replaced as the converter defines
// (U+FFFD or U+001A) and `invalid` is set. nullopt when the page is unknown.
std::optional<std::u16string> IcuDecode(UINT codePage, std::string_view bytes, bool* invalid);

// UTF-16 -> bytes. Characters without a mapping become `defaultChar` (the converter's own
// substitute when empty or not usable) and `usedDefault` is set. nullopt when the page is
// unknown.
std::optional<std::string> IcuEncode(UINT codePage, std::u16string_view text,
                                     std::string_view defaultChar, bool* usedDefault);

}  // namespace ce
