// The SpO2 window (presets, manual length, moves) and the rules of the chart dialogs and the
// pie's bound fields.

#include <gtest/gtest.h>

#include "charts/ChartHost.h"
#include "charts/ChartRules.h"
#include "charts/Spo2Window.h"

namespace vesk {
namespace {

Spo2Window TwoHours() {
  Spo2Window w;
  const OleDateTime first = OleDateTime::FromParts(2024, 3, 30, 22, 0, 0);
  w.SetSeries(first, first.AddSeconds(7200));
  return w;
}

TEST(Spo2Window, OpensOnTheTenMinutePresetAtTheStart) {
  const Spo2Window w = TwoHours();
  EXPECT_EQ(w.Length(), 600);
  EXPECT_EQ(w.Grids(), 10);
  EXPECT_EQ(w.Start(), 0);
  EXPECT_EQ(w.ActivePreset(), kCmdTenMinutes);
  EXPECT_EQ(w.SeriesSeconds(), 7200);
}

TEST(Spo2Window, Presets) {
  Spo2Window w = TwoHours();
  ASSERT_TRUE(w.ApplyPreset(kCmdOneMinute));
  EXPECT_EQ(w.Length(), 60);
  EXPECT_EQ(w.Grids(), 6);
  ASSERT_TRUE(w.ApplyPreset(kCmdOneHour));
  EXPECT_EQ(w.Length(), 3600);
  EXPECT_EQ(w.Grids(), 6);
  EXPECT_EQ(w.GridSeconds(), 600);
  EXPECT_FALSE(w.ApplyPreset(kCmdPageLeft));
}

TEST(Spo2Window, ManualLengthGridCounts) {
  EXPECT_EQ(GridCountFor(60), 5);
  EXPECT_EQ(GridCountFor(61), 10);
  EXPECT_EQ(GridCountFor(600), 10);
  EXPECT_EQ(GridCountFor(601), 12);
  Spo2Window w = TwoHours();
  ASSERT_TRUE(w.SetManualLength(1, 30, false));
  EXPECT_EQ(w.Length(), 5400);
  EXPECT_EQ(w.Grids(), 12);
  EXPECT_EQ(w.Hours(), 1);
  EXPECT_EQ(w.Minutes(), 30);
  EXPECT_FALSE(w.SetManualLength(0, 0, false));  // below one second
  EXPECT_EQ(w.Length(), 5400);
  ASSERT_TRUE(w.SetManualLength(0, 0, true));  // all data
  EXPECT_EQ(w.Length(), 7200);
  EXPECT_TRUE(w.AllData());
  Spo2Window none;
  EXPECT_FALSE(none.SetManualLength(0, 0, true));  // no series: nothing to show
}

TEST(Spo2Window, TimeLabelSteps) {
  EXPECT_EQ(TimeLabelStep(60), 10);
  EXPECT_EQ(TimeLabelStep(61), 60);
  EXPECT_EQ(TimeLabelStep(600), 60);
  EXPECT_EQ(TimeLabelStep(3600), 300);  // a one-hour window every five minutes
  EXPECT_EQ(TimeLabelStep(7200), 3600);
}

TEST(Spo2Window, NavigationStopsAtBothEnds) {
  Spo2Window w = TwoHours();
  EXPECT_FALSE(w.MoveLeft());  // at the first time already
  EXPECT_EQ(w.Start(), 0);
  ASSERT_TRUE(w.MoveRight());
  EXPECT_EQ(w.Start(), 60);
  ASSERT_TRUE(w.MoveLeft());
  EXPECT_EQ(w.Start(), 0);
  ASSERT_TRUE(w.ApplyPreset(kCmdOneHour));
  int moves = 0;
  while (w.MoveRight()) ++moves;
  EXPECT_EQ(moves, 12);  // 600 s grids up to the last time, not beyond
  EXPECT_EQ(w.Start(), 7200);
  ASSERT_TRUE(w.SetStart(30));
  ASSERT_TRUE(w.MoveLeft());  // less than a grid left: stops at the first time
  EXPECT_EQ(w.Start(), 0);
}

TEST(Spo2Window, MappingsAndEventHitTest) {
  EXPECT_DOUBLE_EQ(Spo2Y(70, 100, 400), 400);
  EXPECT_DOUBLE_EQ(Spo2Y(100, 100, 400), 101);
  EXPECT_DOUBLE_EQ(PulseY(30, 0, 226), 226);
  EXPECT_DOUBLE_EQ(PulseY(255, 0, 226), 1);
  EXPECT_DOUBLE_EQ(WindowX(30, 60, 100, 700), 400);
  EXPECT_DOUBLE_EQ(WindowX(29.6, 60, 100, 700), 400);  // rounded to whole seconds
  EXPECT_DOUBLE_EQ(WindowX(10, 0, 100, 700), 100);     // no length, no division
  const std::vector<double> xs = {50, 200, 300, 900};
  EXPECT_EQ(NearestEvent(xs, 250, 100, 700), 1);   // tie: the first
  EXPECT_EQ(NearestEvent(xs, 110, 100, 700), -1);  // nearest lies left of the plot
  EXPECT_EQ(NearestEvent(xs, 699, 100, 700), -1);  // nearest lies right of it
  EXPECT_EQ(NearestEvent({}, 300, 100, 700), -1);
}

TEST(ChartRules, LengthEntry) {
  Spo2Window w = TwoHours();
  EXPECT_TRUE(ApplyLengthEntry(w, 0, 20, false, 600));
  EXPECT_EQ(w.Length(), 1200);
  EXPECT_EQ(w.Start(), 600);
  EXPECT_FALSE(ApplyLengthEntry(w, 0, 0, false, 0));
  EXPECT_FALSE(ApplyLengthEntry(w, 0, 5, false, 9000));  // start after the end
  EXPECT_EQ(w.Length(), 1200);                           // refused entries change nothing
  EXPECT_EQ(w.Start(), 600);
  EXPECT_TRUE(ApplyLengthEntry(w, 0, 0, true, 9000));
  EXPECT_EQ(w.Start(), 0);
  EXPECT_EQ(w.Length(), 7200);
}

TEST(ChartRules, EventFieldsNeedTheFirstFour) {
  const EventDialogValues old{2, 3, 88, 10, 12};
  auto v = ParseEventFields({"4", " 5 ", "90", "12", "15"}, old);
  ASSERT_TRUE(v.has_value());
  EXPECT_EQ(*v, (EventDialogValues{4, 5, 90, 12, 15}));
  v = ParseEventFields({"4", "5", "90", "12", ""}, old);
  ASSERT_TRUE(v.has_value());
  EXPECT_EQ(v->prMinTime, 12);
  EXPECT_FALSE(ParseEventFields({"4", "", "90", "12", "15"}, old).has_value());
  EXPECT_FALSE(ParseEventFields({"4", "5", "9x", "12", "15"}, old).has_value());
  EXPECT_FALSE(ParseEventFields({"-1", "5", "90", "12", "15"}, old).has_value());
}

TEST(ChartRules, RaisingALowerBoundLiftsTheUpperOne) {
  RangeLimits r;
  r = ApplyBoundEdit(r, kSysLowerField, 150);
  EXPECT_EQ(r.sysLow, 150);
  EXPECT_EQ(r.sysHigh, 150);
  r = ApplyBoundEdit(r, kDiaUpperField, 40);  // below its lower bound 60
  EXPECT_EQ(r.diaHigh, 60);
  r = ApplyBoundEdit(r, kPrUpperField, 120);
  EXPECT_EQ(r.prHigh, 120);
  EXPECT_EQ(r.prLow, 60);
  const RangeLimits same = ApplyBoundEdit(r, 1012, 5);
  EXPECT_EQ(same.sysLow, r.sysLow);
}

TEST(ChartRules, GraphTypeButtonAndErrorSuffixes) {
  EXPECT_EQ(NextGraphMode(0, false), 1);
  EXPECT_EQ(NextGraphMode(1, false), 0);
  EXPECT_EQ(NextGraphMode(NextGraphMode(0, false), false), 0);  // two presses: back to 0
  EXPECT_EQ(NextGraphMode(0, true), 3);
  EXPECT_EQ(NextGraphMode(3, true), 3);
  EXPECT_EQ(PaintErrorSuffix(kChartHistogram), "stogram in Repaint");
  EXPECT_EQ(PaintErrorSuffix(kChartPie), "Piegram in Repaint");
  EXPECT_EQ(PaintErrorSuffix(kChartCorrelation), "CorreLine in Repaint");
  EXPECT_EQ(PaintErrorSuffix(kChartSpo2Trend), "SpO2Trend in Repaint");
  EXPECT_EQ(SwitchErrorSuffix(kChartHistogram), ":on Histogram View");
  EXPECT_EQ(SwitchErrorSuffix(kChartPie), ":on Piegram View");
}

}  // namespace
}  // namespace vesk
