// MultiByteToWideChar / WideCharToMultiByte: argument checks, the choice of codec, and the
// delivery of the result with the device's size rules.
#include "platform/code_pages.h"

#include <unicode/unorm2.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>
#include <string>

#include "platform/code_page_1252.h"
#include "platform/device_config.h"
#include "platform/icu_code_page.h"
#include "platform/last_error.h"

namespace ce {
namespace {

int Fail(DWORD code) {
  SetLastError(code);
  return 0;
}

// Copies a converted text to the caller's buffer following the size rules.
template <typename Unit>
int Deliver(const std::basic_string<Unit>& converted, Unit* out, int outCount) {
  if (converted.size() > static_cast<size_t>(INT32_MAX)) return Fail(ERROR_INVALID_PARAMETER);
  const int needed = static_cast<int>(converted.size());
  if (outCount == 0) return needed;
  if (needed > outCount) return Fail(ERROR_INSUFFICIENT_BUFFER);
  std::memcpy(out, converted.data(), converted.size() * sizeof(Unit));
  return needed;
}

UINT ResolveCodePage(UINT codePage) {
  return codePage <= CP_THREAD_ACP ? GetACP() : codePage;
}

// UTF-8 and UTF-7 take no flags but the error flag (UTF-8 only), no default character.
bool IsUnicodeEncoding(UINT codePage) {
  return codePage == CP_UTF8 || codePage == CP_UTF7;
}

std::u16string Normalize(const std::u16string& text, bool decompose) {
  UErrorCode status = U_ZERO_ERROR;
  const UNormalizer2* normalizer =
      decompose ? unorm2_getNFDInstance(&status) : unorm2_getNFCInstance(&status);
  if (U_FAILURE(status)) return text;
  const int32_t length = static_cast<int32_t>(text.size());
  const int32_t needed = unorm2_normalize(normalizer, text.data(), length, nullptr, 0, &status);
  if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return text;
  std::u16string result(static_cast<size_t>(needed), u'\0');
  status = U_ZERO_ERROR;
  unorm2_normalize(normalizer, text.data(), length, result.data(), needed, &status);
  return U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING ? text : result;
}

struct LanguagePage {
  const char* language;
  UINT codePage;
};

// Languages whose ANSI page is not 1252.
constexpr LanguagePage kLanguagePages[] = {
    {"cs", 1250}, {"pl", 1250}, {"hu", 1250}, {"sk", 1250}, {"sl", 1250}, {"hr", 1250},
    {"ro", 1250}, {"sq", 1250}, {"bs", 1250}, {"ru", 1251}, {"uk", 1251}, {"be", 1251},
    {"bg", 1251}, {"mk", 1251}, {"sr", 1251}, {"kk", 1251}, {"ky", 1251}, {"mn", 1251},
    {"tt", 1251}, {"el", 1253}, {"tr", 1254}, {"az", 1254}, {"uz", 1254}, {"he", 1255},
    {"iw", 1255}, {"ar", 1256}, {"fa", 1256}, {"ur", 1256}, {"et", 1257}, {"lv", 1257},
    {"lt", 1257}, {"vi", 1258}, {"th", 874},  {"ja", 932},  {"ko", 949},
};

}  // namespace

UINT AnsiCodePageForLocale(std::string_view locale) {
  std::string lower;
  for (char c : locale)
    lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  std::replace(lower.begin(), lower.end(), '_', '-');
  const std::string language = lower.substr(0, lower.find('-'));
  if (language == "zh") {
    const bool traditional =
        lower.find("-tw") != std::string::npos || lower.find("-hk") != std::string::npos ||
        lower.find("-mo") != std::string::npos || lower.find("-hant") != std::string::npos;
    return traditional ? 950 : 936;
  }
  for (const LanguagePage& entry : kLanguagePages) {
    if (language == entry.language) return entry.codePage;
  }
  return 1252;
}

UINT GetACP() {
  return AnsiCodePageForLocale(CurrentDeviceConfig()->locale);
}

UINT GetOEMCP() {
  return GetACP();
}

BOOL IsValidCodePage(UINT codePage) {
  if (codePage == 1252 || codePage == CP_UTF8) return TRUE;
  return codePage > CP_THREAD_ACP && IcuHasCodePage(codePage) ? TRUE : FALSE;
}

int MultiByteToWideChar(UINT codePage, DWORD flags, const char* multiByte, int multiByteCount,
                        char16_t* wide, int wideCount) {
  if (multiByte == nullptr || multiByteCount == 0 || multiByteCount < -1 || wideCount < 0 ||
      (wideCount > 0 && wide == nullptr)) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  codePage = ResolveCodePage(codePage);
  if (IsUnicodeEncoding(codePage)) {
    if ((flags & ~(codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0)) != 0) {
      return Fail(ERROR_INVALID_FLAGS);
    }
  } else if ((flags & ~(MB_PRECOMPOSED | MB_COMPOSITE | MB_USEGLYPHCHARS | MB_ERR_INVALID_CHARS)) !=
                 0 ||
             ((flags & MB_PRECOMPOSED) && (flags & MB_COMPOSITE))) {
    return Fail(ERROR_INVALID_FLAGS);
  }
  const size_t length =
      multiByteCount == -1 ? std::strlen(multiByte) + 1 : static_cast<size_t>(multiByteCount);
  const std::string_view bytes(multiByte, length);

  std::u16string text;
  bool invalid = false;
  if (codePage == 1252) {
    text.reserve(length);
    for (char c : bytes) text.push_back(DecodeCp1252(static_cast<unsigned char>(c)));
  } else if (codePage == CP_UTF8) {
    std::string_view rest = bytes;
    text.reserve(length);
    while (!rest.empty()) {
      const Utf8Step step = DecodeUtf8(rest);
      invalid = invalid || !step.valid;
      AppendUtf16(step.codePoint, &text);
      rest.remove_prefix(step.length);
    }
  } else {
    std::optional<std::u16string> decoded = IcuDecode(codePage, bytes, &invalid);
    if (!decoded) return Fail(ERROR_INVALID_PARAMETER);
    text = std::move(*decoded);
  }
  if (invalid && (flags & MB_ERR_INVALID_CHARS)) return Fail(ERROR_NO_UNICODE_TRANSLATION);
  if (flags & MB_COMPOSITE) text = Normalize(text, true);
  return Deliver(text, wide, wideCount);
}

int WideCharToMultiByte(UINT codePage, DWORD flags, const char16_t* wide, int wideCount,
                        char* multiByte, int multiByteCount, const char* defaultChar,
                        BOOL* usedDefaultChar) {
  if (wide == nullptr || wideCount == 0 || wideCount < -1 || multiByteCount < 0 ||
      (multiByteCount > 0 && multiByte == nullptr)) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  codePage = ResolveCodePage(codePage);
  if (IsUnicodeEncoding(codePage)) {
    if (defaultChar != nullptr || usedDefaultChar != nullptr) {
      return Fail(ERROR_INVALID_PARAMETER);
    }
    if ((flags & ~(codePage == CP_UTF8 ? WC_ERR_INVALID_CHARS : 0)) != 0) {
      return Fail(ERROR_INVALID_FLAGS);
    }
  } else if ((flags & ~(WC_COMPOSITECHECK | WC_DISCARDNS | WC_SEPCHARS | WC_DEFAULTCHAR |
                        WC_NO_BEST_FIT_CHARS)) != 0) {
    return Fail(ERROR_INVALID_FLAGS);
  }
  const size_t length = wideCount == -1 ? std::char_traits<char16_t>::length(wide) + 1
                                        : static_cast<size_t>(wideCount);
  std::u16string_view text(wide, length);
  std::u16string composed;
  if (flags & WC_COMPOSITECHECK) {
    composed = Normalize(std::u16string(text), false);
    text = composed;
  }

  std::string bytes;
  bool usedDefault = false;
  if (codePage == CP_UTF8) {
    bytes.reserve(length);
    while (!text.empty()) {
      const Utf16Step step = DecodeUtf16(text);
      if (!step.valid && (flags & WC_ERR_INVALID_CHARS)) {
        return Fail(ERROR_NO_UNICODE_TRANSLATION);
      }
      AppendUtf8(step.codePoint, &bytes);
      text.remove_prefix(step.length);
    }
  } else if (codePage == 1252) {
    const char substitute = defaultChar != nullptr ? defaultChar[0] : '?';
    bytes.reserve(length);
    for (char16_t unit : text) {
      if (std::optional<unsigned char> byte = EncodeCp1252(unit)) {
        bytes.push_back(static_cast<char>(*byte));
      } else {
        bytes.push_back(substitute);
        usedDefault = true;
      }
    }
  } else {
    const std::string_view substitute =
        defaultChar != nullptr
            ? std::string_view(defaultChar, std::min<size_t>(std::strlen(defaultChar), 2))
            : std::string_view("?");
    std::optional<std::string> encoded = IcuEncode(codePage, text, substitute, &usedDefault);
    if (!encoded) return Fail(ERROR_INVALID_PARAMETER);
    bytes = std::move(*encoded);
  }
  const int result = Deliver(bytes, multiByte, multiByteCount);
  if (result != 0 && usedDefaultChar != nullptr) *usedDefaultChar = usedDefault ? TRUE : FALSE;
  return result;
}

}  // namespace ce
