// The device language as a VM language number.
#include "datetime/locale_items_language.h"

#include "platform/locale_ids.h"
#include "platform/locale_info.h"
#include "platform/modules.h"

namespace tq {
namespace {

constexpr ce::DWORD kMuiLanguageName = 0x8;
constexpr int kLocaleNameCapacity = 512;

struct NamedLanguage {
  std::u16string_view prefix;
  int32_t number;
};

// In match order: the first prefix that matches wins.
constexpr NamedLanguage kLanguageNames[] = {
    {u"fr", 5},  {u"en", 3},  {u"es", 7},  {u"de", 1},  {u"it", 11}, {u"ja", 31}, {u"pt", 14},
    {u"zh", 23}, {u"ar", 19}, {u"bg", 21}, {u"ko", 24}, {u"hr", 25}, {u"sh", 25}, {u"da", 6},
    {u"et", 26}, {u"fi", 8},  {u"el", 27}, {u"iw", 28}, {u"hu", 29}, {u"is", 10}, {u"lv", 32},
    {u"lt", 33}, {u"nl", 12}, {u"no", 13}, {u"pl", 34}, {u"ro", 35}, {u"ru", 16}, {u"sk", 37},
    {u"sl", 38}, {u"sv", 17}, {u"cs", 18}, {u"th", 39}, {u"tr", 40}, {u"vi", 41}, {u"be", 44},
    {u"mk", 47}, {u"af", 42}, {u"bn", 43}, {u"ca", 45}, {u"id", 46}, {u"pa", 48}, {u"sd", 49},
    {u"hi", 50},
};

// Primary language identifiers whose number does not depend on the sublanguage.
struct PrimaryLanguage {
  uint16_t primary;
  int32_t number;
};
constexpr PrimaryLanguage kPrimaryLanguages[] = {
    {1, 19},  {2, 21},  {3, 45},  {5, 18},  {6, 6},   {7, 1},   {8, 27},  {10, 7},
    {11, 8},  {13, 28}, {14, 29}, {15, 10}, {16, 11}, {17, 31}, {18, 24}, {19, 12},
    {20, 13}, {21, 34}, {24, 35}, {25, 16}, {27, 37}, {29, 17}, {30, 39}, {31, 40},
    {33, 46}, {35, 44}, {36, 38}, {37, 26}, {38, 32}, {39, 33}, {42, 41}, {47, 47},
    {54, 42}, {57, 50}, {69, 43}, {70, 48}, {89, 49},
};

template <typename F>
F Procedure(ce::HMODULE module, const char* name) {
  return module ? reinterpret_cast<F>(ce::GetProcAddress(module, name)) : nullptr;
}

}  // namespace

int32_t LanguageNumberOfName(std::u16string_view name) {
  if (name == u"en-AU") return 4;
  for (const NamedLanguage& l : kLanguageNames)
    if (name.starts_with(l.prefix)) return l.number;
  return -1;
}

int32_t LanguageNumberOfLcid(ce::LCID lcid) {
  const uint16_t primary = lcid & 0x3FF;
  const uint16_t sub = (lcid >> 10) & 0x3F;
  switch (primary) {
    case 4:
      return sub == 1 ? 22 : 23;
    case 9:
      return sub == 1 ? 2 : sub == 3 ? 4 : sub == 6 ? 30 : 3;
    case 12:
      return sub == 3 ? 9 : 5;
    case 22:
      return sub == 1 ? 15 : 14;
    case 26:
      return sub == 2 || sub == 3 ? 36 : 25;
    default:
      break;
  }
  for (const PrimaryLanguage& l : kPrimaryLanguages)
    if (l.primary == primary) return l.number;
  return 0;
}

LanguageSources DeviceLanguageSources() {
  ce::RegisterLocaleModule();
  static const ce::HMODULE kernel = ce::LoadLibraryW(u"kernel32.dll");
  LanguageSources s;
  s.preferredLanguages =
      Procedure<LanguageSources::PreferredLanguages>(kernel, "GetUserPreferredUILanguages");
  s.defaultLocaleName =
      Procedure<LanguageSources::DefaultLocaleName>(kernel, "GetSystemDefaultLocaleName");
  s.nameToLcid = Procedure<LanguageSources::NameToLcid>(kernel, "LocaleNameToLCID");
  s.defaultLcid = &ce::GetSystemDefaultLCID;
  return s;
}

int32_t SystemLanguage(const LanguageSources& sources) {
  if (sources.preferredLanguages != nullptr) {
    ce::ULONG count = 0, size = 0;
    if (sources.preferredLanguages(kMuiLanguageName, &count, nullptr, &size) && size > 0 &&
        size < 65536) {
      std::u16string list(size, u'\0');
      if (sources.preferredLanguages(kMuiLanguageName, &count, list.data(), &size))
        return LanguageNumberOfName(std::u16string_view(list.c_str()));
    }
  }
  if (sources.defaultLocaleName != nullptr && sources.nameToLcid != nullptr) {
    char16_t name[kLocaleNameCapacity] = {};
    if (sources.defaultLocaleName(name, kLocaleNameCapacity) > 0) {
      const ce::LCID lcid = sources.nameToLcid(name, 0);
      if (lcid != 0) return LanguageNumberOfLcid(lcid);
    }
  }
  return sources.defaultLcid ? LanguageNumberOfLcid(sources.defaultLcid()) : 0;
}

}  // namespace tq
