#include "platform/DateTime.h"

#include <gtest/gtest.h>

#include "support/System.h"
#include "support/TempDir.h"

namespace movra {
namespace {

TEST(DateTime, EncodesDaysSinceTheEpochOf1899) {
  EXPECT_DOUBLE_EQ(EncodeDateTime({1899, 12, 30, 0, 0, 0}), 0.0);
  EXPECT_DOUBLE_EQ(EncodeDateTime({1900, 1, 1, 12, 0, 0}), 2.5);
  const DateTimeParts p = DecodeDateTime(EncodeDateTime({2006, 3, 3, 9, 7, 2}));
  EXPECT_EQ(p.year, 2006);
  EXPECT_EQ(p.month, 3);
  EXPECT_EQ(p.day, 3);
  EXPECT_EQ(p.hour, 9);
  EXPECT_EQ(p.minute, 7);
  EXPECT_EQ(p.second, 2);
}

TEST(DateTime, WritesTheShortDateAndLongTime) {
  EXPECT_EQ(DateTimeToText(EncodeDateTime({2006, 3, 3, 9, 7, 2})), "2006/3/3 9:07:02");
  EXPECT_EQ(DateTimeToText(EncodeDateTime({2006, 3, 3, 0, 0, 0})), "2006/3/3");
  EXPECT_EQ(DateTimeToText(EncodeDateTime({2107, 12, 31, 23, 59, 58})), "2107/12/31 23:59:58");
}

TEST(DateTime, ReadsTheFormsOtherInstallationsWrite) {
  const DateTime expected = EncodeDateTime({2006, 3, 3, 9, 7, 2});
  EXPECT_DOUBLE_EQ(TextToDateTime("2006/3/3 9:07:02"), expected);
  EXPECT_DOUBLE_EQ(TextToDateTime("2006-03-03 09:07:02"), expected);
  // Month and day keep their places with either separator.
  EXPECT_DOUBLE_EQ(TextToDateTime("2006-11-04 9:07"), EncodeDateTime({2006, 11, 4, 9, 7, 0}));
  EXPECT_DOUBLE_EQ(TextToDateTime("2006-1-25"), EncodeDateTime({2006, 1, 25, 0, 0, 0}));
  EXPECT_DOUBLE_EQ(TextToDateTime("2006/3/3 9:07"), EncodeDateTime({2006, 3, 3, 9, 7, 0}));
  EXPECT_DOUBLE_EQ(TextToDateTime("2006/3/3"), EncodeDateTime({2006, 3, 3, 0, 0, 0}));
}

TEST(DateTime, RejectsWhatIsNotADateTime) {
  for (const char* text : {"", "abc", "2006/13/1", "2006/2/30", "2006/3/3 25:00:00", "2006/3-3",
                           "2006/3/3 9", "2006/3/3\r", "2006/3/3 9:07:02x", "2006/3/39:07"}) {
    EXPECT_THROW(TextToDateTime(text), ConversionError) << text;
    EXPECT_FALSE(TryTextToDateTime(text).has_value()) << text;
  }
}

// Local fields give the moment the zone's rules say, also across a change
// to summer time; the fields alone count as UTC seconds.
TEST(DateTime, LocalFieldsGiveTheMomentOfTheZone) {
  MOVRA_SKIP_WITHOUT(kPosixTimeZones);
  struct Case {
    const char* tz;
    DateTimeParts local;
    std::time_t utc;
  };
  const Case cases[] = {
      {"CST-8", {2006, 3, 3, 9, 7, 2}, 1141348022},
      {"CST-8", {1970, 1, 1, 8, 0, 0}, 0},
      {"EST5EDT,M4.1.0,M10.5.0", {2006, 4, 1, 12, 0, 0}, 1143910800},  // winter time, UTC-5
      {"EST5EDT,M4.1.0,M10.5.0", {2006, 4, 2, 12, 0, 0}, 1143993600},  // summer time, UTC-4
  };
  for (const Case& c : cases) {
    test::ScopedTimeZone zone(c.tz);
    EXPECT_EQ(TimeTOfLocal(c.local), c.utc) << c.tz << " " << c.local.day;
  }
  EXPECT_EQ(CalendarSeconds(EncodeDateTime({2006, 3, 3, 9, 7, 2})), 1141376822);
  EXPECT_EQ(CalendarSeconds(EncodeDateTime({1969, 12, 31, 23, 59, 59})), -1);
}

}  // namespace
}  // namespace movra
