#include "platform/DateTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string>

namespace vesk {
namespace {

DateParts Parts(const OleDateTime& t) {
  DateParts p;
  EXPECT_TRUE(t.ToParts(p));
  return p;
}

TEST(DateTime, KnownDaysAroundTheEpoch) {
  EXPECT_EQ(OleDateTime::FromParts(1899, 12, 30).days, 0.0);
  EXPECT_EQ(OleDateTime::FromParts(1900, 1, 1).days, 2.0);
  EXPECT_EQ(OleDateTime::FromParts(2000, 1, 1).days, 36526.0);
  EXPECT_DOUBLE_EQ(OleDateTime::FromParts(2024, 2, 29, 18, 0).days, 45351.75);
  // Before the epoch the whole part counts back and the fraction is still the time of day.
  EXPECT_DOUBLE_EQ(OleDateTime::FromParts(1899, 12, 29, 6, 0).days, -1.25);
  EXPECT_EQ(OleDateTime::FromParts(1899, 12, 29).days, -1.0);
  EXPECT_EQ(Parts({-1.25, OleDateTime::Valid}), (DateParts{1899, 12, 29, 6, 0, 0}));
  EXPECT_EQ(Parts({-0.5, OleDateTime::Valid}), (DateParts{1899, 12, 30, 12, 0, 0}));
  EXPECT_EQ(Parts({-1.99999999, OleDateTime::Valid}), (DateParts{1899, 12, 30, 0, 0, 0}));
}

TEST(DateTime, RoundTripsOverTheWholeRange) {
  for (DateParts p : {DateParts{100, 1, 1, 0, 0, 0}, DateParts{1600, 2, 29, 23, 59, 59},
                      DateParts{1899, 12, 29, 23, 59, 59}, DateParts{1899, 12, 30, 0, 0, 1},
                      DateParts{1970, 1, 1, 12, 30, 15}, DateParts{9999, 12, 31, 23, 59, 59}}) {
    OleDateTime t = OleDateTime::FromParts(p);
    ASSERT_TRUE(t.IsValid()) << p.year;
    EXPECT_EQ(Parts(t), p) << p.year;
    int y, m, d;
    CivilFromDays(DaysFromCivil(p.year, p.month, p.day), y, m, d);
    EXPECT_EQ((DateParts{y, m, d, p.hour, p.minute, p.second}), p);
  }
}

TEST(DateTime, InvalidDatesAndLeapRules) {
  EXPECT_TRUE(IsValidDate(2000, 2, 29));
  EXPECT_TRUE(IsValidDate(2024, 2, 29));
  EXPECT_FALSE(IsValidDate(1900, 2, 29));
  EXPECT_FALSE(IsValidDate(2023, 2, 29));
  EXPECT_FALSE(IsValidDate(2023, 4, 31));
  EXPECT_FALSE(IsValidDate(2023, 0, 1));
  EXPECT_FALSE(IsValidDate(2023, 13, 1));
  EXPECT_FALSE(IsValidDate(2023, 1, 0));
  EXPECT_FALSE(IsValidDate(2023, 1, 1, 24));
  EXPECT_FALSE(IsValidDate(2023, 1, 1, 0, 60));
  EXPECT_FALSE(IsValidDate(2023, 1, 1, 0, 0, 60));
  EXPECT_FALSE(IsValidDate(99, 12, 31));
  EXPECT_FALSE(IsValidDate(10000, 1, 1));
  EXPECT_EQ(DaysInMonth(2100, 2), 28);
  EXPECT_EQ(DaysInMonth(2023, 13), 0);

  OleDateTime bad = OleDateTime::FromParts(2023, 2, 29);
  EXPECT_EQ(bad.status, OleDateTime::Invalid);
  DateParts p;
  EXPECT_FALSE(bad.ToParts(p));
  EXPECT_FALSE(bad.AddSeconds(60).IsValid());
  EXPECT_FALSE(OleDateTime{}.ToParts(p));  // null
  EXPECT_FALSE((OleDateTime{std::nan(""), OleDateTime::Valid}.ToParts(p)));
  EXPECT_FALSE((OleDateTime{1e9, OleDateTime::Valid}.ToParts(p)));
}

TEST(DateTime, AddSecondsAcrossDaysAndTheEpoch) {
  OleDateTime t = OleDateTime::FromParts(1899, 12, 30, 0, 30);
  EXPECT_EQ(Parts(t.AddSeconds(-3600)), (DateParts{1899, 12, 29, 23, 30, 0}));
  EXPECT_DOUBLE_EQ(t.AddSeconds(-3600).days, -1.0 - 23.5 / 24);
  OleDateTime leap = OleDateTime::FromParts(2024, 2, 28, 23, 0);
  EXPECT_EQ(Parts(leap.AddSeconds(3600)), (DateParts{2024, 2, 29, 0, 0, 0}));
  EXPECT_EQ(Parts(leap.AddSeconds(25 * 3600)), (DateParts{2024, 3, 1, 0, 0, 0}));
  // Many small steps do not drift off the second.
  OleDateTime walk = OleDateTime::FromParts(2024, 3, 30, 22, 0);
  for (int i = 0; i < 24 * 60; ++i) walk = walk.AddSeconds(60);
  EXPECT_EQ(Parts(walk), (DateParts{2024, 3, 31, 22, 0, 0}));
}

TEST(DateTime, IndependentOfTheLocalTimeZone) {
  const char* old = std::getenv("TZ");
  std::string saved = old ? old : "";
  OleDateTime before = OleDateTime::FromParts(2024, 3, 31, 2, 30);  // absent in Berlin
  int64_t stamp = MinuteStamp(2024, 3, 31, 2, 30);
  ::setenv("TZ", "Europe/Berlin", 1);
  ::tzset();
  OleDateTime berlin = OleDateTime::FromParts(2024, 3, 31, 2, 30);
  EXPECT_TRUE(berlin.IsValid());
  EXPECT_EQ(berlin, before);
  EXPECT_EQ(Parts(berlin), (DateParts{2024, 3, 31, 2, 30, 0}));
  EXPECT_EQ(MinuteStamp(2024, 3, 31, 2, 30), stamp);
  EXPECT_EQ(MinuteStamp(2024, 3, 31, 3, 30) - stamp, 60);
  if (old)
    ::setenv("TZ", saved.c_str(), 1);
  else
    ::unsetenv("TZ");
  ::tzset();
}

}  // namespace
}  // namespace vesk
