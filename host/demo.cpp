// tq240 demo: a guided tour of what the library does, one family after another. Each step
// shows the call as it would be typed and what the VM got back.
#include <cstdio>
#include <string>
#include <vector>

#include "host/call_runner.h"
#include "host/commands.h"
#include "host/demo_files.h"
#include "host/demo_registry.h"
#include "host/demo_processes.h"
#include "host/demo_numbers.h"
#include "host/demo_text.h"
#include "host/demo_device.h"
#include "host/demo_network.h"
#include "host/demo_step.h"
#include "host/function_catalog.h"

namespace tqhost {
namespace {

struct Section {
  const char* title;
  std::vector<DemoStep> steps;
};

// The DIF from 01 02 03 to 01 02 03 04: header, one stored block, one inserting operation.
const std::string kSmallDif =
    "x:444946001c0000000100000001000000" "1d80bc55cdfb3cb6800000000100000004000000"
    "380000002400000000000000010000000000000000000000000000000300000000000000"
    "0400000004000000010000000000000004000000" "01020304";

const std::vector<Section>& Tour() {
  static const std::vector<Section> tour = {
      {"Value utilities: parity, random numbers, list extremes",
       {
           {"parity of a negative number", {"IsEven", "-4"}},
           {"zero is not odd", {"IsOdd", "0"}},
           {"a random integer from 1 to n: with n = 1 always 1", {"Random", "i:1"}},
           {"a random integer between two bounds", {"Random", "10", "20"}},
           {"the greatest of three texts", {"ListMax", "b", "a", "c"}},
           {"texts compare as texts: '2' is greater than '10'", {"ListMax", "2", "10"}},
           {"numbers compare as numbers", {"ListMax", "r:2", "r:10"}},
           {"the smallest element of an array", {"ListMin", "j:[3, 1.5, 2]"}},
       }},
      {"Errors: a failing function records a numbered error and returns its default result",
       {
           {"Random with n < 1", {"Random", "i:0"}},
           {"Random with low > high", {"Random", "5", "1"}},
       }},
      {"Colours and angles: HSL components, degrees, minutes and seconds",
       {
           {"a colour from hue, saturation and lightness: pure red",
            {"ColourFromHSL", "0", "100", "50"}},
           {"the hue of pure blue (0xFF0000)", {"ColourHue", "16711680"}},
           {"a hue above 360 is refused", {"ColourFromHSL", "361", "100", "50"}},
           {"an angle in degrees, minutes and seconds", {"AngleToDMS", "45.504166666666667"}},
           {"and back; curly apostrophes count as straight ones",
            {"DMSToAngle", "45°30’15’’"}},
           {"minutes must stay below 60", {"DMSToAngle", "45°75'"}},
       }},
      {"Binary differences: a DIF patch turns an old buffer into a new one",
       {
           {"the difference from 01 02 03 to 01 02 03 04",
            {"BufferDiffCreate", "x:010203", "x:01020304"}},
           {"applied to the old buffer it rebuilds the new one",
            {"BufferDiffApply", "x:010203", kSmallDif}},
           {"applied to another buffer it is refused",
            {"BufferDiffApply", "x:010204", kSmallDif}},
           {"identical buffers have no difference", {"BufferDiffCreate", "x:0102", "x:0102"}},
       }},
      {"Dates: values and calendar",
       {
           {"today on the device's clock (--clock freezes it)", {"SystemDate"}},
           {"the time now, HHMMSSCC", {"SystemTime"}},
           {"day numbers count from 1800-01-01 (day 1)", {"DateToInteger", "20000101"}},
           {"and back", {"IntegerToDate", "73049"}},
           {"1800-01-01 was a Wednesday (Monday = 1)", {"IntegerToDayOfWeek", "1"}},
           {"its name in the device's language", {"DateToDayName", "18000101"}},
           {"centiseconds since midnight", {"TimeToInteger", "123045"}},
           {"1500 was a leap year under the Julian rule", {"DateValid", "15000229"}},
           {"October 1582 lost ten days to the reform", {"DateValid", "15821010"}},
           {"an impossible date raises its error", {"DateToInteger", "20230229"}},
           {"the day after 1582-10-04", {"NextDay", "15821004"}},
           {"2021-01-01 falls before the first Monday: week 0", {"WeekNumber", "20210101"}},
           {"but in ISO 8601 it belongs to week 53 of 2020",
            {"WeekNumber", "20210101", "<ISO8601>"}},
           {"the Monday of ISO week 1 of 2025", {"WeekToDate", "1", "2025", "<ISO8601>"}},
           {"days between two dates", {"DateDifference", "20240101", "20241225"}},
           {"a signed date-time difference: days, hours, minutes, seconds, centiseconds",
            {"DateTimeDifference", "2024010100000000", "2024010212304500"}},
           {"age in years, months and days", {"DateAge", "19800615", "20240305"}},
           {"Easter Sunday", {"EasterDate", "2025"}},
           {"a spreadsheet serial day number", {"DateToSerial", "20240305120000"}},
           {"Unix time of a local date-time (the device's zone)",
            {"DateTimeToUnixTime", "20240305120000"}},
           {"and back, with milliseconds", {"UnixTimeToDateTime", "1709636400"}},
       }},
      {"Dates: display masks, parsing and durations",
       {
           {"a date without a mask", {"DateToString", "20240305"}},
           {"French and English mask letters; the case of a name token styles it",
            {"DateToString", "20240305", "Jjjj JJ MMMM AAAA"}},
           {"lenient letters: dd/mm/yyyy reads as DD/MM/YYYY",
            {"DateToString", "20240305", "dd/mm/yyyy"}},
           {"in a date-time mask \"mm\" stays the minutes",
            {"DateToString", "2024030514302512", "JJ/MM/AAAA HH:mm"}},
           {"June and July keep four letters", {"DateToString", "20240705", "Mmm"}},
           {"the device's short date (try --locale en-US)",
            {"DateToString", "20240305", "UseSystemMask"}},
           {"an RFC 3339 timestamp with the device's offset (--tz)",
            {"DateToString", "20240305120000", "UseDateRFC3339"}},
           {"how long ago, in words",
            {"DateToString", "20240304", "UseDateRelativeDurationMask"}},
           {"a 12-hour time", {"TimeToString", "1230", "HH:MM AP"}},
           {"a displayed date read back through its mask",
            {"StringToDate", "5 mars 2024", "J MMMM AAAA"}},
           {"two-digit years above 50 are 19xx", {"StringToDate", "05/03/51", "JJ/MM/AA"}},
           {"an RFC 3339 timestamp in UTC",
            {"StringToDate", "2024-03-05T12:00:00.5+01:00", "UseDateRFC3339UTC"}},
           {"a 12-hour time read back", {"StringToTime", "2:30 PM", "H:MM AP"}},
           {"the device's language as the VM numbers it", {"SystemLanguage"}},
           {"a duration in its millisecond form", {"DurationToString", "l:90061001", "0"}},
           {"a letter mask: without a day letter the hours include the days",
            {"DurationToString", "l:93600000", "HH:MM:SS"}},
           {"a unit mask shows the two most significant units",
            {"DurationToString", "l:93780000", "+2J j HH h MM m SS s CC"}},
           {"the same through its keyword", {"DurationToString", "l:90000", "DureeProjetMask"}},
           {"a duration read through a letter mask", {"StringToDuration", "26:00:00", "HH:MM:SS"}},
           {"a date that is too short raises 80134", {"DateToString", "2024030", "JJ/MM/AAAA"}},
       }},
      {"Pass-back: string functions the VM runs itself",
       {
           {"the entry hands the call back with status 42 and routine 5", {"124", "abc", "b"}},
       }},
  };
  return tour;
}


}  // namespace

int RunDemo(LibrarySession& library, const Options&) {
  size_t implemented = 0, overloads = 0;
  for (size_t i = 0; i < kHostFunctionCount; ++i) {
    const HostFunction& f = kHostFunctions[i];
    const HostFunction& owner = OverloadOwner(f);
    const tq::FunctionRecord* record = library.FindRecord(f.id);
    const tq::OverloadEntry* entries = record ? library.OverloadsOf(*record) : nullptr;
    for (int k = 0; k < owner.overloadCount; ++k) {
      ++overloads;
      if (entries && entries[k].entry) ++implemented;
    }
  }
  std::printf("tq240std, version 24: %zu function records, %zu overloads, %zu implemented so far.\n",
              kHostFunctionCount, overloads, implemented);
  CallRunner runner(library);
  for (const Section& section : Tour()) {
    std::printf("\n== %s\n", section.title);
    RunDemoSteps(runner, section.steps);
  }
  ShowFilesDemo(library);
  ShowRegistryDemo(runner);
  RunProcessesDemo(runner);
  RunNumbersDemo(runner);
  RunTextDemo(runner);
  RunDeviceDemo(runner);
  RunNetworkDemo(runner);
  return 0;
}

}  // namespace tqhost
