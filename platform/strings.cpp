// String comparison through cached ICU collators, and case mapping through ICU's character
// properties.
#include "platform/strings.h"

#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/last_error.h"
#include "platform/locale_ids.h"
#include "platform/utf8.h"

namespace ce {
namespace {

constexpr DWORD kCompareFlags = NORM_IGNORECASE | NORM_IGNORENONSPACE | NORM_IGNORESYMBOLS |
                                SORT_STRINGSORT | NORM_IGNOREKANATYPE | NORM_IGNOREWIDTH;
// The flags that change the collator; the others are applied to the strings.
constexpr DWORD kCollatorFlags = NORM_IGNORECASE | NORM_IGNORENONSPACE | NORM_IGNORESYMBOLS;

using CollatorPtr = std::unique_ptr<UCollator, decltype(&ucol_close)>;

std::mutex gCollatorMutex;
std::map<std::string, CollatorPtr> gCollators;  // guarded by gCollatorMutex

// A collator for the locale and flags, created at first use and kept for the process.
// Comparing through a shared collator is thread-safe; only its creation is locked.
const UCollator* CollatorFor(const std::string& locale, DWORD flags) {
  const std::string key = locale + "|" + std::to_string(flags & kCollatorFlags);
  std::lock_guard<std::mutex> lock(gCollatorMutex);
  auto found = gCollators.find(key);
  if (found != gCollators.end()) return found->second.get();

  UErrorCode status = U_ZERO_ERROR;
  CollatorPtr collator(ucol_open(locale.c_str(), &status), &ucol_close);
  if (U_FAILURE(status) || !collator) return nullptr;
  const bool ignoreCase = flags & NORM_IGNORECASE;
  const bool ignoreAccents = flags & NORM_IGNORENONSPACE;
  if (ignoreAccents) {
    ucol_setStrength(collator.get(), UCOL_PRIMARY);
    if (!ignoreCase) ucol_setAttribute(collator.get(), UCOL_CASE_LEVEL, UCOL_ON, &status);
  } else {
    ucol_setStrength(collator.get(), ignoreCase ? UCOL_SECONDARY : UCOL_TERTIARY);
  }
  if (flags & NORM_IGNORESYMBOLS) {
    ucol_setAttribute(collator.get(), UCOL_ALTERNATE_HANDLING, UCOL_SHIFTED, &status);
    ucol_setMaxVariable(collator.get(), UCOL_REORDER_CODE_SYMBOL, &status);
  }
  if (U_FAILURE(status)) return nullptr;
  const UCollator* result = collator.get();
  gCollators.emplace(key, std::move(collator));
  return result;
}

// Full-width ASCII and the ideographic space onto ASCII; half-width katakana onto the
// full-width forms (through their compatibility decomposition, which ICU knows).
void FoldWidth(std::u16string* text) {
  std::u16string out;
  for (char16_t c : *text) {
    if (c >= 0xFF01 && c <= 0xFF5E) {
      out.push_back(static_cast<char16_t>(c - 0xFEE0));
    } else if (c == 0x3000) {
      out.push_back(u' ');
    } else if (c >= 0xFF61 && c <= 0xFF9F) {
      UChar decomposition[4];
      UErrorCode status = U_ZERO_ERROR;
      const UNormalizer2* nfkc = unorm2_getNFKCInstance(&status);
      const int32_t n =
          U_SUCCESS(status) ? unorm2_getDecomposition(nfkc, c, decomposition, 4, &status) : -1;
      if (U_SUCCESS(status) && n == 1) {
        out.push_back(decomposition[0]);
      } else {
        out.push_back(c);
      }
    } else {
      out.push_back(c);
    }
  }
  *text = std::move(out);
}

void FoldKana(std::u16string* text) {
  for (char16_t& c : *text) {
    if (c >= 0x30A1 && c <= 0x30F6) c = static_cast<char16_t>(c - 0x60);  // katakana -> hiragana
  }
}

std::u16string_view View(const char16_t* text, int count) {
  return count == -1 ? std::u16string_view(text) : std::u16string_view(text, count);
}

// Simple one-for-one case mapping of a UTF-16 run, in place.
void MapCase(char16_t* text, size_t length, bool upper) {
  size_t i = 0;
  while (i < length) {
    const Utf16Step step = DecodeUtf16(std::u16string_view(text + i, length - i));
    if (!step.valid) {
      ++i;  // a lone surrogate stays as it is
      continue;
    }
    const UChar32 mapped = upper ? u_toupper(static_cast<UChar32>(step.codePoint))
                                 : u_tolower(static_cast<UChar32>(step.codePoint));
    std::u16string units;
    AppendUtf16(static_cast<char32_t>(mapped), &units);
    if (units.size() == step.length) std::memcpy(text + i, units.data(), step.length * 2);
    i += step.length;
  }
}

LPWSTR MapCharOrString(LPWSTR string, bool upper) {
  if (string == nullptr) return nullptr;
  const uintptr_t value = reinterpret_cast<uintptr_t>(string);
  if ((value >> 16) == 0) {
    char16_t c = static_cast<char16_t>(value);
    MapCase(&c, 1, upper);
    return reinterpret_cast<LPWSTR>(static_cast<uintptr_t>(c));
  }
  MapCase(string, std::char_traits<char16_t>::length(string), upper);
  return string;
}

int Fail(DWORD code) {
  SetLastError(code);
  return 0;
}

}  // namespace

int CompareStringW(LCID locale, DWORD flags, const char16_t* string1, int count1,
                   const char16_t* string2, int count2) {
  if (string1 == nullptr || string2 == nullptr || count1 < -1 || count2 < -1) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  if ((flags & ~kCompareFlags) != 0) return Fail(ERROR_INVALID_FLAGS);
  std::optional<std::string> name = IcuLocaleForLcid(locale);
  if (!name) return Fail(ERROR_INVALID_PARAMETER);
  const UCollator* collator = CollatorFor(*name, flags);
  if (collator == nullptr) return Fail(ERROR_INVALID_PARAMETER);

  std::u16string a(View(string1, count1));
  std::u16string b(View(string2, count2));
  if (flags & NORM_IGNOREWIDTH) {
    FoldWidth(&a);
    FoldWidth(&b);
  }
  if (flags & NORM_IGNOREKANATYPE) {
    FoldKana(&a);
    FoldKana(&b);
  }
  switch (ucol_strcoll(collator, a.data(), static_cast<int32_t>(a.size()), b.data(),
                       static_cast<int32_t>(b.size()))) {
    case UCOL_LESS:
      return CSTR_LESS_THAN;
    case UCOL_EQUAL:
      return CSTR_EQUAL;
    case UCOL_GREATER:
      return CSTR_GREATER_THAN;
  }
  return CSTR_EQUAL;
}

int lstrcmpW(const char16_t* string1, const char16_t* string2) {
  if (string1 == nullptr || string2 == nullptr) {
    return (string1 == nullptr ? 0 : 1) - (string2 == nullptr ? 0 : 1);
  }
  return CompareStringW(LOCALE_USER_DEFAULT, 0, string1, -1, string2, -1) - CSTR_EQUAL;
}

int lstrcmpiW(const char16_t* string1, const char16_t* string2) {
  if (string1 == nullptr || string2 == nullptr) {
    return (string1 == nullptr ? 0 : 1) - (string2 == nullptr ? 0 : 1);
  }
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, string1, -1, string2, -1) -
         CSTR_EQUAL;
}

int lstrlenW(const char16_t* string) {
  return string == nullptr ? 0 : static_cast<int>(std::char_traits<char16_t>::length(string));
}

LPWSTR CharUpperW(LPWSTR string) {
  return MapCharOrString(string, true);
}
LPWSTR CharLowerW(LPWSTR string) {
  return MapCharOrString(string, false);
}

DWORD CharUpperBuffW(LPWSTR buffer, DWORD length) {
  if (buffer == nullptr) return 0;
  MapCase(buffer, length, true);
  return length;
}

DWORD CharLowerBuffW(LPWSTR buffer, DWORD length) {
  if (buffer == nullptr) return 0;
  MapCase(buffer, length, false);
  return length;
}

int LCMapStringW(LCID locale, DWORD flags, const char16_t* source, int sourceCount,
                 char16_t* destination, int destinationCount) {
  if (source == nullptr || sourceCount == 0 || sourceCount < -1 || destinationCount < 0 ||
      (destinationCount > 0 && destination == nullptr)) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  const DWORD caseFlags = flags & (LCMAP_UPPERCASE | LCMAP_LOWERCASE);
  if ((flags & ~(LCMAP_UPPERCASE | LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING)) != 0 ||
      (caseFlags != LCMAP_UPPERCASE && caseFlags != LCMAP_LOWERCASE)) {
    return Fail(ERROR_INVALID_FLAGS);
  }
  std::optional<std::string> name = IcuLocaleForLcid(locale);
  if (!name) return Fail(ERROR_INVALID_PARAMETER);
  const bool upper = caseFlags == LCMAP_UPPERCASE;

  std::u16string text(
      sourceCount == -1
          ? std::u16string_view(source, std::char_traits<char16_t>::length(source) + 1)
          : std::u16string_view(source, static_cast<size_t>(sourceCount)));
  if (flags & LCMAP_LINGUISTIC_CASING) {
    const int32_t length = static_cast<int32_t>(text.size());
    UErrorCode status = U_ZERO_ERROR;
    auto convert = upper ? u_strToUpper : u_strToLower;
    const int32_t needed = convert(nullptr, 0, text.data(), length, name->c_str(), &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) {
      return Fail(ERROR_INVALID_PARAMETER);
    }
    std::u16string mapped(static_cast<size_t>(needed), u'\0');
    status = U_ZERO_ERROR;
    convert(mapped.data(), needed, text.data(), length, name->c_str(), &status);
    if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) {
      return Fail(ERROR_INVALID_PARAMETER);
    }
    text = std::move(mapped);
  } else {
    MapCase(text.data(), text.size(), upper);
  }
  const int needed = static_cast<int>(text.size());
  if (destinationCount == 0) return needed;
  if (needed > destinationCount) return Fail(ERROR_INSUFFICIENT_BUFFER);
  std::memcpy(destination, text.data(), text.size() * sizeof(char16_t));
  return needed;
}

}  // namespace ce
