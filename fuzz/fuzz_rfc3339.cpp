// Fuzzes RFC 3339 reading: any text (UTF-16LE) is read into a UTC record and converted to the
// device's local time; a date-time text is written as a timestamp. Nothing may crash or read
// out of bounds; a reading always yields a 17-digit text (or nothing when the local
// conversion is impossible).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "datetime/rfc3339.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("TQ_DEVICE", "/tmp/tq-fuzz-rfc3339", 1);
  setenv("TQ_TZ", "America/St_Johns", 1);  // half-hour offset and daylight time
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::u16string text = fuzzinput::Utf16Units(data, size);
  const std::optional<std::u16string> utc = tq::Rfc3339ToDateText(text, true);
  if (!utc || utc->size() < 17) std::abort();
  tq::Rfc3339ToDateText(text, false);
  tq::DateTextToRfc3339(text, true);
  tq::DateTextToRfc3339(text, false);
  tq::FormatRfc3339(tq::ParseRfc3339(text));
  return 0;
}
