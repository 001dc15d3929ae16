// The trend chart's arithmetic: time and value mappings, zoom limits, scroll requests, the
// scaling scan and range, limit steps and the nearest reading.

#include <gtest/gtest.h>

#include "ChartTestSupport.h"
#include "charts/ChartScroll.h"
#include "charts/TimeAxis.h"
#include "charts/TrendMath.h"
#include "charts/ValueAxis.h"

namespace vesk {
namespace {

OleDateTime At(int day, int hour, int minute, int second = 0) {
  return OleDateTime::FromParts(2024, 3, day, hour, minute, second);
}

TimeAxis DayAxis() {
  TimeAxis axis;
  axis.SetSpan(At(30, 9, 0), At(31, 9, 0));
  axis.plot = {100, 50, 1100, 550};
  return axis;
}

TEST(TimeAxis, MapsTimesByWholeSecondsAtOnePixelPerMinute) {
  TimeAxis axis = DayAxis();
  ASSERT_TRUE(axis.IsValid());
  EXPECT_DOUBLE_EQ(axis.XOf(At(30, 9, 0)), 0.0);
  EXPECT_DOUBLE_EQ(axis.XOf(At(30, 10, 0)), 60.0);
  // 59 s land on 59 whole seconds, not 58.999...
  EXPECT_DOUBLE_EQ(axis.XOf(At(30, 9, 0, 59)), 59.0 / 60.0);
  EXPECT_DOUBLE_EQ(axis.TotalWidth(), 1440.0);
  ASSERT_TRUE(axis.SetScroll(30));
  EXPECT_DOUBLE_EQ(axis.XOf(At(30, 9, 0)), -30.0);  // the first time maps to -offset
  EXPECT_DOUBLE_EQ(axis.XOf(At(30, 8, 59)), -1.0);  // earlier times are not placed
  double x = 0;
  EXPECT_FALSE(axis.Place(At(30, 8, 59), x));
  ASSERT_TRUE(axis.SetZoom(2.0));
  EXPECT_DOUBLE_EQ(axis.XOf(At(30, 10, 0)), 120.0 - 30.0);
  EXPECT_FALSE(axis.SetScroll(-5) && axis.ScrollOffset() < 0);
}

TEST(TimeAxis, WithoutSpanNothingIsPlaced) {
  TimeAxis single;
  single.SetSpan(At(30, 9, 0), At(30, 9, 0));  // one reading: no time span
  EXPECT_FALSE(single.IsValid());
  EXPECT_DOUBLE_EQ(single.XOf(At(30, 9, 0)), -1.0);
  EXPECT_DOUBLE_EQ(single.TotalWidth(), 0.0);
  TimeAxis empty;
  EXPECT_FALSE(empty.IsValid());
  TimeAxis noUnit = DayAxis();
  noUnit.SetUnits(0, 1);
  EXPECT_FALSE(noUnit.IsValid());
  EXPECT_DOUBLE_EQ(noUnit.XOf(At(30, 10, 0)), -1.0);
}

TEST(TimeAxis, EqualSpacingDividesThePlotByTheReadingCount) {
  TimeAxis axis = DayAxis();
  axis.SetEqualSpacing(true, 4);
  EXPECT_DOUBLE_EQ(axis.XOfIndex(0), 125.0);
  EXPECT_DOUBLE_EQ(axis.XOfIndex(3), 875.0);
  EXPECT_DOUBLE_EQ(axis.TotalWidth(), 4.0);
  axis.SetEqualSpacing(true, 0);
  EXPECT_DOUBLE_EQ(axis.XOfIndex(0), -1.0);
}

TEST(ZoomLimits, TimeProductMustLieInOpenClosedInterval) {
  TimeAxis axis = DayAxis();
  EXPECT_FALSE(axis.SetZoom(0.2));  // product 0.2 is refused
  EXPECT_TRUE(axis.SetZoom(0.2001));
  EXPECT_TRUE(axis.SetZoom(10.0));  // exactly 10 is accepted
  EXPECT_FALSE(axis.SetZoom(10.0001));
  EXPECT_DOUBLE_EQ(axis.Zoom(), 10.0);
  EXPECT_FALSE(axis.SetStretch(1.01));  // 10 * 1.01 > 10
  EXPECT_TRUE(axis.SetStretch(0.5));
  axis.FoldStretch();
  EXPECT_DOUBLE_EQ(axis.Zoom(), 5.0);
  EXPECT_DOUBLE_EQ(axis.Stretch(), 1.0);
  axis.SetFixed(true);
  EXPECT_FALSE(axis.SetZoom(1.0));
  EXPECT_FALSE(axis.SetScroll(10));
}

TEST(ZoomLimits, ValueProductMustLieInOpenClosedInterval) {
  ValueAxis axis;
  EXPECT_FALSE(axis.SetZoom(0.3));
  EXPECT_TRUE(axis.SetZoom(2.0));
  EXPECT_FALSE(axis.SetZoom(2.01));
  EXPECT_FALSE(axis.SetStretch(1.5));
  EXPECT_TRUE(axis.SetStretch(0.5));
  axis.SetFixed(true);
  EXPECT_FALSE(axis.SetStretch(1.0));
}

TEST(ValueAxis, RangeRulesAndMapping) {
  ValueAxis axis;
  axis.plot = {0, 100, 500, 400};
  EXPECT_FALSE(axis.IsValid());
  EXPECT_EQ(axis.YOf(120), 400);  // an unset axis never divides by zero
  EXPECT_TRUE(axis.SetRange(0, 300));
  EXPECT_FALSE(axis.SetRange(0, 301));
  EXPECT_FALSE(axis.SetRange(300, 300));
  EXPECT_FALSE(axis.SetRange(-1, 100));
  EXPECT_FALSE(axis.SetRange(120, 100));
  EXPECT_EQ(axis.Maximum(), 300);
  ASSERT_TRUE(axis.SetRange(50, 200));
  // y = bottom - (300 / 150 * (v - 50) - 1) + scroll, truncated.
  EXPECT_EQ(axis.YOf(50), 401);
  EXPECT_EQ(axis.YOf(200), 101);
  EXPECT_EQ(axis.YOf(125), 251);
  ASSERT_TRUE(axis.SetZoom(2.0));
  ASSERT_TRUE(axis.SetScroll(100));
  EXPECT_EQ(axis.YOf(125), 400 - (2.0 * 75 * 2.0 - 1) + 100);
  EXPECT_DOUBLE_EQ(axis.TotalHeight(), 600.0);
  ASSERT_TRUE(axis.SetRange(60, 180));  // a new range resets zoom and scroll
  EXPECT_DOUBLE_EQ(axis.Zoom(), 1.0);
  EXPECT_EQ(axis.ScrollOffset(), 0);
}

TEST(ScrollRequests, LinePageTrackAndEnds) {
  const ScrollRange range{0, 400, 100};
  EXPECT_EQ(NextScrollPosition(ScrollRequest::LineForward, 0, range, 0, true), 20);
  EXPECT_EQ(NextScrollPosition(ScrollRequest::LineBack, 10, range, 0, true), 0);
  EXPECT_EQ(NextScrollPosition(ScrollRequest::PageBack, 50, range, 0, true), 0);
  EXPECT_EQ(NextScrollPosition(ScrollRequest::PageForward, 350, range, 0, true), 400);
  EXPECT_EQ(NextScrollPosition(ScrollRequest::PageForward, 100, range, 0, true), 200);
  EXPECT_EQ(NextScrollPosition(ScrollRequest::Track, 0, range, 123, true), 123);
  EXPECT_EQ(NextScrollPosition(ScrollRequest::Track, 0, range, -1, true), 400);
  EXPECT_EQ(NextScrollPosition(ScrollRequest::Track, 50, range, -1, false), 0);
  EXPECT_EQ(NextScrollPosition(ScrollRequest::Top, 250, range, 0, false), 0);
  EXPECT_EQ(NextScrollPosition(ScrollRequest::Bottom, 0, range, 0, false), 400);
  // A tiny range still moves by one pixel per line.
  EXPECT_EQ(NextScrollPosition(ScrollRequest::LineForward, 3, {0, 10, 2}, 0, true), 4);
}

TEST(ScrollRequests, BarsAppearOnlyWhenTheContentIsLarger) {
  EXPECT_FALSE(PlanHorizontalBar(900, 1000).visible);
  EXPECT_FALSE(PlanHorizontalBar(500, 0).visible);  // zero-width window
  const ScrollBarPlan h = PlanHorizontalBar(2000, 1000);
  EXPECT_TRUE(h.visible);
  EXPECT_EQ(h.range.max, 1000);
  EXPECT_EQ(h.range.page, 500);
  const ScrollBarPlan v = PlanVerticalBar(800, 400);
  EXPECT_TRUE(v.visible);
  EXPECT_EQ(v.range.max, 370);
  EXPECT_EQ(PlanVerticalBar(420, 400).range.max, 0);
}

TEST(TrendScaling, ScanSkipsInvalidAndExcludedReadings) {
  std::vector<_BP_RECORD> r = {test::Reading(30, 9, 0, 150, 90, 60),
                               test::Reading(30, 9, 30, 0, 0, 0),  // failed measurement
                               test::Reading(30, 10, 0, 210, 95, 80),
                               test::Reading(30, 11, 0, 130, 55, 75)};
  r[2].included = 0;
  const TrendScan scan = ScanReadings(r);
  EXPECT_EQ(scan.validCount, 3);
  EXPECT_EQ(scan.firstValid, 0);
  EXPECT_EQ(scan.lastValid, 3);
  EXPECT_EQ(scan.highest, 150);  // the excluded 210 does not count
  EXPECT_EQ(scan.lowest, 55);
}

TEST(TrendScaling, RangeHoldsBothLimitLinesAndStaysOnTheScale) {
  TrendLimits limits;  // 135/85 awake, 120/70 asleep
  TrendScan scan;
  scan.anyIncluded = true;
  scan.highest = 128;
  scan.lowest = 75;
  ValueRange r = TrendValueRange(scan, limits);
  EXPECT_EQ(r.maximum, 135);
  EXPECT_EQ(r.minimum, 70);
  scan.highest = 320;  // valid readings go up to 399
  scan.lowest = 0;
  r = TrendValueRange(scan, limits);
  EXPECT_EQ(r.maximum, 300);
  EXPECT_EQ(r.minimum, 0);
  scan.anyIncluded = false;  // everything excluded: the limits alone
  r = TrendValueRange(scan, limits);
  EXPECT_EQ(r.minimum, 70);
  EXPECT_EQ(r.maximum, 135);
}

TEST(LimitSteps, StepAtTheAsleepAndAwakeStarts) {
  TimeAxis axis = DayAxis();  // 09:00 to 09:00, 1 px per minute
  const std::vector<LimitStep> steps = BuildLimitSteps(axis, 1440, 7 * 60, 22 * 60);
  ASSERT_EQ(steps.size(), 6u);
  EXPECT_FALSE(steps[0].asleep);
  // Asleep runs after 22:00 (exclusive) and before 07:00.
  EXPECT_DOUBLE_EQ(steps[1].x, 13 * 60 + 1);
  EXPECT_TRUE(steps[2].asleep);
  EXPECT_DOUBLE_EQ(steps[3].x, 22 * 60);
  EXPECT_FALSE(steps[4].asleep);
  EXPECT_DOUBLE_EQ(steps.back().x, 1440.0);
  EXPECT_TRUE(BuildLimitSteps(axis, 1440, 420, 1320, 4).size() <= 4);
  axis.SetEqualSpacing(true, 10);
  EXPECT_TRUE(BuildLimitSteps(axis, 1440, 420, 1320).empty());
}

TEST(HitTest, NearestInsideThePlotFirstWinsTies) {
  const std::vector<double> xs = {-1.0, 10.0, 30.0, 50.0, 1200.0};
  EXPECT_EQ(NearestPosition(xs, 28, 1000), 2);
  EXPECT_EQ(NearestPosition(xs, 20, 1000), 1);    // tie between 10 and 30
  EXPECT_EQ(NearestPosition(xs, 1190, 1000), 3);  // 1200 lies outside the plot
  EXPECT_EQ(NearestPosition({}, 5, 1000), -1);
  EXPECT_EQ(NearestPosition(std::vector<double>{-1.0}, 0, 1000), -1);
}

}  // namespace
}  // namespace vesk
