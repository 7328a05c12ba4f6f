// Percent-decoding of arbitrary UTF-16 text (never more units out than in, never a read past
// the end), and the URL round trip of arbitrary bytes in the general mode, directly and through
// UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "numtext/url_encoding.h"

namespace {

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text(size / 2, u'\0');
  std::memcpy(text.data(), data, text.size() * 2);
  const std::u16string decoded = tq::PercentDecode(text);
  Require(decoded.size() <= text.size());
  for (int32_t encoding : {7, 8, 10}) {
    const std::string bytes = tq::UrlDecode(text, encoding, 1252);
    Require(encoding == 8 || bytes.size() <= text.size());
  }
  const std::string raw(reinterpret_cast<const char*>(data), size);
  Require(tq::UrlDecode(tq::UrlEncode(raw, 7, 1252), 7, 1252) == raw);
  Require(tq::UrlDecode(tq::UrlEncode(raw, 9, 1252), 9, 1252) == raw);
  tq::UrlEncode(raw, 10, 1252);
  return 0;
}
