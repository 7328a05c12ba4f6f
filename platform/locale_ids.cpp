// LCID <-> ICU locale names through ICU's own table.
#include "platform/locale_ids.h"

#include <unicode/uloc.h>

#include "platform/device_config.h"

namespace ce {
namespace {

std::optional<std::string> IcuNameForTag(const std::string& tag) {
  char name[ULOC_FULLNAME_CAPACITY];
  UErrorCode status = U_ZERO_ERROR;
  int32_t parsed = 0;
  uloc_forLanguageTag(tag.c_str(), name, sizeof name, &parsed, &status);
  if (U_FAILURE(status) || parsed != static_cast<int32_t>(tag.size()) || name[0] == '\0') {
    return std::nullopt;
  }
  return std::string(name);
}

}  // namespace

std::string DeviceIcuLocale() {
  std::string tag = CurrentDeviceConfig()->locale;
  for (char& c : tag) {
    if (c == '_') c = '-';
  }
  return IcuNameForTag(tag).value_or(IcuNameForTag(kDefaultLocale).value_or("fr_FR"));
}

std::optional<std::string> IcuLocaleForLcid(LCID lcid) {
  const LANGID lang = LANGIDFROMLCID(lcid);
  if (lcid == LOCALE_USER_DEFAULT || lcid == LOCALE_SYSTEM_DEFAULT || lcid == LOCALE_NEUTRAL ||
      lang == MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT) ||
      lang == MAKELANGID(LANG_NEUTRAL, SUBLANG_SYS_DEFAULT)) {
    return DeviceIcuLocale();
  }
  if (lcid == LOCALE_INVARIANT) return std::string();
  char name[ULOC_FULLNAME_CAPACITY];
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length = uloc_getLocaleForLCID(lcid, name, sizeof name, &status);
  if (U_FAILURE(status) || length <= 0) return std::nullopt;
  return std::string(name, static_cast<size_t>(length));
}

LCID GetUserDefaultLCID() {
  const uint32_t lcid = uloc_getLCID(DeviceIcuLocale().c_str());
  return lcid != 0 ? lcid : 0x040C;  // fr-FR when ICU has no identifier for the locale
}

LCID GetSystemDefaultLCID() {
  return GetUserDefaultLCID();
}

LANGID GetUserDefaultLangID() {
  return LANGIDFROMLCID(GetUserDefaultLCID());
}

LANGID GetSystemDefaultLangID() {
  return GetUserDefaultLangID();
}

}  // namespace ce
