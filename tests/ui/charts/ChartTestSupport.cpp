#include "ChartTestSupport.h"

#include <gtest/gtest.h>

#include "analysis/EventParams.h"
#include "cases/SampleCases.h"
#include "settings/ConfigKeys.h"

namespace vesk::test {

const CLanguage& EnglishTables() {
  static CLanguage* tables = [] {
    auto* l = new CLanguage;
    l->LoadFile(std::string(VESK_SOURCE_DIR) + "/data/Language/English.lng");
    return l;
  }();
  return *tables;
}

_BP_RECORD Reading(int day, int hour, int minute, int sys, int dia, int pr) {
  _BP_RECORD r;
  r.year = 2024;
  r.month = 3;
  r.day = static_cast<int16_t>(day);
  r.hour = static_cast<int16_t>(hour);
  r.minute = static_cast<int16_t>(minute);
  r.sys = sys;
  r.dia = static_cast<int16_t>(dia);
  r.map = static_cast<int16_t>((sys + 2 * dia) / 3);
  r.pr = static_cast<int16_t>(pr);
  return r;
}

std::unique_ptr<LoadedCase> LoadSample(const _FILE_ALL_INFO& info) {
  auto c = std::make_unique<LoadedCase>();
  const std::string path = c->dir / "case.awp";
  EXPECT_EQ(WriteSampleCase(path, info), CaseFileResult::Ok);
  c->texts = std::make_unique<LanguageErrorTexts>(EnglishTables());
  c->doc = std::make_unique<CaseDocument>(c->state, *c->texts);
  c->doc->SetCasePath(path);
  EXPECT_EQ(c->doc->LoadCase(), ToInt(CaseLoadResult::Ok));
  const UserSettings settings = DefaultUserSettings();
  c->state.awakeSysThresh = settings.awakeSysThresh;
  c->state.awakeDiaThresh = settings.awakeDiaThresh;
  c->state.asleepSysThresh = settings.asleepSysThresh;
  c->state.asleepDiaThresh = settings.asleepDiaThresh;
  RunOpenAnalysis(*c->doc, settings.GetThresholds(), RangeLimits{}, SpO2ParamsFrom(settings),
                  PulseRateParamsFrom(settings), c->analysis);
  c->source = SourceFromDocument(*c->doc, c->analysis, c->state, &EnglishTables());
  return c;
}

void BareCase::Analyse() {
  const UserSettings settings = DefaultUserSettings();
  const PeriodRefs refs = BuildPeriodRefs(readings, kDefaultAsleepStart, kDefaultAwakeStart);
  ComputeStatistics(refs, static_cast<int32_t>(readings.size()), settings.GetThresholds(),
                    analysis.statistics);
  ComputeDistribution(refs.analysed, analysis.distribution);
  ComputeExtremesAndRanges(refs.analysed, RangeLimits{}, analysis.extremes);
  ComputeCorrelation(refs.analysed, kDefaultAsleepStart, kDefaultAwakeStart, analysis.correlation);
  if (!samples.empty()) {
    const EventParams spo2 = SpO2ParamsFrom(settings), pr = PulseRateParamsFrom(settings);
    DetectSpO2Events(samples, &spo2, analysis.spo2Events);
    DetectPulseRateEvents(samples, &pr, analysis.prEvents);
  }
  source = ChartSource{};
  source.readings = &readings;
  source.analysis = &analysis;
  source.language = &EnglishTables();
  source.limits.awakeSys = settings.awakeSysThresh;
  source.limits.awakeDia = settings.awakeDiaThresh;
  source.limits.asleepSys = settings.asleepSysThresh;
  source.limits.asleepDia = settings.asleepDiaThresh;
  if (!samples.empty()) {
    source.samples = &samples;
    source.spo2Start = OleDateTime::FromParts(2024, 3, 30, 22, 0, 0);
    source.spo2End = source.spo2Start.AddSeconds(samples.back().offset);
  }
}

QImage Blank(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(QColor(199, 237, 204));
  return image;
}

bool SameColour(QRgb pixel, const QColor& colour) {
  return qRed(pixel) == colour.red() && qGreen(pixel) == colour.green() &&
         qBlue(pixel) == colour.blue();
}

int CountColour(const QImage& image, const QRect& area, const QColor& colour) {
  int n = 0;
  const QRect r = area.intersected(image.rect());
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (SameColour(image.pixel(x, y), colour)) ++n;
  return n;
}

}  // namespace vesk::test
