// The language-name calls of newer systems, which the device offers as procedures of its
// "kernel32.dll" module.
#include "platform/locale_names.h"

#include <unicode/uloc.h>

#include <algorithm>
#include <mutex>
#include <optional>
#include <string>

#include "platform/last_error.h"
#include "platform/locale_data.h"
#include "platform/locale_ids.h"
#include "platform/modules.h"
#include "platform/utf8.h"

namespace ce {

BOOL GetUserPreferredUILanguages(DWORD flags, ULONG* languageCount, LPWSTR buffer,
                                 ULONG* bufferSize) {
  if (languageCount == nullptr || bufferSize == nullptr ||
      (flags & ~(MUI_LANGUAGE_ID | MUI_LANGUAGE_NAME)) != 0 ||
      flags == (MUI_LANGUAGE_ID | MUI_LANGUAGE_NAME)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::u16string name;
  if (flags & MUI_LANGUAGE_ID) {
    static const char16_t kHex[] = u"0123456789ABCDEF";
    const LANGID lang = LANGIDFROMLCID(GetUserDefaultLCID());
    for (int shift = 12; shift >= 0; shift -= 4) name += kHex[(lang >> shift) & 0xF];
  } else {
    name = DataForIcuLocale(DeviceIcuLocale())->tag;
  }
  const ULONG needed = static_cast<ULONG>(name.size()) + 2;  // name, its end, the list's end
  *languageCount = 1;
  if (buffer == nullptr) {
    *bufferSize = needed;
    return TRUE;
  }
  if (*bufferSize < needed) {
    *bufferSize = needed;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::copy(name.begin(), name.end(), buffer);
  buffer[name.size()] = u'\0';
  buffer[name.size() + 1] = u'\0';
  *bufferSize = needed;
  return TRUE;
}

int GetSystemDefaultLocaleName(LPWSTR name, int nameCount) {
  return CopyLocaleText(DataForIcuLocale(DeviceIcuLocale())->tag, name, nameCount);
}

LCID LocaleNameToLCID(LPCWSTR name, DWORD flags) {
  std::optional<std::string> tag = name ? Utf16ToUtf8Strict(name) : std::nullopt;
  if (!tag || tag->empty() || flags != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  char icu[ULOC_FULLNAME_CAPACITY];
  UErrorCode status = U_ZERO_ERROR;
  int32_t parsed = 0;
  uloc_forLanguageTag(tag->c_str(), icu, sizeof icu, &parsed, &status);
  const uint32_t lcid =
      U_SUCCESS(status) && parsed == static_cast<int32_t>(tag->size()) ? uloc_getLCID(icu) : 0;
  if (lcid == 0) SetLastError(ERROR_INVALID_PARAMETER);
  return lcid;
}

void RegisterLocaleModule() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterBuiltinDeviceModule(
        u"kernel32.dll",
        {{"GetUserPreferredUILanguages", 0,
          reinterpret_cast<FARPROC>(&GetUserPreferredUILanguages)},
         {"GetSystemDefaultLocaleName", 0, reinterpret_cast<FARPROC>(&GetSystemDefaultLocaleName)},
         {"LocaleNameToLCID", 0, reinterpret_cast<FARPROC>(&LocaleNameToLCID)}});
  });
}

}  // namespace ce
