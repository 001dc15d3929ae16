// The analysis of an opened case: the open pipeline, re-analysis after edits, the sleep-period
// change and the SpO2 parameter dialog's confirm, on case files written and loaded for real.
#include <gtest/gtest.h>

#include "AnalysisTestData.h"
#include "analysis/CaseAnalysis.h"
#include "analysis/EventParams.h"
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

struct NoTexts : IErrorTexts {
  std::string ErrorText(int32_t) const override { return {}; }
};

class OpenCase : public test::HomeFixture {
 protected:
  // Writes a case of `kind` with the given readings and opens it.
  void Open(const std::vector<_BP_RECORD>& readings, int32_t kind = kTaloBlack) {
    _FILE_ALL_INFO info;
    info.modelCode = kind;
    info.modelName = ModelName(kind);
    info.dataMode = 1;
    info.readings = readings;
    for (size_t i = 0; i < info.readings.size(); ++i)
      info.readings[i].index = static_cast<int32_t>(i);
    info.bpHead.count() = static_cast<int32_t>(readings.size());
    OpenInfo(info);
  }
  void OpenInfo(const _FILE_ALL_INFO& info) {
    path_ = HomePath("case.awp");
    ASSERT_EQ(WriteSampleCase(path_, info), CaseFileResult::Ok);
    doc_.SetCasePath(path_);
    ASSERT_EQ(doc_.LoadCase(), 1);
  }
  void RunOpen(const RangeLimits& limits = RangeLimits{}) {
    const UserSettings s = DefaultUserSettings();
    RunOpenAnalysis(doc_, kDefaultThresholds, limits, SpO2ParamsFrom(s), PulseRateParamsFrom(s),
                    analysis_);
  }

  // Awake: 08:00 140/90, 12:00 120/80; asleep: 23:00 110/70, 03:00 100/60, 05:00 125/75.
  static std::vector<_BP_RECORD> Day() {
    return {Reading(8, 0, 140, 90, 80), Reading(12, 0, 120, 80, 70), Reading(23, 0, 110, 70, 60),
            Reading(3, 0, 100, 60, 55, 2), Reading(5, 0, 125, 75, 65, 2)};
  }

  CaseState state_;
  NoTexts texts_;
  CaseDocument doc_{state_, texts_};
  CaseAnalysis analysis_;
  std::string path_;
};

TEST_F(OpenCase, OpenPipelineFillsEveryRecordFromAnalysedReadings) {
  Open(Day());
  RunOpen(RangeLimits{110, 140, 60, 90, 60, 100});
  EXPECT_EQ(doc_.AwakeReadings().size(), 2u);
  EXPECT_EQ(doc_.AsleepReadings().size(), 3u);
  EXPECT_EQ(analysis_.statistics.analysedCount, 5);
  EXPECT_EQ(analysis_.statistics.asleepSysLoadCount, 1);  // 125 > 120
  EXPECT_DOUBLE_EQ(analysis_.distribution.sys[1], 0.2);   // 100 in 90 < v <= 100
  EXPECT_EQ(analysis_.extremes.sys.maxValue, 140);
  EXPECT_DOUBLE_EQ(analysis_.extremes.sys.within, 0.8);
  EXPECT_TRUE(analysis_.correlation.diaOnSysSet);
  EXPECT_EQ(analysis_.correlation.asleepPairs.size(), 3u);
  EXPECT_TRUE(analysis_.spo2Events.empty());
}

TEST_F(OpenCase, QoraCasesHaveNoCorrelationAndNothingSurvivesTheLastCase) {
  Open(Day());
  RunOpen();
  ASSERT_TRUE(analysis_.correlation.diaOnSysSet);
  Open(Day(), kQora);
  RunOpen();
  EXPECT_FALSE(analysis_.correlation.diaOnSysSet);
  EXPECT_TRUE(analysis_.correlation.awakePairs.empty());
  EXPECT_EQ(analysis_.statistics.analysedCount, 5);
}

TEST_F(OpenCase, MiruCaseGetsBothEventLists) {
  SampleOptions o;
  o.seed = 3;
  OpenInfo(MakeMiruSample(o));
  RunOpen();
  EXPECT_FALSE(analysis_.spo2Events.empty());
  for (const auto& e : analysis_.spo2Events) {
    EXPECT_GE(e.change, 2);
    EXPECT_GE(e.endTime - e.startTime, 2000);
  }
  // The open of a case without SpO2 drops the events of the previous one.
  Open(Day());
  RunOpen();
  EXPECT_TRUE(analysis_.spo2Events.empty());
  EXPECT_TRUE(analysis_.prEvents.empty());
}

TEST_F(OpenCase, ReanalysisFollowsExclusionsAndTheSelectedPeriod) {
  Open(Day());
  RunOpen();
  doc_.AllReadings()[0].included = 0;  // 08:00 140/90
  AnalysisView view;
  view.period = Period::Asleep;
  view.limits.sysLow = 105;
  view.limits.sysHigh = 120;
  ASSERT_EQ(Reanalyse(doc_, kDefaultThresholds, view, analysis_), 1);
  EXPECT_EQ(analysis_.statistics.analysedCount, 4);
  EXPECT_EQ(analysis_.statistics.awakeCount, 1);
  // Distribution and ranges cover the three asleep readings only.
  EXPECT_NEAR(analysis_.distribution.sys[1], 1.0 / 3.0, 1e-12);
  EXPECT_EQ(analysis_.extremes.sys.maxValue, 125);
  EXPECT_NEAR(analysis_.extremes.sys.below, 1.0 / 3.0, 1e-12);
  EXPECT_NEAR(analysis_.extremes.sys.within, 1.0 / 3.0, 1e-12);
  EXPECT_NEAR(analysis_.extremes.sys.above, 1.0 / 3.0, 1e-12);
  // The correlation record keeps covering all analysed readings.
  EXPECT_EQ(analysis_.correlation.awakePairs.size() + analysis_.correlation.asleepPairs.size(), 4u);
}

TEST_F(OpenCase, SleepPeriodChangeUpdatesCasePlanAndSplitButNotTheFile) {
  Open(Day());
  RunOpen();
  const AnalysisView view;
  ASSERT_EQ(ChangeSleepPeriods(doc_, 4 * 60 + 30, 23 * 60, kDefaultThresholds, view, analysis_), 1);
  EXPECT_EQ(doc_.AwakeStart(), 270);
  EXPECT_EQ(doc_.Plan().awakeHour, 4);
  EXPECT_EQ(doc_.Plan().awakeMinute, 30);
  EXPECT_EQ(doc_.Plan().asleepHour, 23);
  EXPECT_EQ(doc_.AsleepStart(), 23 * 60);
  // Asleep now only after 23:00 and before 04:30: 03:00.
  EXPECT_EQ(analysis_.statistics.asleepCount, 1);

  EXPECT_EQ(ChangeSleepPeriods(doc_, 1440, 0, kDefaultThresholds, view, analysis_), 0);
  EXPECT_EQ(doc_.AwakeStart(), 270);

  CaseState other;
  CaseDocument again(other, texts_);
  again.SetCasePath(path_);
  ASSERT_EQ(again.LoadCase(), 1);
  EXPECT_EQ(again.AwakeStart(), 7 * 60);
  EXPECT_EQ(again.Plan().awakeHour, 7);
}

TEST_F(OpenCase, DialogConfirmStoresFiveValuesFixesTheRestRunsAndSaves) {
  CLanguage language;
  RecordingMessageSink sink;
  CConfigFile config(language, sink);
  config.Load();
  config.settings.spo2MaxTime = 30;
  config.settings.prSwingInd = 4;
  config.settings.spo2MinSpO2 = 50;

  SampleOptions o;
  o.seed = 5;
  OpenInfo(MakeMiruSample(o));
  const EventDialogValues v{3, 4, 85, 12, 6};
  ASSERT_EQ(ConfirmEventParams(config, v, doc_, analysis_), 1);
  EXPECT_EQ(DialogValuesFrom(config.settings), v);
  EXPECT_EQ(SpO2ParamsFrom(config.settings), (EventParams{255, 4, 3, 8, 20, 100, 0, 85}));
  EXPECT_EQ(PulseRateParamsFrom(config.settings), (EventParams{255, 6, 12, 8, 20, 220, 0, 0}));
  for (const auto& e : analysis_.spo2Events) {
    EXPECT_GE(e.change, 3);
    EXPECT_GE(e.endTime - e.startTime, 4000);
  }

  CConfigFile reloaded(language, sink);
  reloaded.Load();
  EXPECT_EQ(reloaded.settings.spo2Desaturation, 3);
  EXPECT_EQ(reloaded.settings.prMinTime, 6);
  EXPECT_EQ(reloaded.settings.spo2MaxTime, 255);
  EXPECT_EQ(reloaded.settings.prSwingInd, 0);
}

}  // namespace
}  // namespace vesk
