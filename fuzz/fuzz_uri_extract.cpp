// UriExtract over arbitrary UTF-16 text and masks: the result is made of the URI's own
// characters (never longer than the URI) and every single part is a substring of it.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "net/uri_extract.h"

namespace {

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  int32_t mask;
  std::memcpy(&mask, data, 4);
  std::u16string uri((size - 4) / 2, u'\0');
  std::memcpy(uri.data(), data + 4, uri.size() * 2);
  const std::u16string parts = tq::UriExtract(uri, mask);
  Require(parts.size() <= uri.size() + 1);
  for (int32_t bit = 1; bit <= 512; bit <<= 1) {
    if ((mask & bit) == 0) continue;
    const std::u16string one = tq::UriExtract(uri, bit);
    Require(uri.find(one) != std::u16string::npos);
  }
  return 0;
}
