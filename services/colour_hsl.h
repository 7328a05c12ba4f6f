// Conversions between the device's RGB colour integer (red + 256 x green + 65536 x blue; the
// top byte is ignored on input and zero on output) and hue, saturation and lightness (hue in
// whole degrees, saturation and lightness in percent). All arithmetic is in double precision
// with the rounding and truncation rules the applications were written against, so a round
// trip colour -> HSL -> colour may differ by one in a byte.
#pragma once

#include <cstdint>

namespace tq {

struct ComponentProxy;

struct HslComponents {
  int32_t hue = 0;         // 0 to 359
  int32_t saturation = 0;  // 0 to 100
  int32_t lightness = 0;   // 0 to 100
};

// The HSL components of `colour`. Accepts any integer.
HslComponents HslOfColour(int32_t colour);

// The error id for (hue, saturation, lightness), each checked as an unsigned value in this
// order: hue above 360 80202, saturation above 100 80204, lightness above 100 80203; else 0.
uint32_t HslError(int32_t hue, int32_t saturation, int32_t lightness);

// The colour of components that passed HslError. Hue 360 gives the colour of hue 0.
int32_t ColourOfHsl(int32_t hue, int32_t saturation, int32_t lightness);

// HslError raised on the proxy with the colour 0, else ColourOfHsl.
int32_t ColourFromHsl(ComponentProxy* proxy, int32_t hue, int32_t saturation, int32_t lightness);

}  // namespace tq
