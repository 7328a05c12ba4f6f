// Angles: formatting with its carries, and the marker rules of the parser.
#include "services/angle_dms.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace tq {
namespace {

TEST(AngleToDms, FormatsSignDegreesMinutesSeconds) {
  struct Case {
    double angle;
    const char16_t* text;
  };
  const Case cases[] = {
      {45.5, u"045°30'00''"},
      {-45.5, u"-045°30'00''"},
      {-45, u"-045°00'00''"},
      {0, u"000°00'00''"},
      {359.9999999, u"360°00'00''"},  // carry from the seconds into the degrees
      {45.504166666666667, u"045°30'15''"},
      {10.341666666666667, u"010°20'30''"},
      {370, u"010°00'00''"},
      {-725.25, u"-005°15'00''"},
      {0.9999999, u"001°00'00''"},
      {-0.9999999, u"-001°00'00''"},
      {2.75 / 3600, u"000°00'03''"},  // seconds round half up
      {1e300 - 1e300, u"000°00'00''"},
      {-0.0, u"000°00'00''"},
      {std::numeric_limits<double>::quiet_NaN(), u"000°00'00''"},  // non-finite: zero, signed
      {std::numeric_limits<double>::infinity(), u"000°00'00''"},
      {-std::numeric_limits<double>::infinity(), u"-000°00'00''"},
  };
  for (const Case& c : cases) EXPECT_EQ(AngleToDms(c.angle), std::u16string(c.text)) << c.angle;
}

TEST(AngleToDms, HugeAnglesKeepTheirDegreesModulo360) {
  const std::u16string text = AngleToDms(1e300);
  ASSERT_EQ(text.size(), 11u);
  EXPECT_EQ(text.substr(3), u"°00'00''");
}

TEST(ReadDms, ReadsDegreesMinutesAndSeconds) {
  struct Case {
    const char16_t* text;
    double angle;
  };
  const Case cases[] = {
      {u"45°30'15''", 45 + 30 / 60.0 + 15 / 3600.0},
      {u"-45°", -45},
      {u"12°", 12},
      {u"370°", 10},
      {u"10°20'30\"", 10 + 20 / 60.0 + 30 / 3600.0},
      {u"10°20\u201930\u2019\u2019", 10 + 20 / 60.0 + 30 / 3600.0},  // curly apostrophes
      {u"10°20\u203230\u2032\u2032", 10 + 20 / 60.0 + 30 / 3600.0},  // primes
      {u"10°20\ua78c30\ua78c\ua78c", 10 + 20 / 60.0 + 30 / 3600.0},  // last of the list
      {u"30'", 0.5},                                                 // minutes alone
      {u"15''", 15 / 3600.0},  // seconds alone: the pair is no minute marker
      {u"1°2'3.5''", 1 + 2 / 60.0 + 3.5 / 3600.0},
      {u"1°2'3.5e1\"", 1 + 2 / 60.0 + 35 / 3600.0},
      {u"30'45°", 0.5},  // a degree sign after the minutes is ignored
      {u"7°x'", 7},      // no digits read as 0
      {u"+7°", 7},
      {u"-0°", 0},
  };
  for (const Case& c : cases) {
    const DmsReading r = ReadDms(c.text);
    EXPECT_EQ(r.failure, DmsFailure::kNone) << "case " << (&c - cases);
    EXPECT_NEAR(r.angle, c.angle, 1e-12) << "case " << (&c - cases);
  }
}

TEST(ReadDms, MultipliesByTheExactConstants) {
  // (45 + 30 x 0.016666666666666666) + 15 x 0.0002777777777777778, as the device computes it.
  EXPECT_EQ(ReadDms(u"45°30'15''").angle,
            45.0 + 30 * 0.016666666666666666 + 15 * 0.0002777777777777778);
}

TEST(ReadDms, Failures) {
  struct Case {
    const char16_t* text;
    DmsFailure failure;
    int32_t offending;
  };
  const Case cases[] = {
      {u"45°75'", DmsFailure::kMinutesTooLarge, 75},
      {u"45°60'", DmsFailure::kMinutesTooLarge, 60},
      {u"45°75'99''", DmsFailure::kMinutesTooLarge, 75},  // minutes are checked first
      {u"45°10'60''", DmsFailure::kSecondsTooLarge, 60},
      {u"45°10'75.9''", DmsFailure::kSecondsTooLarge, 75},
      {u"1e999''", DmsFailure::kSecondsTooLarge, INT32_MAX},
      {u"45°99999999999'", DmsFailure::kMinutesTooLarge, INT32_MAX},
      {u"45", DmsFailure::kUnreadable, 0},
      {u"", DmsFailure::kUnreadable, 0},
      {u"-", DmsFailure::kUnreadable, 0},
      {u"°", DmsFailure::kUnreadable, 0},  // a marker at position 0 is not used
      {u"''", DmsFailure::kUnreadable, 0},
      {u"--5°", DmsFailure::kUnreadable, 0},      // negative degrees
      {u"5°-3'", DmsFailure::kUnreadable, 0},     // negative minutes
      {u"5°3'-1''", DmsFailure::kUnreadable, 0},  // negative seconds
  };
  for (const Case& c : cases) {
    const DmsReading r = ReadDms(c.text);
    EXPECT_EQ(r.failure, c.failure) << "case " << (&c - cases);
    EXPECT_EQ(r.offending, c.offending) << "case " << (&c - cases);
    EXPECT_EQ(r.angle, 0);
  }
}

TEST(ReadDms, FormattedAnglesReadBack) {
  for (double angle = -359.5; angle < 360; angle += 7.123) {
    const DmsReading r = ReadDms(AngleToDms(angle));
    ASSERT_EQ(r.failure, DmsFailure::kNone) << angle;
    EXPECT_NEAR(r.angle, angle, 0.5 / 3600 + 1e-9) << angle;
  }
}

}  // namespace
}  // namespace tq
