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
  std::u16string units;
  for (size_t i = 0; i + 1 < size; i += 2)
    units.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  const size_t split = units.find(u'\n');
  const std::u16string value = units.substr(0, split);
  const std::u16string mask = split == std::u16string::npos ? u"" : units.substr(split + 1);

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
