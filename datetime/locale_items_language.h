// SystemLanguage: the device's language as one of the VM's language numbers, found from the
// preferred UI language name, else the default locale name's LCID, else the default LCID.
//
// Invariants: a language name outside the table gives -1; an LCID whose language the table
// does not know gives 0. The three sources are looked up in the device's "kernel32.dll" at
// run time; their absence is normal and moves on to the next source.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/windows_types.h"

namespace tq {

// The number of a language name by case-sensitive prefix ("fr-FR" -> 5, exactly "en-AU" -> 4);
// -1 when no prefix of the table matches.
int32_t LanguageNumberOfName(std::u16string_view name);
// The number of an LCID's primary language and sublanguage; 0 when not in the table.
int32_t LanguageNumberOfLcid(ce::LCID lcid);

// The three sources, replaceable for tests. A null procedure is an absent source.
struct LanguageSources {
  using PreferredLanguages = ce::BOOL (*)(ce::DWORD, ce::ULONG*, char16_t*, ce::ULONG*);
  using DefaultLocaleName = int (*)(char16_t*, int);
  using NameToLcid = ce::LCID (*)(const char16_t*, ce::DWORD);
  using DefaultLcid = ce::LCID (*)();
  PreferredLanguages preferredLanguages = nullptr;
  DefaultLocaleName defaultLocaleName = nullptr;
  NameToLcid nameToLcid = nullptr;
  DefaultLcid defaultLcid = nullptr;
};

// The sources the device offers.
LanguageSources DeviceLanguageSources();

int32_t SystemLanguage(const LanguageSources& sources);

}  // namespace tq
