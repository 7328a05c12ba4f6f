// The version order on arbitrary text: the bytes are split in two UTF-16 texts at the first
// byte's position. The order must be a consistent comparison: reflexive, antisymmetric, and
// the same whatever the case of ASCII letters.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "frame/update_names.h"

namespace {

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

int Sign(int v) { return (v > 0) - (v < 0); }

std::u16string Upper(std::u16string text) {
  for (char16_t& c : text) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t units = (size - 1) / 2;
  std::u16string all(units, u'\0');
  std::memcpy(all.data(), data + 1, units * 2);
  const size_t cut = units == 0 ? 0 : data[0] % (units + 1);
  const std::u16string a = all.substr(0, cut), b = all.substr(cut);
  const int ab = Sign(tq::CompareVersions(a, b));
  Require(ab == -Sign(tq::CompareVersions(b, a)));
  Require(tq::CompareVersions(a, a) == 0);
  Require(Sign(tq::CompareVersions(Upper(a), Upper(b))) == ab);
  if (ab == 0) Require(Sign(tq::CompareVersions(a + u"1", b + u"2")) < 0);
  return 0;
}
