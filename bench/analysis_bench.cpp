// Speed of the analysis: a full re-analysis of a day's case (the figures record included; the
// goal is under 1 ms for 300 readings), the figures record alone, and each event detector
// over a 48-hour 1 Hz SpO2 series, with the detectors' peak memory per second of recording.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "analysis/CaseAnalysis.h"
#include "analysis/CaseFigures.h"
#include "analysis/ReportStatistics.h"
#include "cases/CaseDocument.h"
#include "cases/SampleCases.h"
#include "support/TempDir.h"

// Every allocation of this program is counted, so a benchmark can report the peak that one
// operation added on top of what was live before it.
namespace {
std::atomic<size_t> g_live{0};
std::atomic<size_t> g_peak{0};
constexpr size_t kHeader = alignof(std::max_align_t);

void* Allocate(size_t n) {
  auto* p = static_cast<unsigned char*>(std::malloc(n + kHeader));
  if (!p) throw std::bad_alloc();
  *reinterpret_cast<size_t*>(p) = n;
  const size_t live = g_live.fetch_add(n) + n;
  size_t peak = g_peak.load();
  while (live > peak && !g_peak.compare_exchange_weak(peak, live)) {
  }
  return p + kHeader;
}

void Release(void* q) {
  if (!q) return;
  auto* p = static_cast<unsigned char*>(q) - kHeader;
  g_live.fetch_sub(*reinterpret_cast<size_t*>(p));
  std::free(p);
}
}  // namespace

void* operator new(size_t n) {
  return Allocate(n);
}
void* operator new[](size_t n) {
  return Allocate(n);
}
void operator delete(void* p) noexcept {
  Release(p);
}
void operator delete[](void* p) noexcept {
  Release(p);
}
void operator delete(void* p, size_t) noexcept {
  Release(p);
}
void operator delete[](void* p, size_t) noexcept {
  Release(p);
}

namespace vesk {
namespace {

struct NoTexts : IErrorTexts {
  std::string ErrorText(int32_t) const override { return {}; }
};

// About 300 readings: a 48-hour ambulatory recording thinned to the first 300.
_FILE_ALL_INFO ThreeHundredReadings() {
  SampleOptions o;
  o.seed = 9;
  _FILE_ALL_INFO info = MakeMiruSample(o);
  info.samples.clear();
  info.spo2Head = _SPO2_DATA_HEAD{};
  info.dataMode = 1;
  while (info.readings.size() < 300) {
    const size_t n = info.readings.size();
    for (size_t i = 0; i < n && info.readings.size() < 300; ++i) {
      _BP_RECORD r = info.readings[i];
      r.minute = static_cast<int16_t>((r.minute + 7) % 60);
      info.readings.push_back(r);
    }
  }
  info.readings.resize(300);
  info.bpHead.count() = 300;
  return info;
}

void BM_Reanalyse300(benchmark::State& state) {
  test::TempDir dir;
  const std::string path = dir / "case.awp";
  if (WriteSampleCase(path, ThreeHundredReadings()) != CaseFileResult::Ok) {
    state.SkipWithError("write failed");
    return;
  }
  CaseState caseState;
  NoTexts texts;
  CaseDocument doc(caseState, texts);
  doc.SetCasePath(path);
  if (doc.LoadCase() != 1) {
    state.SkipWithError("case did not load");
    return;
  }
  CaseAnalysis analysis;
  AnalysisView view;
  Reanalyse(doc, kDefaultThresholds, view, analysis);
  for (auto _ : state) {
    Reanalyse(doc, kDefaultThresholds, view, analysis);
    benchmark::DoNotOptimize(analysis.statistics.analysedCount);
  }
  state.counters["readings"] = static_cast<double>(doc.AllReadings().size());
}
BENCHMARK(BM_Reanalyse300)->Unit(benchmark::kMicrosecond);

// The one record the statistics window, the report and the CLI read, from lists already built.
void BM_CaseFigures300(benchmark::State& state) {
  const _FILE_ALL_INFO info = ThreeHundredReadings();
  const PeriodRefs refs = BuildPeriodRefs(info.readings, 1320, 420);
  CaseFigures figures;
  for (auto _ : state) {
    ComputeCaseFigures(refs, 300, 1320, 420, kDefaultThresholds, figures);
    benchmark::DoNotOptimize(figures.report.sdWhole.sys);
  }
}
BENCHMARK(BM_CaseFigures300)->Unit(benchmark::kMicrosecond);

void BM_ReportStatistics300(benchmark::State& state) {
  const _FILE_ALL_INFO info = ThreeHundredReadings();
  for (auto _ : state) {
    _BP_STATISTICS st;
    ComputeStatistics(info.readings, 420, 1320, kDefaultThresholds, st);
    _BP_REPORT_STATISTICS rs;
    ComputeReportStatistics(info.readings, st, 1320, 420, rs);
    benchmark::DoNotOptimize(rs.sdWhole.sys);
  }
}
BENCHMARK(BM_ReportStatistics300)->Unit(benchmark::kMicrosecond);

const std::vector<_SPO2_SAMPLE>& FortyEightHours() {
  static const std::vector<_SPO2_SAMPLE> samples = [] {
    SampleOptions o;
    o.seed = 4;
    return MakeMiruSample(o).samples;
  }();
  return samples;
}

using DetectFn = int (*)(std::span<const _SPO2_SAMPLE>, const EventParams*,
                         std::vector<EventRecord>&);

void RunDetector(benchmark::State& state, DetectFn detect, const EventParams& params) {
  const auto& samples = FortyEightHours();
  std::vector<EventRecord> events;
  events.reserve(4096);
  size_t extra = 0;
  for (auto _ : state) {
    const size_t before = g_live.load();
    g_peak.store(before);
    detect(samples, &params, events);
    extra = g_peak.load() - before;
    benchmark::DoNotOptimize(events.data());
  }
  const double seconds = samples.empty() ? 1.0 : samples.back().offset;
  state.counters["events"] = static_cast<double>(events.size());
  state.counters["bytes_per_second"] = static_cast<double>(extra) / seconds;
}

void BM_DetectSpO2_48h(benchmark::State& state) {
  RunDetector(state, DetectSpO2Events, EventParams{255, 2, 2, 8, 20, 100, 0, 88});
}
BENCHMARK(BM_DetectSpO2_48h)->Unit(benchmark::kMillisecond);

void BM_DetectPulseRate_48h(benchmark::State& state) {
  RunDetector(state, DetectPulseRateEvents, EventParams{255, 10, 10, 8, 20, 220, 0, 0});
}
BENCHMARK(BM_DetectPulseRate_48h)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vesk
