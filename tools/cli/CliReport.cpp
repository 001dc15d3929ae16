// vesk-cli case report-files | diagnosis: the report data files and the diagnosis XML of a
// case, made with the current user and report set of --home.
#include <cstdio>
#include <string>
#include <vector>

#include "Cli.h"
#include "analysis/EventParams.h"
#include "app/AppInfo.h"
#include "cases/CaseDocument.h"
#include "language/Language.h"
#include "platform/ProgramDir.h"
#include "reports/DiagnosisXml.h"
#include "reports/ReportBuilder.h"
#include "reports/ReportFiles.h"
#include "settings/ConfigFile.h"
#include "settings/ReportHead.h"

namespace vesk::cli {

int CaseReportFiles(const std::vector<std::string>& args);
int CaseDiagnosis(const std::vector<std::string>& args);
extern const char* const kCaseReportUsage;

const char* const kCaseReportUsage =
    "  case report-files FILE DIR          Report.txt and the page files of the current report\n"
    "                                      set into DIR\n"
    "  case diagnosis FILE OUT.xml --pdf PATH  the diagnosis XML naming the PDF at PATH";

namespace {

int Usage() {
  std::fprintf(stderr, "usage:\n%s\n", kCaseReportUsage);
  return 2;
}

// The report data of a case as the report command of the program would make it.
bool MakeReport(const std::string& path, ReportData& out) {
  CLanguage language;
  StderrSink sink;
  language.ScanLanguageFolder(ProgramPath("\\Language"));
  CConfigFile config(language, sink, g_EditionCode);
  if (config.Load() != 1) return false;
  language.Load();
  config.LoadReportSettings();

  CaseState state;
  LanguageErrorTexts texts(language);
  CaseDocument doc(state, texts);
  doc.SetCasePath(path);
  const int32_t code = doc.LoadCase();
  if (code != kCaseLoadOk) {
    Fail(path + ": the case could not be opened (code " + std::to_string(code) + ")");
    return false;
  }
  doc.RebuildLists();
  const ReportCase c = ReportCaseOf(doc);
  ReportOptions options;
  options.thresholds = config.settings.GetThresholds();
  options.spo2Params = SpO2ParamsFrom(config.settings);
  options.prParams = PulseRateParamsFrom(config.settings);
  out = BuildReportData(c, MakeReportHead(config, language, FactsOf(c)), options, language);
  return true;
}

}  // namespace

int CaseReportFiles(const std::vector<std::string>& args) {
  if (args.size() != 2 || args[0].empty() || args[0][0] == '-' || args[1].empty() ||
      args[1][0] == '-')
    return Usage();
  ReportData data;
  if (!MakeReport(args[0], data)) return 1;
  const ReportFilesResult r = WriteReportFiles(args[1], data);
  if (!r.ok) return Fail(r.failedPath + ": not written: " + r.detail);
  for (ReportFileId id : ReportFilesFor(data.main.pages))
    std::printf("%s\n", JoinPath(args[1], ReportFileName(id)).c_str());
  return 0;
}

int CaseDiagnosis(const std::vector<std::string>& args) {
  std::vector<std::string> paths;
  std::string pdf;
  bool havePdf = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--pdf" && i + 1 < args.size() && !havePdf) {
      pdf = args[++i];
      havePdf = true;
    } else if (!args[i].empty() && args[i][0] != '-') {
      paths.push_back(args[i]);
    } else {
      return Usage();
    }
  }
  if (paths.size() != 2 || !havePdf) return Usage();
  ReportData data;
  if (!MakeReport(paths[0], data)) return 1;
  if (!WriteDiagnosisXml(paths[1], data, pdf)) return Fail(paths[1] + ": not written");
  std::printf("%s\n", paths[1].c_str());
  return 0;
}

namespace {
const Registrar reportFiles("case report-files", CaseReportFiles, kCaseReportUsage);
const Registrar diagnosis("case diagnosis", CaseDiagnosis, "");
}  // namespace

}  // namespace vesk::cli
