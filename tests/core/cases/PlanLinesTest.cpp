// The plan view's lines: which appear for each model code and protocol, and how times,
// intervals, switches and warning ranges read.
#include <gtest/gtest.h>

#include <string>

#include "cases/PlanLines.h"

namespace vesk {
namespace {

std::string Value(const PlanLine& l) {
  return l.valueKey ? l.valueKey : l.value;
}

std::vector<std::string> Labels(const std::vector<PlanLine>& lines) {
  std::vector<std::string> out;
  for (const PlanLine& l : lines) out.push_back(l.labelKey);
  return out;
}

const PlanLine* Find(const std::vector<PlanLine>& lines, const std::string& label) {
  for (const PlanLine& l : lines)
    if (label == l.labelKey) return &l;
  return nullptr;
}

TEST(PlanLines, FirstTwoModelsShowOnlyTheTwoPeriods) {
  _BP_TRANSPORT_INFO p;
  p.awakeHour = 7, p.awakeMinute = 15, p.awakeInterval = 20;
  p.asleepHour = 22, p.asleepMinute = 0, p.asleepInterval = 0;
  for (int32_t model : {kTaloColor, kTaloBlack}) {
    const std::vector<PlanLine> lines = PlanLines(p, model, 3);
    EXPECT_EQ(Labels(lines), (std::vector<std::string>{"IDS_NOSLEEP_TIME", "IDS_INTERVAL",
                                                       "IDS_SLEEP_TIME", "IDS_INTERVAL"}));
    EXPECT_EQ(Value(lines[0]), "07:15");
    EXPECT_EQ(Value(lines[1]), "20");
    EXPECT_EQ(Value(lines[2]), "22:00");
    EXPECT_EQ(Value(lines[3]), "IDS_NONE");  // interval 0: no measurements
  }
}

TEST(PlanLines, OtherModelsAddStartKeySpecialPeriodWarningsAndPressure) {
  _BP_TRANSPORT_INFO p;
  p.startKey = 0;
  p.specialStartHour = 255, p.specialStartMinute = 0;
  p.specialEndHour = 13, p.specialEndMinute = 5;
  p.specialInterval = 5;
  p.awakeWarn[0] = 1;
  p.maxPressure = 280;
  const std::vector<PlanLine> lines = PlanLines(p, kMiru, 3);
  EXPECT_EQ(
      Labels(lines),
      (std::vector<std::string>{
          "IDS_START_KEY", "IDS_NOSLEEP_TIME", "IDS_INTERVAL", "IDS_SLEEP_TIME", "IDS_INTERVAL",
          "IDS_SPECIAL_TIME", "IDS_SPECIAL_END", "IDS_INTERVAL", "IDS_AWAKEWARN", "IDS_ASLEEPWARN",
          "IDS_AWAKE_SYS_WARN_RANGE", "IDS_AWAKE_DIA_WARN_RANGE", "IDS_ASLEEP_SYS_WARN_RANGE",
          "IDS_ASLEEP_DIA_WARN_RANGE", "IDS_AWAKE_AVG_WARN_RANGE", "IDS_ASLEEP_AVG_WARN_RANGE",
          "IDS_MAXPRESSVALUE"}));
  EXPECT_EQ(Value(lines[0]), "IDS_TURN_OFF");
  EXPECT_EQ(Value(*Find(lines, "IDS_SPECIAL_TIME")), "IDS_NONE");  // hour 255
  EXPECT_EQ(Value(*Find(lines, "IDS_SPECIAL_END")), "13:05");
  EXPECT_EQ(Value(lines[7]), "05");
  EXPECT_EQ(Value(*Find(lines, "IDS_AWAKEWARN")), "IDS_SWITCH_ON");
  EXPECT_EQ(Value(*Find(lines, "IDS_ASLEEPWARN")), "IDS_TURN_OFF");
  // Lower limit first although the plan stores the upper one first.
  EXPECT_EQ(Value(*Find(lines, "IDS_AWAKE_SYS_WARN_RANGE")), "90-140");
  EXPECT_EQ(Value(*Find(lines, "IDS_ASLEEP_DIA_WARN_RANGE")), "50-80");
  EXPECT_EQ(Value(lines.back()), "280");
}

TEST(PlanLines, MeasureModeOnlyForThePexaBeyondItsFirstProtocols) {
  _BP_TRANSPORT_INFO p;
  p.measureMode = 2;
  EXPECT_EQ(Value(*Find(PlanLines(p, kPexa, 3), "IDS_MEASUREMODE")), "IDS_NEONATE");
  p.measureMode = 1;
  EXPECT_EQ(Value(*Find(PlanLines(p, kPexa, 7), "IDS_MEASUREMODE")), "IDS_CHILD");
  EXPECT_EQ(Find(PlanLines(p, kPexa, 1), "IDS_MEASUREMODE"), nullptr);
  EXPECT_EQ(Find(PlanLines(p, kPexa, 2), "IDS_MEASUREMODE"), nullptr);
  EXPECT_EQ(Find(PlanLines(p, kPexaC, 3), "IDS_MEASUREMODE"), nullptr);
}

TEST(PlanLines, ProtocolTwoHasNoMapWarningRanges) {
  const _BP_TRANSPORT_INFO p;
  EXPECT_EQ(Find(PlanLines(p, kMiru, 2), "IDS_AWAKE_AVG_WARN_RANGE"), nullptr);
  EXPECT_EQ(Find(PlanLines(p, kMiru, 2), "IDS_ASLEEP_AVG_WARN_RANGE"), nullptr);
  EXPECT_NE(Find(PlanLines(p, kMiru, 1), "IDS_AWAKE_AVG_WARN_RANGE"), nullptr);
}

TEST(PlanLines, TimesTheRecorderNeverHadReadNone) {
  _BP_TRANSPORT_INFO p;  // a plan made here: special period -1:-1, no measurements -2
  p.awakeInterval = -2;
  const std::vector<PlanLine> lines = PlanLines(p, kQora, 3);
  EXPECT_EQ(Value(*Find(lines, "IDS_SPECIAL_TIME")), "IDS_NONE");
  EXPECT_EQ(Value(*Find(lines, "IDS_SPECIAL_END")), "IDS_NONE");
  EXPECT_EQ(Value(lines[2]), "IDS_NONE");
  p.specialStartHour = 6, p.specialStartMinute = 255;
  EXPECT_EQ(Value(*Find(PlanLines(p, kQora, 3), "IDS_SPECIAL_TIME")), "IDS_NONE");
}

}  // namespace
}  // namespace vesk
