#include <gtest/gtest.h>

#include "AnalysisTestData.h"
#include "analysis/EventDetector.h"

namespace vesk {
namespace {
using test::Append;
using test::Series;

// The values the parameter dialog leaves behind: least change 2, shortest 2 s, rate limit 8.
EventParams SpO2Params() {
  return EventParams{255, 2, 2, 8, 20, 100, 0, 88};
}
EventParams PulseParams(int leastChange = 8) {
  return EventParams{255, 2, leastChange, 8, 20, 220, 0, 0};
}

// `level` from second 1 to 10, then `tail` from second 11 on.
std::vector<_SPO2_SAMPLE> Flat10Then(int level, std::initializer_list<int> tail,
                                     bool pulse = false) {
  auto s = Series(1, {level, level, level, level, level, level, level, level, level, level}, pulse);
  Append(s, Series(11, tail, pulse));
  return s;
}

std::vector<EventRecord> SpO2(const std::vector<_SPO2_SAMPLE>& s, EventParams p = SpO2Params()) {
  std::vector<EventRecord> ev;
  EXPECT_EQ(DetectSpO2Events(s, &p, ev), 1);
  return ev;
}

std::vector<EventRecord> Pulse(const std::vector<_SPO2_SAMPLE>& s, EventParams p = PulseParams()) {
  std::vector<EventRecord> ev;
  EXPECT_EQ(DetectPulseRateEvents(s, &p, ev), 1);
  return ev;
}

TEST(SpO2Events, DesaturationStartsBeforeTheFirstFallAndEndsBeforeTheRise) {
  // 96 at 1..10, then 94, 92, 91, 90 at 11..14, a rise at 15.
  const auto ev = SpO2(Flat10Then(96, {94, 92, 91, 90, 95, 95, 95}));
  ASSERT_EQ(ev.size(), 1u);
  EXPECT_EQ(ev[0], (EventRecord{96, 1, 10000, 14000, 6}));
}

TEST(SpO2Events, LevelValuesExtendTheEvent) {
  const auto ev = SpO2(Flat10Then(96, {94, 92, 91, 90, 90, 90, 95, 95}));
  ASSERT_EQ(ev.size(), 1u);
  EXPECT_EQ(ev[0], (EventRecord{96, 1, 10000, 16000, 6}));
}

TEST(SpO2Events, RisesAndLevelsMakeNoEvent) {
  EXPECT_TRUE(SpO2(Flat10Then(90, {92, 94, 96, 98, 98, 98})).empty());
  EXPECT_TRUE(SpO2(Flat10Then(96, {96, 96, 96})).empty());
}

TEST(SpO2Events, RateLimitIsStrict) {
  // 14 in 2 s is 7 per second: below the limit of 8.
  auto ev = SpO2(Flat10Then(96, {89, 82, 90, 90}));
  ASSERT_EQ(ev.size(), 1u);
  EXPECT_EQ(ev[0], (EventRecord{96, 1, 10000, 12000, 14}));
  // 16 in 2 s is exactly 8 per second: dropped.
  EXPECT_TRUE(SpO2(Flat10Then(96, {88, 80, 90, 90})).empty());
}

TEST(SpO2Events, DurationAndChangeLimits) {
  EXPECT_TRUE(SpO2(Flat10Then(96, {94, 97, 97})).empty()) << "1 s is shorter than 2 s";
  EXPECT_TRUE(SpO2(Flat10Then(96, {96, 95, 97, 97})).empty()) << "change 1 below 2";
  EXPECT_EQ(SpO2(Flat10Then(96, {95, 94, 97, 97})).size(), 1u) << "change 2 is enough";
  EventParams shortMax = SpO2Params();
  shortMax.maxTime = 3;
  EXPECT_TRUE(SpO2(Flat10Then(96, {94, 92, 91, 90, 95, 95}), shortMax).empty());
  shortMax.maxTime = 4;
  EXPECT_EQ(SpO2(Flat10Then(96, {94, 92, 91, 90, 95, 95}), shortMax).size(), 1u);
}

TEST(SpO2Events, InvalidValuesCutTheRun) {
  // 15 is below the lowest valid value 20: the run 10..12 ends there, too short.
  EXPECT_TRUE(SpO2(Flat10Then(96, {94, 15, 90, 88, 95})).empty());
  // A fall from an invalid value (101 > 100) starts no run; the run begins one second later.
  const auto ev = SpO2(Flat10Then(101, {99, 97, 95, 99}));
  ASSERT_EQ(ev.size(), 1u);
  EXPECT_EQ(ev[0], (EventRecord{99, 1, 11000, 13000, 4}));
}

TEST(SpO2Events, GapSplitsTheSeriesIntoSegments) {
  // 96 at 1..10, 94, 92 at 11, 12; nothing at 13; 90, 88, 86 at 14..16; rise at 17.
  auto s = Flat10Then(96, {94, 92});
  Append(s, Series(14, {90, 88, 86, 90, 90}));
  const auto ev = SpO2(s);
  ASSERT_EQ(ev.size(), 1u);
  EXPECT_EQ(ev[0], (EventRecord{90, 1, 14000, 16000, 4}));
}

TEST(SpO2Events, SwingMergesRunsOverASmallRebound) {
  const auto s = Flat10Then(96, {94, 92, 93, 91, 89, 95, 95});
  EventParams p = SpO2Params();
  auto apart = SpO2(s, p);
  ASSERT_EQ(apart.size(), 2u);
  EXPECT_EQ(apart[0], (EventRecord{96, 1, 10000, 12000, 4}));
  EXPECT_EQ(apart[1], (EventRecord{93, 1, 13000, 15000, 4}));
  p.swing = 3;
  const auto merged = SpO2(s, p);
  ASSERT_EQ(merged.size(), 1u);
  EXPECT_EQ(merged[0], (EventRecord{96, 1, 10000, 15000, 7}));
}

TEST(SpO2Events, SwingKeepsRunsApartOverALargeRebound) {
  EventParams p = SpO2Params();
  p.swing = 3;
  const auto ev = SpO2(Flat10Then(98, {94, 92, 96, 93, 90, 97, 97}), p);
  ASSERT_EQ(ev.size(), 2u);
  EXPECT_EQ(ev[0], (EventRecord{98, 1, 10000, 12000, 6}));
  EXPECT_EQ(ev[1], (EventRecord{96, 1, 13000, 15000, 6}));
}

TEST(PulseRateEvents, RunAfterATurnStartsOneSecondLater) {
  // 90 at 1..19, a fall to 80 at 20, then 84, 88, 92 at 21..23 and a fall at 24.
  auto s =
      Series(1, {90, 90, 90, 90, 90, 90, 90, 90, 90, 90, 90, 90, 90, 90, 90, 90, 90, 90, 90}, true);
  Append(s, Series(20, {80, 84, 88, 92, 85, 85, 85}, true));
  const auto ev = Pulse(s);
  ASSERT_EQ(ev.size(), 1u);
  EXPECT_EQ(ev[0], (EventRecord{84, 1, 21000, 23000, 8}));
}

TEST(PulseRateEvents, SegmentStartingWithARiseStartsAtOnceAndFallsCountNegative) {
  // The direction starts as rising: 100 -> 104 starts the run at 10.
  auto ev = Pulse(Flat10Then(100, {104, 108, 112, 112, 100, 100}, true));
  ASSERT_EQ(ev.size(), 1u);
  EXPECT_EQ(ev[0], (EventRecord{100, 1, 10000, 14000, 12}));
  // A steady fall: the first falling second turns the direction, so the run starts one later.
  ev = Pulse(Flat10Then(120, {116, 112, 108, 104, 104, 110, 110}, true));
  ASSERT_EQ(ev.size(), 1u);
  EXPECT_EQ(ev[0], (EventRecord{116, 1, 11000, 15000, -12}));
}

TEST(PulseRateEvents, ValueAboveTheHighestValidEndsTheRunBeforeIt) {
  const auto ev = Pulse(Flat10Then(100, {104, 108, 112, 230, 100, 100}, true));
  ASSERT_EQ(ev.size(), 1u);
  EXPECT_EQ(ev[0], (EventRecord{100, 1, 10000, 13000, 12}));
}

TEST(PulseRateEvents, StrictRateAndLeastChangeUseTheSize) {
  // Falling 16 in 2 s after the turn second: rate 8 is not below 8.
  EXPECT_TRUE(Pulse(Flat10Then(120, {118, 110, 102, 110, 110}, true)).empty());
  EXPECT_TRUE(Pulse(Flat10Then(100, {104, 107, 100}, true)).empty()) << "change 7 below 8";
}

TEST(EventDetection, MissingInputFailsAndEmptiesTheList) {
  std::vector<EventRecord> ev(3);
  const EventParams p = SpO2Params();
  EXPECT_EQ(DetectSpO2Events({}, &p, ev), 0);
  EXPECT_TRUE(ev.empty());
  ev.resize(2);
  EXPECT_EQ(DetectPulseRateEvents(Series(1, {80, 90}, true), nullptr, ev), 0);
  EXPECT_TRUE(ev.empty());
}

TEST(EventDetection, RepeatedDecreasingAndAbsurdOffsetsAreSkipped) {
  auto s = Flat10Then(96, {94, 92, 91, 90});
  _SPO2_SAMPLE stray = s[3];
  stray.spo2 = 50;
  s.push_back(stray);  // offset 4 again, long after 14: ignored, not written back
  s.push_back(s[13]);  // offset 14 repeated
  _SPO2_SAMPLE far = s[0];
  far.offset = 2000000000;  // would need gigabytes; skipped
  s.push_back(far);
  Append(s, Series(15, {95, 95}));
  _SPO2_SAMPLE zero = s[0];
  zero.offset = 0;
  s.insert(s.begin(), zero);
  const auto ev = SpO2(s);
  ASSERT_EQ(ev.size(), 1u);
  EXPECT_EQ(ev[0], (EventRecord{96, 1, 10000, 14000, 6}));
}

}  // namespace
}  // namespace vesk
