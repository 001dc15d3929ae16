// The data table at the sizes users reach: filling the grid's rows for a 1000-reading case
// (every cell text formatted), and one exclusion toggled followed by the re-analysis of a
// 300-reading case, as a click on column 0 and the confirm do.
#include <benchmark/benchmark.h>

#include "analysis/CaseAnalysis.h"
#include "analysis/ReadingTable.h"
#include "cases/CaseDocument.h"
#include "cases/CaseState.h"
#include "cases/SampleCases.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

class NoTexts : public IErrorTexts {
 public:
  std::string ErrorText(int32_t) const override { return {}; }
};

std::vector<_BP_RECORD> Readings(int n) {
  const _BP_RECORD model = MakeAmbulatorySample(SampleOptions{}).readings.front();
  std::vector<_BP_RECORD> out;
  for (int i = 0; i < n; ++i) {
    _BP_RECORD r = model;
    r.index = i;
    const int64_t t = MinuteStamp(r.year, r.month, r.day, r.hour, r.minute) + i * 15;
    int y, mo, d;
    CivilFromDays(t / 1440, y, mo, d);
    r.year = y;
    r.month = static_cast<int16_t>(mo);
    r.day = static_cast<int16_t>(d);
    r.hour = static_cast<int16_t>(t % 1440 / 60);
    r.minute = static_cast<int16_t>(t % 60);
    r.comment = i % 7 == 0 ? "after a walk" : "";
    out.push_back(r);
  }
  return out;
}

void BM_FillGrid1000(benchmark::State& state) {
  const std::vector<_BP_RECORD> readings = Readings(1000);
  for (auto _ : state) {
    ReadingTable table(readings);
    if (table.Rows().size() != 1000) state.SkipWithError("wrong row count");
    benchmark::DoNotOptimize(table);
  }
}
BENCHMARK(BM_FillGrid1000)->Unit(benchmark::kMillisecond);

void BM_ToggleAndReanalyse300(benchmark::State& state) {
  test::TempDir dir;
  _FILE_ALL_INFO f = MakeAmbulatorySample(SampleOptions{});
  f.readings = Readings(300);
  f.bpHead.count() = 300;
  const std::string path = dir / "case300.awp";
  if (WriteSampleCase(path, f) != CaseFileResult::Ok) state.SkipWithError("write failed");
  CaseState cs;
  NoTexts texts;
  CaseDocument doc(cs, texts);
  doc.SetCasePath(path);
  if (doc.LoadCase() != 1) state.SkipWithError("load failed");
  ReadingTable table(doc.AllReadings());
  CaseAnalysis analysis;
  RunOpenAnalysis(doc, kDefaultThresholds, RangeLimits{}, {}, {}, analysis);
  int i = 0;
  for (auto _ : state) {
    const int row = i++ % 300;
    table.ToggleExclusion(row);
    doc.AllReadings()[static_cast<size_t>(row)].included = table.Readings()[row].included;
    Reanalyse(doc, kDefaultThresholds, AnalysisView{}, analysis);
    benchmark::DoNotOptimize(analysis);
  }
}
BENCHMARK(BM_ToggleAndReanalyse300)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vesk
