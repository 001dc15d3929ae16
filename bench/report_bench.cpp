// A full report of a 48-hour MIRU case (183 readings, 172,800 SpO2 samples) with every page:
// from the data files in the start folder to the finished PDF on disk, as the report program
// does it. The goal is under one second.
#include <benchmark/benchmark.h>

#include <QtWidgets/QApplication>
#include <cstdlib>
#include <filesystem>

#include "ReportJob.h"
#include "ReportRender.h"
#include "ReportTexts.h"
#include "cases/SampleCases.h"
#include "platform/ProgramDir.h"
#include "reports/ReportBuilder.h"
#include "reports/ReportFiles.h"
#include "support/HomeFixture.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

void EnsureApp() {
  // Never destroyed: tearing the application down after the platform's devices crashes.
  static QApplication* app = [] {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "bench_report";
    static char* argv[] = {name, nullptr};
    return new QApplication(argc, argv);
  }();
  (void)app;
}

void BM_FullMiruReport(benchmark::State& state) {
  EnsureApp();
  test::TempDir home;
  std::filesystem::copy(test::SourceDataDir() + "/Language", home / "Language");
  SetProgramDir(home.path());
  CLanguage language;
  language.LoadFile(home / "Language/English.lng");
  SampleOptions o;
  o.language = 0;
  ReportHead head;
  head.pages.fill(1);
  head.spo2Variant = 3;
  head.title = "Ambulatory Blood Pressure Report";
  head.recordingLength = 0;
  const ReportData data =
      BuildReportData(ReportCaseOf(MakeMiruSample(o)), head, ReportOptions{}, language);
  const std::string folder = home / "ZavStart";
  if (!WriteReportFiles(folder, data).ok) return state.SkipWithError("data files not written");
  report::ReportTexts texts;
  if (!texts.Load("English")) return state.SkipWithError("no language file");
  report::ReportJob job;
  job.paperSize = 9;
  const std::string pdf = home / "report.pdf";
  size_t bytes = 0;
  for (auto _ : state) {
    report::ReportModel model;
    std::string error;
    if (!report::LoadReportModel(folder, model, error)) return state.SkipWithError(error.c_str());
    QString why;
    if (!report::WritePdf(pdf, job, model, texts, why))
      return state.SkipWithError(why.toStdString().c_str());
    bytes = std::filesystem::file_size(pdf);
  }
  state.counters["pdf_bytes"] = double(bytes);
}
BENCHMARK(BM_FullMiruReport)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vesk
