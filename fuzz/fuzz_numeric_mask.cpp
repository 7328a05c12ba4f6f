// Fuzzes numeric display masks: an arbitrary number text through an arbitrary mask, formatted
// by the walker and by a NumericMask (keywords included), plus the input mask and the sign
// question. The input is UTF-16LE: the mask, a line feed, then the number. Whatever it is, the
// workers must return without crashing, reading out of bounds or looping, and a result may be
// longer than the mask only by what the number, the symbol and a sign can add.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_input.h"
#include "numtext/numeric_mask.h"
#include "numtext/numeric_mask_format.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("TQ_DEVICE", "/tmp/tq-fuzz-numeric-mask", 1);
  setenv("TQ_LOCALE", "fr-FR", 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto [mask, number] = fuzzinput::SplitAt(fuzzinput::Utf16Units(data, size), u'\n');

  tq::MaskDisplay display;
  display.symbol = u"EUR";
  const std::u16string shown = tq::ApplyNumericMask(mask, number, display);
  // Each mask unit writes at most the symbol; the number adds its own units, percent
  // scaling two more, and a sign one.
  if (shown.size() > mask.size() * 3 + number.size() + 8) std::abort();
  tq::InputMaskOf(mask);
  tq::MaskNeedsSign(mask);

  tq::NumericMask numeric(mask);
  numeric.Format(number);
  numeric.InputMask();
  for (const char16_t* keyword : {u"NumSystemMask", u"MoneySystemMask$", u"DiskSize"})
    tq::NumericMask(keyword).Format(number);
  return 0;
}
