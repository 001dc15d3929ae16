// Plans built from given values: the rules each family's plan dialog applies.
#include <gtest/gtest.h>

#include "device/UploadPlanBuilder.h"

namespace vesk {
namespace {

UploadPlanOptions Named() {
  UploadPlanOptions o;
  o.name = " Ola ";
  o.id = "42";
  o.clock = {2024, 5, 6, 9, 41, 17};
  return o;
}

_UPLOAD_NEEDED_DATA TaloRecorder() {
  _UPLOAD_NEEDED_DATA r;
  r.plan.awakeInterval = 25;  // not in its own list
  r.plan.asleepInterval = 40;
  r.plan.awakeWarn[0] = 1;
  r.plan.startKey = 0;
  r.awakeIntervals = {15, 30, 45};
  r.asleepIntervals = {30, 40, 60};
  return r;
}

TEST(UploadPlanBuilder, TaloTakesIntervalsFromTheRecordersListsAndKeepsTheRest) {
  const _UPLOAD_NEEDED_DATA rec = TaloRecorder();
  UploadPlanOptions o = Named();
  o.awakeTime = 13;
  UploadPlanResult r = BuildUploadPlan(kTaloBlack, kModeRecording, o, rec);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_STREQ(r.plan.patientName, "Ola");
  EXPECT_EQ(r.plan.awakeHour, 6);
  EXPECT_EQ(r.plan.awakeMinute, 30);
  EXPECT_EQ(r.plan.awakeInterval, 15);   // current value not offered: the first entry
  EXPECT_EQ(r.plan.asleepInterval, 40);  // current value offered: kept
  EXPECT_EQ(r.plan.awakeWarn[0], 1);
  EXPECT_EQ(r.plan.startKey, 0);
  EXPECT_EQ(r.plan.second, 17);

  o.taloAwakeInterval = 45;
  EXPECT_EQ(BuildUploadPlan(kTaloColor, kModeRecording, o, rec).plan.awakeInterval, 45);
  o.taloAwakeInterval = 20;  // in the program's list, not in this recorder's
  r = BuildUploadPlan(kTaloColor, kModeRecording, o, rec);
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.error.empty());
}

TEST(UploadPlanBuilder, SpecialPeriodNeedsAllThreeAndDistinctTimes) {
  UploadPlanOptions o = Named();
  o.specialStart = 3, o.specialEnd = 3, o.specialSpan = 2;  // start equals end
  UploadPlanResult r = BuildUploadPlan(kPexaC, kModeRecording, o, {});
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.plan.specialStartHour, -1);
  EXPECT_EQ(r.plan.specialEndMinute, -1);
  EXPECT_EQ(r.plan.specialInterval, 0);
  o.specialEnd = 0;  // "none"
  EXPECT_EQ(BuildUploadPlan(kPexaC, kModeRecording, o, {}).plan.specialInterval, 0);
  o.specialEnd = 6;
  o.manualSet = 1;
  r = BuildUploadPlan(kPexaC, kModeRecording, o, {});
  EXPECT_EQ(r.plan.specialStartHour, 1);
  EXPECT_EQ(r.plan.specialEndHour, 2);
  EXPECT_EQ(r.plan.specialEndMinute, 30);
  EXPECT_EQ(r.plan.specialInterval, 10);
  EXPECT_EQ(r.plan.manualSet, 1);  // PEXAC: set when the list is not at its first entry
}

TEST(UploadPlanBuilder, RefusesWhatNoDialogCouldProduce) {
  UploadPlanOptions o = Named();
  EXPECT_FALSE(BuildUploadPlan(kQora, kModeRecording, o, {}).ok);
  EXPECT_FALSE(BuildUploadPlan(kMiru, kModeSingleUser, o, {}).ok);
  EXPECT_FALSE(BuildUploadPlan(kPexa, kModeMonitor, o, {}).ok);
  o.name = "   ";
  EXPECT_FALSE(BuildUploadPlan(kMiru, kModeRecording, o, {}).ok);
  o = Named();
  o.awakeSpan = 10;
  EXPECT_FALSE(BuildUploadPlan(kMiru, kModeRecording, o, {}).ok);
  o = Named();
  o.asleepTime = 48;
  EXPECT_FALSE(BuildUploadPlan(kMiru, kModeRecording, o, {}).ok);
  o = Named();
  o.clock.day = 31, o.clock.month = 4;
  EXPECT_FALSE(BuildUploadPlan(kMiru, kModeRecording, o, {}).ok);
  o = Named();
  o.measureMode = 2;
  o.maxPressure = 151;
  EXPECT_FALSE(BuildUploadPlan(kPexa, kModeRecording, o, {}).ok);
  o.maxPressure = 150;
  EXPECT_TRUE(BuildUploadPlan(kPexa, kModeRecording, o, {}).ok);

  // Monitoring plan: only name, ID and clock differ from the default plan; bad list indexes
  // do not matter there.
  o = Named();
  o.awakeSpan = 99;
  const UploadPlanResult r = BuildUploadPlan(kMiru, kModeMonitor, o, {});
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.plan.awakeInterval, 60);
  EXPECT_EQ(r.plan.manualSet, 1);
}

}  // namespace
}  // namespace vesk
