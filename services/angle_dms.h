// Angles in decimal degrees <-> their text in degrees, minutes and seconds, as written for
// geographic coordinates: "045°30'15''". The parser finds the degree sign and the minute and
// second markers first, then reads the numbers in front of them; it accepts the eighteen
// apostrophe-like characters that keyboards and word processors produce, and a double quote
// as the second marker.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tq {

struct ComponentProxy;

// "%s%03d°%02d'%02d''": sign, whole degrees (modulo 360, with a carry from rounded seconds),
// minutes, seconds rounded half up. Non-finite angles write as zero degrees with their sign.
std::u16string AngleToDms(double angle);

enum class DmsFailure { kNone, kMinutesTooLarge, kSecondsTooLarge, kUnreadable };

struct DmsReading {
  double angle = 0;
  DmsFailure failure = DmsFailure::kNone;
  int32_t offending = 0;  // the minutes or the (truncated) seconds that were 60 or more
};

// Reads `text`; on failure the angle is 0.
DmsReading ReadDms(std::u16string_view text);

// ReadDms with its failure raised on the proxy: minutes of 60 or more 80130 (with the
// minutes), seconds of 60 or more 80129 (with the seconds), anything else 81836.
double DmsToAngle(ComponentProxy* proxy, std::u16string_view text);

}  // namespace tq
