// Colour <-> HSL: the reference colours, the rounding and truncation rules, and the checks.
#include "services/colour_hsl.h"

#include <gtest/gtest.h>

namespace tq {
namespace {

int32_t Rgb(int r, int g, int b) {
  return r | g << 8 | b << 16;
}

TEST(HslOfColour, ReferenceColours) {
  struct Case {
    int32_t colour;
    int hue, saturation, lightness;
  };
  const Case cases[] = {
      {Rgb(255, 0, 0), 0, 100, 50},     {Rgb(0, 255, 0), 120, 100, 50},
      {Rgb(0, 0, 255), 240, 100, 50},   {Rgb(255, 255, 0), 60, 100, 50},
      {Rgb(255, 0, 255), 300, 100, 50}, {Rgb(255, 255, 255), 0, 0, 100},
      {Rgb(0, 0, 0), 0, 0, 0},          {Rgb(128, 128, 128), 0, 0, 50},
      {Rgb(127, 127, 127), 0, 0, 50},   {Rgb(255, 0, 1), 360 - 0, 100, 50},
      {Rgb(255, 0, 3), 359, 100, 50},   {Rgb(200, 100, 50), 20, 60, 49},
      {Rgb(10, 20, 30), 210, 50, 8},
  };
  for (const Case& c : cases) {
    const HslComponents hsl = HslOfColour(c.colour);
    EXPECT_EQ(hsl.hue, c.hue % 360) << std::hex << c.colour;
    EXPECT_EQ(hsl.saturation, c.saturation) << std::hex << c.colour;
    EXPECT_EQ(hsl.lightness, c.lightness) << std::hex << c.colour;
  }
}

TEST(HslOfColour, TopByteIsIgnoredAndAnyIntegerIsAccepted) {
  const HslComponents plain = HslOfColour(Rgb(12, 200, 99));
  const HslComponents marked = HslOfColour(Rgb(12, 200, 99) | static_cast<int32_t>(0xff000000u));
  EXPECT_EQ(plain.hue, marked.hue);
  EXPECT_EQ(plain.saturation, marked.saturation);
  EXPECT_EQ(plain.lightness, marked.lightness);
  for (int32_t colour : {-1, INT32_MIN, INT32_MAX}) {
    const HslComponents hsl = HslOfColour(colour);
    EXPECT_GE(hsl.hue, 0);
    EXPECT_LT(hsl.hue, 360);
  }
}

TEST(ColourOfHsl, ReferenceColoursAndTruncation) {
  struct Case {
    int hue, saturation, lightness;
    int32_t colour;
  };
  const Case cases[] = {
      {0, 100, 50, 255},    // red
      {360, 100, 50, 255},  // 360 is hue 0
      {120, 100, 50, Rgb(0, 255, 0)},
      {240, 100, 50, Rgb(0, 0, 255)},
      {0, 0, 50, Rgb(127, 127, 127)},  // 127.5 truncated
      {0, 0, 100, Rgb(255, 255, 255)},
      {300, 0, 0, 0},
      {30, 100, 50, Rgb(255, 127, 0)},  // 127.5 truncated in the rising edge
      {210, 50, 8, Rgb(10, 20, 30)},
      {20, 60, 49, Rgb(199, 99, 49)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HslError(c.hue, c.saturation, c.lightness), 0u);
    EXPECT_EQ(ColourOfHsl(c.hue, c.saturation, c.lightness), c.colour)
        << c.hue << " " << c.saturation << " " << c.lightness;
  }
}

TEST(ColourOfHsl, ChecksInOrderAsUnsignedValues) {
  struct Case {
    int hue, saturation, lightness;
    uint32_t error;
  };
  const Case cases[] = {{361, 0, 0, 80202},     {-1, 0, 0, 80202},    {360, 101, 0, 80204},
                        {0, -5, 101, 80204},    {0, 100, 101, 80203}, {0, 0, -1, 80203},
                        {361, 101, 101, 80202}, {360, 100, 100, 0}};
  for (const Case& c : cases)
    EXPECT_EQ(HslError(c.hue, c.saturation, c.lightness), c.error)
        << c.hue << " " << c.saturation << " " << c.lightness;
}

TEST(ColourOfHsl, RoundTripsDifferByAtMostOnePerByte) {
  for (int32_t colour = 0; colour < (1 << 24); colour += 9973) {
    const HslComponents hsl = HslOfColour(colour);
    const int32_t back = ColourOfHsl(hsl.hue, hsl.saturation, hsl.lightness);
    for (int shift : {0, 8, 16}) {
      const int a = colour >> shift & 0xff, b = back >> shift & 0xff;
      // Hue in whole degrees and percentages lose precision: a few units per byte.
      EXPECT_NEAR(a, b, 4) << std::hex << colour;
    }
  }
}

}  // namespace
}  // namespace tq
