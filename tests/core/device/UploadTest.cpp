// Plans built by the plan-dialog rules, uploaded through the simulator: the 184 bytes the
// recorder receives must be exactly the expected plan.
#include <gtest/gtest.h>

#include <cstring>

#include "SimHarness.h"
#include "device/LinkMessages.h"
#include "device/PlanRules.h"

namespace vesk {
namespace {

using test::SimHarness;

std::array<uint8_t, 184> Bytes(const _BP_TRANSPORT_INFO& plan) {
  std::array<uint8_t, 184> out{};
  link::EncodePlan(plan, out.data());
  return out;
}

const DateParts kNow{2024, 5, 6, 9, 41, 17};

// The expected plan written out field by field, independent of the rules.
_BP_TRANSPORT_INFO Expected(const char* name, const char* id) {
  _BP_TRANSPORT_INFO p;
  std::strcpy(p.patientName, name);
  std::strcpy(p.patientId, id);
  p.year = 2024, p.month = 5, p.day = 6, p.hour = 9, p.minute = 41, p.second = 17;
  return p;
}

TEST(Upload, PlanDialogOfMiruInModeOne) {
  SimHarness h(sim::MakeSampleRecorder(kMiru));
  ASSERT_TRUE(h.Start());
  _BP_TRANSPORT_INFO plan;
  plan::SetPlanName(plan, plan::TrimBlanks("  Anna Berg "));
  plan::SetPlanId(plan, "2405060941");
  plan::SetPlanClock(plan, kNow);
  plan::ApplyPeriods(14, 7, 44, 5, plan);   // 07:00 every 60, 22:00 every 30
  plan::ApplySpecialPeriod(3, 5, 2, plan);  // 01:00 to 02:00 every 10
  plan::ApplyFlags(plan::PlanFamily::Miru, 1, 0, plan);
  ASSERT_EQ(h.link.Upload(plan, kModeRecording), DeviceResult::Ok);
  EXPECT_EQ(h.link.Progress().state.load(), kStateFinished);

  _BP_TRANSPORT_INFO want = Expected("Anna Berg", "2405060941");
  want.awakeHour = 7, want.awakeMinute = 0, want.awakeInterval = 60;
  want.asleepHour = 22, want.asleepMinute = 0, want.asleepInterval = 30;
  want.specialStartHour = 1, want.specialStartMinute = 0;
  want.specialEndHour = 2, want.specialEndMinute = 0, want.specialInterval = 10;
  want.startKey = 0, want.manualSet = 0;
  const auto rec = h.sim.Snapshot();
  EXPECT_EQ(rec.uploadedBytes, Bytes(want));
  EXPECT_EQ(rec.uploadedMode, kModeRecording);
  EXPECT_EQ(rec.uploads, 1);
}

TEST(Upload, SimplePlanOfMiruGoesOutInModeTwo) {
  SimHarness h(sim::MakeSampleRecorder(kMiru));
  ASSERT_TRUE(h.Start());
  _BP_TRANSPORT_INFO plan;
  plan::SetPlanName(plan, "Li");
  plan::SetPlanId(plan, "7");
  plan::SetPlanClock(plan, kNow);
  plan::ApplyFlags(plan::PlanFamily::MiruSimple, 1, 1, plan);
  ASSERT_EQ(h.link.Upload(plan, kModeMonitor), DeviceResult::Ok);
  const auto rec = h.sim.Snapshot();
  EXPECT_EQ(rec.uploadedBytes, Bytes(Expected("Li", "7")));  // every other field default
  EXPECT_EQ(rec.uploadedMode, kModeMonitor);
  // A mode-3 plan does not exist.
  EXPECT_EQ(h.link.Upload(plan, kModeSingleUser), DeviceResult::NotSupported);
}

TEST(Upload, PexaCPlanWithSpecialPeriodOffAndInvertedManualSet) {
  SimHarness h(sim::MakeSampleRecorder(kPexaC));
  ASSERT_TRUE(h.Start());
  _BP_TRANSPORT_INFO plan;
  plan::SetPlanName(plan, "Kim");
  plan::SetPlanId(plan, "42");
  plan::SetPlanClock(plan, kNow);
  plan::ApplyPeriods(12, 0, 46, 10, plan);  // 06:00 none, 23:00 index 10 → -1
  plan::ApplySpecialPeriod(0, 7, 3, plan);  // start "none"
  plan::ApplyFlags(plan::PlanFamily::PexaC, 0, 1, plan);
  ASSERT_EQ(h.link.Upload(plan, kModeRecording), DeviceResult::Ok);
  _BP_TRANSPORT_INFO want = Expected("Kim", "42");
  want.awakeHour = 6, want.awakeInterval = -2;
  want.asleepHour = 23, want.asleepInterval = -1;
  want.startKey = 1, want.manualSet = 1;
  EXPECT_EQ(h.sim.Snapshot().uploadedBytes, Bytes(want));
}

TEST(Upload, PexaPlanCarriesModeLimitsAndFlags) {
  SimHarness h(sim::MakeSampleRecorder(kPexa));
  ASSERT_TRUE(h.Start());
  _BP_TRANSPORT_INFO plan;
  plan::SetPlanName(plan, "Baby Roe");
  plan::SetPlanId(plan, "N1");
  plan::SetPlanClock(plan, kNow);
  plan::ApplyPeriods(16, 4, 42, 6, plan);
  plan::ApplySpecialPeriod(20, 21, 1, plan);
  plan::ApplyFlags(plan::PlanFamily::Pexa, 1, 1, plan);
  const auto lim = plan::PexaLimitsForMode(2);
  const plan::WarningGroup awake{true,       lim.sysHigh, lim.sysLow, lim.diaHigh,
                                 lim.diaLow, lim.mapHigh, lim.mapLow};
  plan::WarningGroup asleep = awake;
  asleep.on = false;
  plan::ApplyPexaSettings(2, lim.maxPressureValue, awake, asleep, plan);
  ASSERT_EQ(h.link.Upload(plan, kModeRecording), DeviceResult::Ok);

  _BP_TRANSPORT_INFO want = Expected("Baby Roe", "N1");
  want.awakeHour = 8, want.awakeInterval = 20;
  want.asleepHour = 21, want.asleepInterval = 45;
  want.specialStartHour = 9, want.specialStartMinute = 30;
  want.specialEndHour = 10, want.specialEndMinute = 0, want.specialInterval = 5;
  want.startKey = 0xFF, want.manualSet = 0xFF;
  want.maxPressure = 150, want.measureMode = 2;
  const int32_t a[7] = {1, 90, 40, 60, 20, 70, 25};
  const int32_t s[7] = {0, 90, 40, 60, 20, 70, 25};
  std::memcpy(want.awakeWarn, a, sizeof a);
  std::memcpy(want.asleepWarn, s, sizeof s);
  EXPECT_EQ(h.sim.Snapshot().uploadedBytes, Bytes(want));
}

TEST(Upload, TaloStartsFromTheRecordersPlanAndKeepsItsWarnings) {
  for (int kind : {kTaloColor, kTaloBlack}) {
    sim::SimRecorder rec = sim::MakeSampleRecorder(kind);
    rec.plan.awakeWarn[0] = 1;
    rec.plan.awakeWarn[1] = 155;
    rec.plan.startKey = 0;
    SimHarness h(rec);
    ASSERT_TRUE(h.Start());
    _UPLOAD_NEEDED_DATA needed;
    ASSERT_EQ(h.link.ReadPlan(needed), DeviceResult::Ok);
    EXPECT_EQ(needed.plan, rec.plan);
    EXPECT_EQ(needed.awakeIntervals, rec.intervals->first);
    EXPECT_EQ(needed.asleepIntervals, rec.intervals->second);

    _BP_TRANSPORT_INFO plan = needed.plan;
    plan::SetPlanName(plan, "Ole");
    plan::SetPlanId(plan, "99");
    plan::SetPlanClock(plan, kNow);
    plan.awakeHour = 6, plan.awakeMinute = 30, plan.awakeInterval = needed.awakeIntervals[2];
    plan.asleepHour = 23, plan.asleepMinute = 0, plan.asleepInterval = needed.asleepIntervals[0];
    plan::ApplyFlags(plan::PlanFamily::Talo, 0, 0, plan);
    ASSERT_EQ(h.link.Upload(plan, kModeRecording), DeviceResult::Ok);

    _BP_TRANSPORT_INFO want = rec.plan;
    std::memset(want.patientName, 0, sizeof want.patientName);
    std::memset(want.patientId, 0, sizeof want.patientId);
    std::strcpy(want.patientName, "Ole");
    std::strcpy(want.patientId, "99");
    want.year = 2024, want.month = 5, want.day = 6, want.hour = 9, want.minute = 41,
    want.second = 17;
    want.awakeHour = 6, want.awakeMinute = 30, want.awakeInterval = 15;
    want.asleepHour = 23, want.asleepMinute = 0, want.asleepInterval = 15;
    EXPECT_EQ(h.sim.Snapshot().uploadedBytes, Bytes(want)) << kind;
  }
}

TEST(Upload, HomeMonitorTakesNoPlan) {
  for (int protocol : {5, 10}) {
    SimHarness h(sim::MakeSampleRecorder(kQora, protocol));
    ASSERT_TRUE(h.Start());
    EXPECT_EQ(h.link.Upload(_BP_TRANSPORT_INFO{}, kModeRecording), DeviceResult::NotSupported);
    _UPLOAD_NEEDED_DATA needed;
    EXPECT_EQ(h.link.ReadPlan(needed), DeviceResult::NotSupported);
    EXPECT_EQ(h.sim.Snapshot().uploads, 0);
  }
}

TEST(Upload, RecorderRefusingThePlanIsNotSupported) {
  SimHarness h(sim::MakeSampleRecorder(kPexa));
  ASSERT_TRUE(h.Start());
  sim::SimFaults f;
  f.errorStatus = link::kStatusNotSupported;
  f.errorCommand = link::kCmdWritePlan;
  h.sim.SetFaults(f);
  EXPECT_EQ(h.link.Upload(_BP_TRANSPORT_INFO{}, kModeRecording), DeviceResult::NotSupported);
  EXPECT_EQ(h.link.Progress().state.load(), kStateFailed);
}

}  // namespace
}  // namespace vesk
