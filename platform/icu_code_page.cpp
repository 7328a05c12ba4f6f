// ICU converters for the code pages that the device supports without our own table.
#include "platform/icu_code_page.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

#include <algorithm>
#include <memory>
#include <string>

namespace ce {
namespace {

using ConverterPtr = std::unique_ptr<UConverter, decltype(&ucnv_close)>;

struct StandardName {
  UINT codePage;
  const char* name;
};

constexpr StandardName kStandardNames[] = {
    {10000, "macintosh"},  {20127, "US-ASCII"},    {20866, "KOI8-R"},      {21866, "KOI8-U"},
    {28591, "ISO-8859-1"}, {28592, "ISO-8859-2"},  {28593, "ISO-8859-3"},  {28594, "ISO-8859-4"},
    {28595, "ISO-8859-5"}, {28596, "ISO-8859-6"},  {28597, "ISO-8859-7"},  {28598, "ISO-8859-8"},
    {28599, "ISO-8859-9"}, {28603, "ISO-8859-13"}, {28605, "ISO-8859-15"}, {50220, "ISO-2022-JP"},
    {51932, "EUC-JP"},     {51949, "EUC-KR"},      {54936, "GB18030"},     {65000, "UTF-7"},
};

// Pages that MultiByteToWideChar does not take even though ICU knows them: UTF-16 and UTF-32.
bool IsExcluded(UINT codePage) {
  return codePage == 1200 || codePage == 1201 || codePage == 12000 || codePage == 12001;
}

ConverterPtr OpenConverter(UINT codePage) {
  ConverterPtr none(nullptr, &ucnv_close);
  if (IsExcluded(codePage)) return none;
  for (const StandardName& entry : kStandardNames) {
    if (entry.codePage == codePage) {
      UErrorCode status = U_ZERO_ERROR;
      UConverter* converter = ucnv_open(entry.name, &status);
      return ConverterPtr(U_SUCCESS(status) ? converter : nullptr, &ucnv_close);
    }
  }
  const std::string number = std::to_string(codePage);
  for (const std::string& name : {"windows-" + number, "cp" + number, "ibm-" + number}) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(name.c_str(), &status);
    if (U_SUCCESS(status) && converter != nullptr) return ConverterPtr(converter, &ucnv_close);
    if (converter != nullptr) ucnv_close(converter);
  }
  return none;
}

// Callbacks that note the substitution and then substitute as ICU would.
void NotingToUnicode(const void* context, UConverterToUnicodeArgs* args, const char* bytes,
                     int32_t length, UConverterCallbackReason reason, UErrorCode* status) {
  if (reason <= UCNV_IRREGULAR) *static_cast<bool*>(const_cast<void*>(context)) = true;
  UCNV_TO_U_CALLBACK_SUBSTITUTE(nullptr, args, bytes, length, reason, status);
}

void NotingFromUnicode(const void* context, UConverterFromUnicodeArgs* args, const UChar* units,
                       int32_t length, UChar32 codePoint, UConverterCallbackReason reason,
                       UErrorCode* status) {
  if (reason <= UCNV_IRREGULAR) *static_cast<bool*>(const_cast<void*>(context)) = true;
  UCNV_FROM_U_CALLBACK_SUBSTITUTE(nullptr, args, units, length, codePoint, reason, status);
}

}  // namespace

bool IcuHasCodePage(UINT codePage) {
  return OpenConverter(codePage) != nullptr;
}

std::optional<std::u16string> IcuDecode(UINT codePage, std::string_view bytes, bool* invalid) {
  ConverterPtr converter = OpenConverter(codePage);
  if (!converter) return std::nullopt;
  *invalid = false;
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setToUCallBack(converter.get(), NotingToUnicode, invalid, nullptr, nullptr, &status);
  const int32_t length = static_cast<int32_t>(bytes.size());
  const int32_t needed = ucnv_toUChars(converter.get(), nullptr, 0, bytes.data(), length, &status);
  if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return std::nullopt;
  std::u16string text(static_cast<size_t>(needed), u'\0');
  status = U_ZERO_ERROR;
  ucnv_toUChars(converter.get(), text.data(), needed, bytes.data(), length, &status);
  if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) return std::nullopt;
  return text;
}

std::optional<std::string> IcuEncode(UINT codePage, std::u16string_view text,
                                     std::string_view defaultChar, bool* usedDefault) {
  ConverterPtr converter = OpenConverter(codePage);
  if (!converter) return std::nullopt;
  *usedDefault = false;
  UErrorCode status = U_ZERO_ERROR;
  if (!defaultChar.empty()) {
    UErrorCode substStatus = U_ZERO_ERROR;
    ucnv_setSubstChars(converter.get(), defaultChar.data(),
                       static_cast<int8_t>(std::min<size_t>(defaultChar.size(), 4)),
                       &substStatus);  // a substitute the page cannot take keeps ICU's own
  }
  ucnv_setFromUCallBack(converter.get(), NotingFromUnicode, usedDefault, nullptr, nullptr, &status);
  const int32_t length = static_cast<int32_t>(text.size());
  const int32_t needed = ucnv_fromUChars(converter.get(), nullptr, 0, text.data(), length, &status);
  if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return std::nullopt;
  std::string bytes(static_cast<size_t>(needed), '\0');
  status = U_ZERO_ERROR;
  ucnv_fromUChars(converter.get(), bytes.data(), needed, text.data(), length, &status);
  if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) return std::nullopt;
  return bytes;
}

}  // namespace ce
