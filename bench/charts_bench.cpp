// A full paint of each chart kind into a 1920x1080 picture: a 300-reading trend case and a
// one-hour window of the 48-hour MIRU SpO2 series. The goal is half a 60 Hz frame (8 ms).
#include <benchmark/benchmark.h>

#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <cstdlib>
#include <memory>

#include "analysis/CaseAnalysis.h"
#include "analysis/EventParams.h"
#include "cases/CaseDocument.h"
#include "cases/CaseState.h"
#include "cases/SampleCases.h"
#include "charts/ChartHost.h"
#include "charts/ChartSource.h"
#include "language/Language.h"
#include "settings/ConfigKeys.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

void EnsureApp() {
  static std::unique_ptr<QGuiApplication> app = [] {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "bench_charts";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
  }();
}

// 300 readings five minutes apart from 07:00 over 25 hours, with a daily swing and scatter
// that cross both limit lines.
struct TrendCase {
  std::vector<_BP_RECORD> readings;
  CaseAnalysis analysis;
  ChartSource source;
  TrendCase() {
    SampleRandom random(11);
    for (int i = 0; i < 300; ++i) {
      const int minutes = 7 * 60 + i * 5;
      _BP_RECORD r;
      r.year = 2024;
      r.month = 3;
      r.day = static_cast<int16_t>(10 + minutes / 1440);
      r.hour = static_cast<int16_t>(minutes % 1440 / 60);
      r.minute = static_cast<int16_t>(minutes % 60);
      const bool night = r.hour >= 22 || r.hour < 7;
      r.sys = (night ? 118 : 138) + random.Noise(12);
      r.dia = static_cast<int16_t>((night ? 70 : 86) + random.Noise(8));
      r.map = static_cast<int16_t>((r.sys + 2 * r.dia) / 3);
      r.pr = static_cast<int16_t>((night ? 60 : 76) + random.Noise(8));
      readings.push_back(r);
    }
    const UserSettings settings = DefaultUserSettings();
    const PeriodRefs refs = BuildPeriodRefs(readings, kDefaultAsleepStart, kDefaultAwakeStart);
    ComputeStatistics(refs, static_cast<int32_t>(readings.size()), settings.GetThresholds(),
                      analysis.statistics);
    ComputeDistribution(refs.analysed, analysis.distribution);
    ComputeExtremesAndRanges(refs.analysed, RangeLimits{}, analysis.extremes);
    ComputeCorrelation(refs.analysed, kDefaultAsleepStart, kDefaultAwakeStart,
                       analysis.correlation);
    source.readings = &readings;
    source.analysis = &analysis;
    source.limits.awakeSys = settings.awakeSysThresh;
    source.limits.awakeDia = settings.awakeDiaThresh;
    source.limits.asleepSys = settings.asleepSysThresh;
    source.limits.asleepDia = settings.asleepDiaThresh;
  }
};

// The generated 48-hour MIRU case, opened from its file as the program opens it.
struct MiruCase {
  test::TempDir dir;
  CaseState state;
  CLanguage language;
  std::unique_ptr<LanguageErrorTexts> texts;
  std::unique_ptr<CaseDocument> doc;
  CaseAnalysis analysis;
  ChartSource source;
  MiruCase() {
    SampleOptions o;
    o.seed = 3;
    o.language = 0;
    const std::string path = dir / "miru.awp";
    if (WriteSampleCase(path, MakeMiruSample(o)) != CaseFileResult::Ok) std::abort();
    texts = std::make_unique<LanguageErrorTexts>(language);
    doc = std::make_unique<CaseDocument>(state, *texts);
    doc->SetCasePath(path);
    // Timing charts of a case that did not open would measure empty pictures.
    if (doc->LoadCase() != ToInt(CaseLoadResult::Ok)) std::abort();
    const UserSettings settings = DefaultUserSettings();
    state.awakeSysThresh = settings.awakeSysThresh;
    state.awakeDiaThresh = settings.awakeDiaThresh;
    state.asleepSysThresh = settings.asleepSysThresh;
    state.asleepDiaThresh = settings.asleepDiaThresh;
    RunOpenAnalysis(*doc, settings.GetThresholds(), RangeLimits{}, SpO2ParamsFrom(settings),
                    PulseRateParamsFrom(settings), analysis);
    source = SourceFromDocument(*doc, analysis, state, nullptr);
  }
};

void PaintKind(benchmark::State& st, const ChartSource& source, int kind, int mode,
               bool nightHour) {
  EnsureApp();
  ChartHost host;
  host.SetCase(source);
  if (mode >= 0) host.Trend().SetDisplayMode(mode);
  if (!host.SetKind(kind)) st.SkipWithError("kind refused");
  if (kind == kChartSpo2Trend) {
    Spo2Window& window = host.Spo2().Window();
    window.ApplyPreset(2003);
    // The first night, where the desaturation events are.
    if (nightHour) window.SetStart(int64_t(15) * 3600);
  }
  QImage image(1920, 1080, QImage::Format_RGB32);
  bool first = true;
  for (auto _ : st) {
    image.fill(QColor(199, 237, 204));
    QPainter p(&image);
    host.Paint(p, image.rect(), first);
    first = false;
    p.end();
    benchmark::DoNotOptimize(image.constBits());
  }
}

const TrendCase& Trend() {
  static TrendCase c;
  return c;
}
const MiruCase& Miru() {
  static MiruCase c;
  return c;
}

void BM_Trend300Curves(benchmark::State& st) {
  PaintKind(st, Trend().source, 0, 0, false);
}
void BM_Trend300Bars(benchmark::State& st) {
  PaintKind(st, Trend().source, 0, 1, false);
}
void BM_Trend300Histogram(benchmark::State& st) {
  PaintKind(st, Trend().source, 2, -1, false);
}
void BM_Trend300Pie(benchmark::State& st) {
  PaintKind(st, Trend().source, 3, -1, false);
}
void BM_Trend300Correlation(benchmark::State& st) {
  PaintKind(st, Trend().source, 4, -1, false);
}
void BM_Miru48hTrend(benchmark::State& st) {
  PaintKind(st, Miru().source, 0, -1, false);
}
void BM_Miru48hSpo2FirstHour(benchmark::State& st) {
  PaintKind(st, Miru().source, 1, -1, false);
}
void BM_Miru48hSpo2NightHour(benchmark::State& st) {
  PaintKind(st, Miru().source, 1, -1, true);
}

BENCHMARK(BM_Trend300Curves)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Trend300Bars)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Trend300Histogram)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Trend300Pie)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Trend300Correlation)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Miru48hTrend)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Miru48hSpo2FirstHour)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Miru48hSpo2NightHour)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vesk
