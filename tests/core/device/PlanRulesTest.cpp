// The plan-dialog rules as functions.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "device/PlanRules.h"
#include "platform/CodePage.h"

namespace vesk::plan {
namespace {

TEST(PlanRules, IntervalTableEdges) {
  EXPECT_EQ(IntervalFromIndex(0), -2);
  EXPECT_EQ(IntervalFromIndex(1), 5);
  EXPECT_EQ(IntervalFromIndex(9), 120);
  EXPECT_EQ(IntervalFromIndex(10), -1);
  EXPECT_EQ(IntervalFromIndex(-1), -1);
  EXPECT_EQ(IndexFromInterval(45), 6);
  EXPECT_EQ(IndexFromInterval(25), 0);  // not in the list
  EXPECT_EQ(IndexFromInterval(-2), 0);
}

TEST(PlanRules, HalfHourIndexes) {
  EXPECT_EQ(TimeFromIndex(14), (HourMinute{7, 0}));
  EXPECT_EQ(TimeFromIndex(44), (HourMinute{22, 0}));
  EXPECT_EQ(TimeFromIndex(47), (HourMinute{23, 30}));
  EXPECT_EQ(IndexFromTime(7, 0), 14);
  EXPECT_EQ(IndexFromTime(7, 45), 15);  // minutes between slots round down
  EXPECT_EQ(IndexFromTime(-1, -1), 0);
  EXPECT_EQ(SpecialTimeFromIndex(1), (HourMinute{0, 0}));
  EXPECT_EQ(SpecialIndexFromTime(0, 0), 1);
  EXPECT_EQ(SpecialIndexFromTime(-1, -1), 0);
  EXPECT_EQ(SpecialIndexFromTime(255, 255), 0);
  // A stored plan may hold any int32; the slot of a time off the clock is the first one.
  EXPECT_EQ(IndexFromTime(INT32_MAX, INT32_MAX), 0);
  EXPECT_EQ(IndexFromTime(35791395, 0), 0);
  EXPECT_EQ(SpecialIndexFromTime(INT32_MAX, 0), 0);
}

TEST(PlanRules, SpecialPeriodIsOffWhenAnyPartIsNone) {
  for (auto [s, e, i] : {std::tuple{0, 5, 3}, std::tuple{4, 0, 3}, std::tuple{4, 5, 0}}) {
    _BP_TRANSPORT_INFO p;
    p.specialInterval = 99;
    ApplySpecialPeriod(s, e, i, p);
    EXPECT_EQ(p.specialStartHour, -1);
    EXPECT_EQ(p.specialStartMinute, -1);
    EXPECT_EQ(p.specialEndHour, -1);
    EXPECT_EQ(p.specialEndMinute, -1);
    EXPECT_EQ(p.specialInterval, 0);
  }
  EXPECT_FALSE(SpecialIntervalSelectable(5, 5));
  EXPECT_FALSE(SpecialIntervalSelectable(5, 0));
  EXPECT_TRUE(SpecialIntervalSelectable(5, 6));
}

TEST(PlanRules, FlagsPerFamily) {
  _BP_TRANSPORT_INFO p;
  p.startKey = 7, p.manualSet = 7;
  ApplyFlags(PlanFamily::Talo, 1, 1, p);
  EXPECT_EQ(p.startKey, 7);
  ApplyFlags(PlanFamily::Miru, 0, 0, p);
  EXPECT_EQ(p.startKey, 1);
  EXPECT_EQ(p.manualSet, 0);
  ApplyFlags(PlanFamily::PexaC, 1, 0, p);
  EXPECT_EQ(p.startKey, 0);
  EXPECT_EQ(p.manualSet, 0);
  ApplyFlags(PlanFamily::Pexa, 0, 1, p);
  EXPECT_EQ(p.startKey, 1);
  EXPECT_EQ(p.manualSet, 0xFF);
}

TEST(PlanRules, PexaModesAndUnknownModeIsAdult) {
  EXPECT_EQ(PexaLimitsForMode(1).maxPressure, (Range{163, 243}));
  EXPECT_EQ(PexaLimitsForMode(1).sysHigh, 120);
  EXPECT_EQ(PexaLimitsForMode(2).dia, (Range{10, 100}));
  EXPECT_EQ(PexaLimitsForMode(2).mapLow, 25);
  EXPECT_EQ(PexaLimitsForMode(7).maxPressureValue, 280);
  EXPECT_EQ(PexaLimitsForMode(-1).sys, (Range{40, 270}));
}

TEST(PlanRules, TypedNamesAreCutByBytesNeverMidCharacter) {
  std::string wide;
  for (int i = 0; i < 16; ++i) wide += "\xe7\x8e\x8b";  // 16 × U+738B, 2 bytes each
  const std::string cut = LimitTypedName(wide);
  EXPECT_EQ(cut, wide.substr(0, 15 * 3));
  EXPECT_EQ(LimitTypedName("Short name"), "Short name");
  // 14 characters or fewer are never counted, even when wide.
  EXPECT_EQ(LimitTypedName(wide.substr(0, 14 * 3)), wide.substr(0, 14 * 3));
  EXPECT_EQ(LimitTypedName(std::string(40, 'a')), std::string(30, 'a'));
  EXPECT_EQ(
      LimitTypedId("\xe7\x8e\x8b\xe7\x8e\x8b\xe7\x8e\x8b\xe7\x8e\x8b\xe7\x8e\x8b\xe7\x8e\x8b"),
      "\xe7\x8e\x8b\xe7\x8e\x8b\xe7\x8e\x8b\xe7\x8e\x8b\xe7\x8e\x8b");  // 5 × 2 = 10 bytes
  EXPECT_EQ(TrimBlanks(" \t Ann Lee \r\n"), "Ann Lee");
  EXPECT_EQ(TrimBlanks("   "), "");
}

TEST(PlanRules, StoredNameAndIdRespectByteLimitsAndZeroFill) {
  _BP_TRANSPORT_INFO p;
  std::memset(p.patientName, 'x', sizeof p.patientName);
  SetPlanName(p, std::string(40, 'N'));
  EXPECT_EQ(std::string(p.patientName), std::string(30, 'N'));
  EXPECT_EQ(p.patientName[30], 0);
  std::string wide;
  for (int i = 0; i < 6; ++i) wide += "\xe7\x8e\x8b";
  SetPlanId(p, "A" + wide);  // 1 + 6 × 2 bytes: only 5 wide characters fit in 11
  EXPECT_EQ(std::strlen(p.patientId), 11u);
  EXPECT_EQ(codepage::FromAnsi(p.patientId), "A" + wide.substr(0, 15));
  EXPECT_EQ(p.patientId[11], 0);
}

TEST(PlanRules, PatientIdStampAndAllZeroStartFix) {
  EXPECT_EQ(PatientIdStamp({2024, 5, 6, 9, 4, 59}), "2405060904");
  _BP_TRANSPORT_INFO p;
  p.awakeHour = p.awakeMinute = p.asleepHour = p.asleepMinute = 0;
  FixAllZeroStartTimes(p);
  EXPECT_EQ(p.awakeHour, 7);
  EXPECT_EQ(p.asleepHour, 22);
  p.awakeHour = 0, p.asleepHour = 0, p.asleepMinute = 30;
  FixAllZeroStartTimes(p);  // not all zero: kept
  EXPECT_EQ(p.awakeHour, 0);
}

}  // namespace
}  // namespace vesk::plan
