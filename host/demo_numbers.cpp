// The numbers section of the guided tour. Each step shows the call as typed and its result.
#include "host/demo_numbers.h"

#include <cstdio>
#include <string>
#include <vector>

#include "host/demo_step.h"

namespace tqhost {
namespace {

const std::vector<DemoStep>& NumberSteps() {
  static const std::vector<DemoStep> steps = {
      {"a printf-style format: width 12, two decimals, device thousands separator",
       {"NumberToString", "r:1234567.891", "12.2fS"}},
      {"the device's decimal separator (',' in fr-FR)", {"NumberToString", "r:3.14159", "10,3f"}},
      {"2.5 with 'd' is rounded, not truncated", {"NumberToString", "r:2.5", "d"}},
      {"a zero-padded hexadecimal of -1 keeps the last four digits",
       {"NumberToString", "i:-1", "04X"}},
      {"two-digit exponents", {"NumberToString", "r:100000", "e"}},
      {"the device's number mask", {"NumberToString", "r:-1234.5", "NumSystemMask"}},
      {"the device's currency mask, with its symbol",
       {"NumberToString", "r:1234.5", "MoneySystemMask$"}},
      {"an unreadable format raises 80270", {"NumberToString", "r:1", "abc"}},
      {"a byte count in the largest fitting unit", {"FormatDiskSize", "l:1536"}},
      {"the same in bytes", {"FormatDiskSize", "l:1536", "1"}},
      {"a unit above 5 raises 81507", {"FormatDiskSize", "l:1536", "6"}},
      {"an amount in words, with unit and hundredths names",
       {"NumberInWords", "c:12.35", "euro(s)", "centime(s)"}},
      {"'de' and 'd'' before the unit of a round million",
       {"NumberInWords", "c:2000000", "euro(s)"}},
      {"a yuan amount in Chinese financial numerals", {"AmountInChineseNumerals", "c:1005.5"}},
  };
  return steps;
}

}  // namespace

void RunNumbersDemo(CallRunner& runner) {
  std::printf("\n== Numbers: printf-style formats, numeric masks, disk sizes, amounts in words\n");
  RunDemoSteps(runner, NumberSteps());
}

}  // namespace tqhost
