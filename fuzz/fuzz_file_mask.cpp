// Fuzzes file-name mask matching: any mask against any name (both UTF-16LE, separated by the
// first zero unit) must answer without hanging, and a mask made of the name itself must match.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/wildcard_match.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text(size / 2, u'\0');
  if (!text.empty()) std::memcpy(text.data(), data, text.size() * 2);
  const size_t split = text.find(u'\0');
  const std::u16string mask = text.substr(0, split);
  const std::u16string name = split == std::u16string::npos ? u"" : text.substr(split + 1);
  ce::MatchesFileMask(mask, name);
  if (!name.empty() && !ce::MatchesFileMask(name, name)) std::abort();
  if (!ce::MatchesFileMask(u"*", name)) std::abort();
  return 0;
}
