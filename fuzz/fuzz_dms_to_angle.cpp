// DMSToAngle's parser on arbitrary text: the bytes are read as UTF-16 code units, so every
// marker character can appear. A reading either fails with the angle 0 or gives an angle
// within one turn and a bit; formatting any double read from the same bytes never overflows
// its pattern.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "services/angle_dms.h"

namespace {

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text(size / 2, u'\0');
  std::memcpy(text.data(), data, text.size() * 2);
  const tq::DmsReading r = tq::ReadDms(text);
  if (r.failure == tq::DmsFailure::kNone) {
    Require(std::isfinite(r.angle) && std::fabs(r.angle) < 361);
  } else {
    Require(r.angle == 0);
  }
  if (size >= 8) {
    double x;
    std::memcpy(&x, data, 8);
    const std::u16string dms = tq::AngleToDms(x);
    Require(dms.size() >= 11 && dms.size() <= 12);
  }
  return 0;
}
