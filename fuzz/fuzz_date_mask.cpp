// Fuzzes the date and time masks: arbitrary values through arbitrary masks, formatted
// (DateToString, TimeToString) and parsed back (StringToDate, StringToTime). The input is
// UTF-16LE: the value, a line feed, then the mask. Whatever it is, the workers must return
// without crashing, reading out of bounds or looping, and a parse result must be a digit text
// of the documented length.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "datetime/date_mask_functions.h"
#include "datetime/date_parse_functions.h"
#include "datetime/date_values.h"
#include "fuzz/fuzz_input.h"

namespace {

void CheckParsed(const std::u16string& text, size_t maxLength) {
  if (text.size() > maxLength) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // A frozen clock on a private device, so that runs repeat.
  setenv("TQ_DEVICE", "/tmp/tq-fuzz-date-mask", 1);
  setenv("TQ_CLOCK", "2024-03-05T10:00:00", 1);
  setenv("TQ_TZ", "Europe/Paris", 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto [value, mask] = fuzzinput::SplitAt(fuzzinput::Utf16Units(data, size), u'\n');

  tq::DateToString(value, mask, tq::RegionalSettings(), nullptr);
  tq::DateToString(value, std::nullopt, tq::RegionalSettings(), nullptr);
  tq::TimeToString(value, mask, tq::RegionalSettings(), nullptr);
  CheckParsed(tq::StringToDate(value, mask, tq::RegionalSettings()), 32);
  CheckParsed(tq::StringToTime(value, mask, tq::RegionalSettings()), 9);
  // A date formatted through a mask reads back through the same mask without harm.
  const std::u16string shown =
      tq::DateToString(u"20240305143025", mask, tq::RegionalSettings(), nullptr);
  CheckParsed(tq::StringToDate(shown, mask, tq::RegionalSettings()), 32);
  return 0;
}
