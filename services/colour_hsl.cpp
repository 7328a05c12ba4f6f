// Colour <-> HSL. The constants are written out (1/255, 1/60) because the results depend on
// the exact double values: the applications' colours were computed with these very products.
#include "services/colour_hsl.h"

#include <cmath>

#include "frame/raise_error.h"

namespace tq {
namespace {

constexpr double kOneOver255 = 0.00392156862745098;
constexpr double kOneOver60 = 0.016666666666666666;

// Halves go away from zero.
int64_t RoundAway(double x) {
  return static_cast<int64_t>(std::trunc(x >= 0 ? x + 0.5 : x - 0.5));
}

int32_t Percent(double fraction) {
  const int64_t n = RoundAway(fraction * 100);
  return static_cast<int32_t>(n < 0 ? 0 : n > 100 ? 100 : n);
}

// One channel of the HSL -> RGB conversion, h in degrees (at most 120 outside 0..360).
uint32_t Channel(double p, double q, int32_t h) {
  if (h > 360) {
    h -= 360;
  } else if (h < 0) {
    h += 360;
  }
  double v;
  if (h < 60) {
    v = p + (q - p) * h * kOneOver60;
  } else if (h < 180) {
    v = q;
  } else if (h < 240) {
    v = p + (q - p) * (240 - h) * kOneOver60;
  } else {
    v = p;
  }
  // v lies in [0, 1]; the guard keeps a conversion of a stray negative value defined.
  const double scaled = v * 255.0;
  return scaled > 0 ? static_cast<uint32_t>(scaled) & 0xff : 0;
}

}  // namespace

HslComponents HslOfColour(int32_t colour) {
  const uint32_t bits = static_cast<uint32_t>(colour);
  const double r = (bits & 0xff) * kOneOver255;
  const double g = ((bits >> 8) & 0xff) * kOneOver255;
  const double b = ((bits >> 16) & 0xff) * kOneOver255;
  const double max = std::fmax(r, std::fmax(g, b));
  const double min = std::fmin(r, std::fmin(g, b));
  const double l = (max + min) * 0.5;
  double h = 0, s = 0;
  if (max != min) {
    const double d = max - min;
    s = l <= 0.5 ? d / (max + min) : d / (2 - (max + min));
    const double dr = (max - r) / d, dg = (max - g) / d, db = (max - b) / d;
    if (r == max) {
      h = (db + 6 - dg) * 60;
    } else if (g == max) {
      h = (dr + 2 - db) * 60;
    } else {
      h = (dg + 4 - dr) * 60;
    }
    if (h < 0) h += 360;
  }
  HslComponents out;
  out.hue = static_cast<int32_t>(RoundAway(h) % 360);
  out.saturation = Percent(s);
  out.lightness = Percent(l);
  return out;
}

uint32_t HslError(int32_t hue, int32_t saturation, int32_t lightness) {
  if (static_cast<uint32_t>(hue) > 360) return 80202;
  if (static_cast<uint32_t>(saturation) > 100) return 80204;
  if (static_cast<uint32_t>(lightness) > 100) return 80203;
  return 0;
}

int32_t ColourFromHsl(ComponentProxy* proxy, int32_t hue, int32_t saturation, int32_t lightness) {
  if (const uint32_t error = HslError(hue, saturation, lightness)) {
    RaiseError(proxy, error);
    return 0;
  }
  return ColourOfHsl(hue, saturation, lightness);
}

int32_t ColourOfHsl(int32_t hue, int32_t saturation, int32_t lightness) {
  if (saturation == 0) {
    const int32_t grey = lightness * 255 / 100;
    return grey | grey << 8 | grey << 16;
  }
  const double l = lightness * 0.01;
  const double s = saturation * 0.01;
  const double q = l <= 0.5 ? l * (1 + s) : l + s - l * s;
  const double p = 2 * l - q;
  const uint32_t red = Channel(p, q, hue + 120);
  const uint32_t green = Channel(p, q, hue);
  const uint32_t blue = Channel(p, q, hue - 120);
  return static_cast<int32_t>(red | green << 8 | blue << 16);
}

}  // namespace tq
