// Fuzzes the printf-like formats of NumberToString: the first 8 bytes are a real (any bits,
// NaN and infinities included), the ninth picks the value's type, the rest is the format as
// UTF-16LE. Whatever it is, the worker must return without crashing or reading out of bounds,
// and an accepted format must give a text no longer than its width and precision allow.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz/fuzz_input.h"
#include "numtext/number_to_string.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("TQ_DEVICE", "/tmp/tq-fuzz-printf-format", 1);
  setenv("TQ_LOCALE", "fr-FR", 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 9) return 0;
  static constexpr uint8_t kTypes[] = {12, 8, 4, 9, 5, 10, 2, 7};
  tq::NumberArgument value;
  std::memcpy(&value.real, data, 8);
  value.type = kTypes[data[8] % sizeof kTypes];
  value.integer = static_cast<int64_t>(data[8]) - 128;
  value.currency = static_cast<tq::CurrencyUnits>(value.integer) * 12345;
  value.bigInteger = (value.type == 5 || value.type == 9) && value.real > 4294967295.0;
  const std::u16string format = fuzzinput::Utf16Units(data, size, 9);
  if (tq::IsKeyword(format)) return 0;  // the mask path has a fuzzer of its own

  const std::u16string text = tq::NumberToString(value, format, tq::RegionalSettings(), nullptr);
  const std::optional<tq::FormatDirective> directive = tq::ParseFormatDirective(format);
  if (!directive || directive->width > tq::kFormatLimit || directive->precision > tq::kFormatLimit) {
    if (!text.empty()) std::abort();
    return 0;
  }
  // Sign, 309 integer digits with their separators, point, precision, exponent.
  const size_t limit = static_cast<size_t>(directive->width) + 420 + static_cast<size_t>(directive->precision);
  if (text.size() > limit) std::abort();
  return 0;
}
