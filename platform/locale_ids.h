// Locale identifiers: the device locale as an LCID and as an ICU locale name, and the
// translation of the LCIDs that calls receive.
//
// Invariants: LOCALE_USER_DEFAULT, LOCALE_SYSTEM_DEFAULT and LOCALE_NEUTRAL (and the default
// language identifiers) stand for the device locale (TQ_LOCALE); LOCALE_INVARIANT for ICU's
// root locale. Other LCIDs are translated by ICU's table of Windows locale identifiers.
#pragma once

#include <optional>
#include <string>

#include "platform/windows_types.h"

namespace ce {

// The ICU locale name ("fr_FR") of the device locale.
std::string DeviceIcuLocale();

// The ICU locale name for an LCID; nullopt for an LCID that names no known locale.
std::optional<std::string> IcuLocaleForLcid(LCID lcid);

LCID GetUserDefaultLCID();
LCID GetSystemDefaultLCID();
LANGID GetUserDefaultLangID();
LANGID GetSystemDefaultLangID();

}  // namespace ce
