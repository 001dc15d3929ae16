// The one figures record of an analysed case: the 41 named report figures, the record against
// the separate computations it gathers, its refresh on every analysis, and the statistics
// window's text table.
#include <gtest/gtest.h>

#include "AnalysisTestData.h"
#include "analysis/CaseAnalysis.h"
#include "analysis/CaseFigures.h"
#include "analysis/EventParams.h"
#include "analysis/StatisticsTable.h"
#include "cases/CaseDocument.h"
#include "cases/SampleCases.h"
#include "language/Language.h"
#include "platform/MessageSink.h"
#include "settings/ConfigFile.h"
#include "settings/ConfigKeys.h"
#include "support/HomeFixture.h"

namespace vesk {
namespace {
using test::Reading;
using F = StatFigure;

// Awake: 08:00 140/90, 12:00 120/80; asleep: 23:00 110/70, 03:00 100/60, 05:00 125/75.
std::vector<_BP_RECORD> Day() {
  return {Reading(8, 0, 140, 90, 80), Reading(12, 0, 120, 80, 70), Reading(23, 0, 110, 70, 60),
          Reading(3, 0, 100, 60, 55, 2), Reading(5, 0, 125, 75, 65, 2)};
}

TEST(StatFigures, EveryNameReadsItsOwnField) {
  CaseFigures k;
  _BP_REPORT_STATISTICS& rs = k.report;
  // Distinct values everywhere, so a name pointing one slot off reads the wrong number.
  double v = 1.0;
  for (double* d :
       {&rs.awakeSysLoad, &rs.awakeDiaLoad, &rs.asleepSysLoad, &rs.asleepDiaLoad, &rs.wholeSysLoad,
        &rs.wholeDiaLoad, &rs.nightDipSys, &rs.nightDipDia, &rs.hourlyRatioSys, &rs.hourlyRatioDia})
    *d = v++;
  for (SpreadFigures* g : {&rs.sdWhole, &rs.sdAwake, &rs.sdAsleep, &rs.cvWhole, &rs.cvAwake,
                           &rs.cvAsleep, &rs.seWhole}) {
    g->sys = v++, g->dia = v++, g->pr = v++, g->map = v++;
  }
  rs.r = 101, rs.diaOnSysSlope = 102, rs.diaOnSysIntercept = 103;
  rs.sysOnDiaSlope = 104, rs.sysOnDiaIntercept = 105, rs.aasi = 106;
  k.surge.sleepTrough = 107;
  k.surge.preWaking = 108;  // not one of the 41

  const StatFigureList f = StatFiguresOf(k);
  EXPECT_EQ(f[F::AwakeSysLoad], 1);
  EXPECT_EQ(f[F::HourlyRatioDia], 10);
  EXPECT_EQ(f[F::SdWholeSys], rs.sdWhole.sys);
  EXPECT_EQ(f[F::SdAwakeMap], rs.sdAwake.map);
  EXPECT_EQ(f[F::SdAsleepPr], rs.sdAsleep.pr);
  EXPECT_EQ(f[F::CvWholeDia], rs.cvWhole.dia);
  EXPECT_EQ(f[F::CvAwakeSys], rs.cvAwake.sys);
  EXPECT_EQ(f[F::CvAsleepMap], rs.cvAsleep.map);
  EXPECT_EQ(f[F::R], 101);
  EXPECT_EQ(f[F::Aasi], 106);
  EXPECT_EQ(f[F::SurgeSleepTrough], 107);
  // The page carries no SE: none of the 41 slots holds an SE value.
  for (double x : f.values) {
    EXPECT_NE(x, rs.seWhole.sys);
    EXPECT_NE(x, 108);
  }
}

TEST(CaseFigures, GathersWhatEachComputationGivesOnItsOwn) {
  const std::vector<_BP_RECORD> readings = Day();
  const PeriodRefs refs = BuildPeriodRefs(readings, 22 * 60, 7 * 60);
  Thresholds t = kDefaultThresholds;
  t.lowCR = 5;  // the dipping class follows the record's own thresholds
  t.highCR = 8;
  CaseFigures k;
  ComputeCaseFigures(refs, 7, 22 * 60, 7 * 60, t, k);

  _BP_STATISTICS s;
  ComputeStatistics(refs, 7, t, s);
  EXPECT_EQ(k.statistics.readingCount, 7);
  EXPECT_EQ(k.statistics.asleepSysLoadCount, s.asleepSysLoadCount);
  EXPECT_EQ(k.statistics.whole[Quantity::Sys].mean, s.whole[Quantity::Sys].mean);
  _BP_REPORT_STATISTICS rs;
  ComputeReportStatistics(refs, s, rs);
  EXPECT_EQ(k.report.nightDipSys, rs.nightDipSys);
  EXPECT_EQ(k.report.crossSys, rs.crossSys);
  EXPECT_EQ(k.report.hourlySys, rs.hourlySys);
  const Dipping d = ComputeDipping(s, 5, 8);
  EXPECT_EQ(k.dipping.sys, d.sys);
  EXPECT_NE(k.dipping.sys, ComputeDipping(s, 10, 20).sys);
  EXPECT_EQ(k.variability.arvSys, ComputeVariability(refs, 22 * 60, 7 * 60).arvSys);
  EXPECT_EQ(k.quality.readingCount, 7);
  EXPECT_EQ(k.thresholds, t);
  EXPECT_FALSE(k.spo2Set);
}

class FiguresOfOpenCase : public test::HomeFixture {
 protected:
  struct NoTexts : IErrorTexts {
    std::string ErrorText(int32_t) const override { return {}; }
  };
  void OpenInfo(const _FILE_ALL_INFO& info) {
    const std::string path = HomePath("case.awp");
    ASSERT_EQ(WriteSampleCase(path, info), CaseFileResult::Ok);
    doc_.SetCasePath(path);
    ASSERT_EQ(doc_.LoadCase(), 1);
    const UserSettings s = DefaultUserSettings();
    RunOpenAnalysis(doc_, kDefaultThresholds, RangeLimits{}, SpO2ParamsFrom(s),
                    PulseRateParamsFrom(s), analysis_);
  }
  void Open(const std::vector<_BP_RECORD>& readings) {
    _FILE_ALL_INFO info;
    info.modelCode = kTaloBlack;
    info.modelName = ModelName(kTaloBlack);
    info.dataMode = 1;
    info.readings = readings;
    for (size_t i = 0; i < info.readings.size(); ++i) info.readings[i].index = int32_t(i);
    info.bpHead.count() = static_cast<int32_t>(readings.size());
    OpenInfo(info);
  }
  CaseState state_;
  NoTexts texts_;
  CaseDocument doc_{state_, texts_};
  CaseAnalysis analysis_;
};

TEST_F(FiguresOfOpenCase, EveryAnalysisRefreshesTheRecord) {
  Open(Day());
  EXPECT_EQ(analysis_.Figures().statistics.asleepCount, 3);
  EXPECT_TRUE(analysis_.report.nightDipSet);
  EXPECT_EQ(analysis_.validCount, 5);

  // Awake from 04:30, asleep from 23:00: only 03:00 stays asleep.
  ASSERT_EQ(ChangeSleepPeriods(doc_, 270, 23 * 60, kDefaultThresholds, {}, analysis_), 1);
  EXPECT_EQ(analysis_.statistics.asleepCount, 1);
  EXPECT_EQ(analysis_.quality.asleepCount, 1);
  EXPECT_FLOAT_EQ(analysis_.statistics.asleep[Quantity::Sys].mean, 100.0f);
  EXPECT_DOUBLE_EQ(analysis_.report.asleepSysLoad, 0.0);
  // The morning now starts at 04:30: the surge is measured from there.
  EXPECT_EQ(analysis_.surge.morningMean, ComputeMorningSurge(DocumentRefs(doc_), 270).morningMean);

  doc_.AllReadings()[0].included = 0;
  ASSERT_EQ(Reanalyse(doc_, kDefaultThresholds, {}, analysis_), 1);
  EXPECT_EQ(analysis_.statistics.analysedCount, 4);
  EXPECT_EQ(analysis_.validCount, 5);  // excluded is still valid
}

TEST_F(FiguresOfOpenCase, SpO2FiguresComeWithTheSamplesAndFollowNewEvents) {
  SampleOptions o;
  o.seed = 3;
  OpenInfo(MakeMiruSample(o));
  ASSERT_TRUE(analysis_.spo2Set);
  EXPECT_EQ(analysis_.spo2.eventCount, static_cast<int32_t>(analysis_.spo2Events.size()));
  EXPECT_TRUE(analysis_.spo2.odiSet);
  const SpO2Summary before = analysis_.spo2;
  // A re-analysis of the readings leaves the SpO2 part alone.
  ASSERT_EQ(Reanalyse(doc_, kDefaultThresholds, {}, analysis_), 1);
  EXPECT_EQ(analysis_.spo2.validSeconds, before.validSeconds);

  // Stricter event parameters find fewer events, and the summary counts what they find.
  CLanguage language;
  RecordingMessageSink sink;
  CConfigFile config(language, sink);
  config.Load();
  ASSERT_EQ(ConfirmEventParams(config, {8, 30, 85, 30, 30}, doc_, analysis_), 1);
  EXPECT_EQ(analysis_.spo2.eventCount, static_cast<int32_t>(analysis_.spo2Events.size()));
  EXPECT_LT(analysis_.spo2.eventCount, before.eventCount);

  Open(Day());
  EXPECT_FALSE(analysis_.spo2Set);
  EXPECT_EQ(analysis_.spo2.eventCount, 0);
}

TEST(StatisticsTableText, FormatsMeansLoadsAndThresholds) {
  const std::vector<_BP_RECORD> readings = Day();
  _BP_STATISTICS s;
  ComputeStatistics(BuildPeriodRefs(readings, 22 * 60, 7 * 60), 5, kDefaultThresholds, s);
  const StatisticsTable t = FormatStatisticsTable(s, kDefaultThresholds);
  using C = StatColumn;
  EXPECT_EQ(t.At(StatRow::Awake, C::Count), "2");
  EXPECT_EQ(t.At(StatRow::Awake, C::BloodPressure), "130.0/85.0");
  EXPECT_EQ(t.At(StatRow::Awake, C::PulseRate), "75.0");
  EXPECT_EQ(t.At(StatRow::Awake, C::PulsePressure), "45.0");
  EXPECT_EQ(t.At(StatRow::Awake, C::SysLoad), "50.0");  // 140 > 135; 120 is not
  EXPECT_EQ(t.At(StatRow::Awake, C::DiaLoad), "50.0");  // 90 > 85
  EXPECT_EQ(t.At(StatRow::Awake, C::Thresholds), "135/85");
  EXPECT_EQ(t.At(StatRow::Asleep, C::BloodPressure), "111.7/68.3");
  EXPECT_EQ(t.At(StatRow::Asleep, C::SysLoad), "33.3");  // 125 > 120
  EXPECT_EQ(t.At(StatRow::Asleep, C::Thresholds), "120/70");
  EXPECT_EQ(t.At(StatRow::Whole, C::Count), "5");
  EXPECT_EQ(t.At(StatRow::Whole, C::SysLoad), "40.0");  // the two period loads of five
  EXPECT_EQ(t.At(StatRow::Whole, C::Thresholds), "");
}

TEST(StatisticsTableText, EmptyPeriodsShowZerosNotDivisions) {
  const std::vector<_BP_RECORD> awakeOnly = {Reading(9, 0, 150, 95), Reading(10, 0, 130, 80)};
  _BP_STATISTICS s;
  ComputeStatistics(BuildPeriodRefs(awakeOnly, 22 * 60, 7 * 60), 2, kDefaultThresholds, s);
  const StatisticsTable t = FormatStatisticsTable(s, kDefaultThresholds);
  EXPECT_EQ(t.At(StatRow::Asleep, StatColumn::Count), "0");
  EXPECT_EQ(t.At(StatRow::Asleep, StatColumn::BloodPressure), "0.0/0.0");
  EXPECT_EQ(t.At(StatRow::Asleep, StatColumn::SysLoad), "0.0");
  EXPECT_EQ(t.At(StatRow::Asleep, StatColumn::DiaLoad), "0.0");

  const StatisticsTable none = FormatStatisticsTable(_BP_STATISTICS{}, kDefaultThresholds);
  EXPECT_EQ(none.At(StatRow::Whole, StatColumn::SysLoad), "0.0");
  EXPECT_EQ(none.At(StatRow::Whole, StatColumn::PulseRate), "0.0");
}

}  // namespace
}  // namespace vesk
