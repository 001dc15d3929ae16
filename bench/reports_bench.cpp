// Speed of the report data and the export: every report file of a 48-hour MIRU case with all
// pages selected (goal: under 20 ms), and the export of 1,000 readings (goal: under 10 ms),
// also with a comment on every reading: the check for characters the code page lacks (goal:
// under 2 ms) and the UTF-8 file; the diagnosis XML of a name GBK cannot hold (under 1 ms).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include "analysis/EventDetector.h"
#include "cases/SampleCases.h"
#include "export/CaseExport.h"
#include "platform/FileUtil.h"
#include "reports/DiagnosisXml.h"
#include "reports/ReportBuilder.h"
#include "reports/ReportFiles.h"
#include "support/TempDir.h"

namespace {

using namespace vesk;

const _FILE_ALL_INFO& Miru() {
  static const _FILE_ALL_INFO f = MakeMiruSample(SampleOptions{});
  return f;
}

ReportHead AllPages(int variant) {
  ReportHead h;
  h.pages.fill(1);
  h.spo2Variant = variant;
  h.title = "Report";
  return h;
}

// A folder in memory when the machine has one, so the figure shows the export's own work
// rather than the disk's latency; otherwise the test folder on disk.
class BenchDir {
 public:
  explicit BenchDir(bool memory) {
    std::string tmpl = "/dev/shm/vesk-bench-XXXXXX";
    if (memory && fsutil::FolderExists("/dev/shm") && ::mkdtemp(tmpl.data())) shm_ = tmpl;
  }
  ~BenchDir() {
    if (!shm_.empty()) fsutil::RemoveFolderTree(shm_);
  }
  std::string operator/(const std::string& name) const {
    return shm_.empty() ? disk_ / name : shm_ + "/" + name;
  }

 private:
  test::TempDir disk_;
  std::string shm_;
};

// The report command's own work: building the data from the case and writing every file.
// Variant 1 takes the events the open case already has; variant 3 detects them again.
void BM_ReportFilesMiru48h(benchmark::State& state) {
  const int variant = static_cast<int>(state.range(0));
  BenchDir dir(state.range(1) == 0);
  CLanguage language;
  const ReportCase c = ReportCaseOf(Miru());
  ReportOptions options;
  std::vector<EventRecord> spo2, pr;
  DetectSpO2Events(c.samples, &options.spo2Params, spo2);
  DetectPulseRateEvents(c.samples, &options.prParams, pr);
  options.spo2Events = &spo2;
  options.prEvents = &pr;
  for (auto _ : state) {
    const ReportData d = BuildReportData(c, AllPages(variant), options, language);
    if (!WriteReportFiles(dir / "ZavStart", d).ok) state.SkipWithError("write failed");
  }
}
// Arguments: SpO2 variant; 0 memory folder, 1 disk.
BENCHMARK(BM_ReportFilesMiru48h)
    ->Args({1, 0})
    ->Args({3, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond);

void BM_ReportFilesWriteOnly(benchmark::State& state) {
  BenchDir dir(true);
  CLanguage language;
  const ReportData d =
      BuildReportData(ReportCaseOf(Miru()), AllPages(1), ReportOptions{}, language);
  for (auto _ : state)
    if (!WriteReportFiles(dir / "ZavStart", d).ok) state.SkipWithError("write failed");
}
BENCHMARK(BM_ReportFilesWriteOnly)->Unit(benchmark::kMillisecond);

void BM_Export1000(benchmark::State& state) {
  BenchDir dir(state.range(0) == 0);
  CLanguage language;
  SampleOptions options;
  std::vector<_BP_RECORD> readings;
  for (uint64_t seed = 1; readings.size() < 1000; ++seed) {
    options.seed = seed;
    const _FILE_ALL_INFO f = MakeAmbulatorySample(options);
    readings.insert(readings.end(), f.readings.begin(), f.readings.end());
  }
  readings.resize(1000);
  for (auto _ : state)
    if (WriteExportFile(dir / "out.csv", readings, language) != ExportResult::Ok)
      state.SkipWithError("export failed");
}
BENCHMARK(BM_Export1000)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

std::vector<_BP_RECORD> CommentedReadings() {
  std::vector<_BP_RECORD> readings = MakeAmbulatorySample(SampleOptions{}).readings;
  while (readings.size() < 1000) readings.insert(readings.end(), readings.begin(), readings.end());
  readings.resize(1000);
  const std::string comments[] = {"\xC5\x81ucja W\xC3\xB3jcik after the stairs",
                                  "\xD9\x85\xD8\xAD\xD9\x85\xD8\xAF \xD8\xB9\xD9\x84\xD9\x8A",
                                  "\xE5\xA4\xB4\xE6\x99\x95 dizzy"};
  for (size_t i = 0; i < readings.size(); ++i) readings[i].comment = comments[i % 3];
  return readings;
}

void BM_ExportUnencodable1000(benchmark::State& state) {
  CLanguage language;
  const std::vector<_BP_RECORD> readings = CommentedReadings();
  for (auto _ : state) benchmark::DoNotOptimize(ExportUnencodable(readings, language));
}
BENCHMARK(BM_ExportUnencodable1000)->Unit(benchmark::kMillisecond);

void BM_ExportUtf8Commented1000(benchmark::State& state) {
  BenchDir dir(true);
  CLanguage language;
  const std::vector<_BP_RECORD> readings = CommentedReadings();
  for (auto _ : state)
    if (WriteExportFile(dir / "out.csv", readings, language, nullptr, ExportEncoding::Utf8) !=
        ExportResult::Ok)
      state.SkipWithError("export failed");
}
BENCHMARK(BM_ExportUtf8Commented1000)->Unit(benchmark::kMillisecond);

void BM_DiagnosisXmlPolishName(benchmark::State& state) {
  BenchDir dir(true);
  CLanguage language;
  _FILE_ALL_INFO f = Miru();
  f.patient.name = "\xC5\x81ucja W\xC3\xB3jcik-\xC5\xBB\xC3\xB3\xC5\x82\xC4\x87";
  f.patient.address = "ul. \xC5\x9Aw. Marcina 12, Pozna\xC5\x84";
  const ReportData d = BuildReportData(ReportCaseOf(f), AllPages(1), ReportOptions{}, language);
  for (auto _ : state)
    if (!WriteDiagnosisXml(dir / "DIAGNOSEINFO.xml", d, "/home/u/PDF/20240306080509.pdf"))
      state.SkipWithError("write failed");
}
BENCHMARK(BM_DiagnosisXmlPolishName)->Unit(benchmark::kMicrosecond);

}  // namespace
