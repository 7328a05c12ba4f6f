// The direct URI parser against the regular-expression engine on arbitrary text: the same
// match or no match and the same 18 groups. The first byte chooses how the rest becomes
// UTF-16: even, one code page 1252 character per byte (every byte the engine can see); odd,
// raw UTF-16 units in pairs of bytes (units outside the page, surrogates). Texts are kept
// short so that the engine answers quickly.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "frame/text.h"
#include "net/uri_extract.h"
#include "net/uri_parts.h"

namespace {

constexpr size_t kLongestText = 512;

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

std::u16string TextOf(const uint8_t* data, size_t size) {
  if (size == 0) return {};
  const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  if (data[0] % 2 == 0) return tq::Cp1252ToUtf16(rest);
  std::u16string units(rest.size() / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<char16_t>(static_cast<uint8_t>(rest[2 * i]) |
                                     static_cast<uint8_t>(rest[2 * i + 1]) << 8);
  return units;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::u16string uri = TextOf(data, size);
  if (uri.size() > kLongestText) return 0;
  const tq::UriMatch direct = tq::ParseUriParts(uri);
  Require(direct == tq::MatchUriWithEngine(uri));
  for (const tq::UriSpan& span : direct.groups)
    Require(span.tookPart() ? span.start <= span.end && span.end <= static_cast<int64_t>(uri.size())
                            : span.end == -1);
  return 0;
}
