// vesk-cli case report | report-files | diagnosis: the report PDF, the report data files and
// the diagnosis XML of a case, made with the current user and report set of --home.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "Cli.h"
#include "analysis/EventParams.h"
#include "app/AppInfo.h"
#include "cases/CaseDocument.h"
#include "language/Language.h"
#include "platform/FileUtil.h"
#include "platform/Process.h"
#include "platform/ProgramDir.h"
#include "reports/DiagnosisXml.h"
#include "reports/ReportBuilder.h"
#include "reports/ReportFiles.h"
#include "settings/ConfigFile.h"
#include "settings/IniFile.h"
#include "settings/ReportHead.h"
#include "settings/SystemSettings.h"

namespace vesk::cli {

int CaseReport(const std::vector<std::string>& args);
int CaseReportFiles(const std::vector<std::string>& args);
int CaseDiagnosis(const std::vector<std::string>& args);
extern const char* const kCaseReportUsage;

const char* const kCaseReportUsage =
    "  case report FILE OUT.pdf [--pages all|N,N,...] [--language NAME] [--paper a4|letter]\n"
    "                                      the report PDF, made by the report program headless\n"
    "  case report-files FILE DIR          Report.txt and the page files of the current report\n"
    "                                      set into DIR\n"
    "  case diagnosis FILE OUT.xml --pdf PATH  the diagnosis XML naming the PDF at PATH";

namespace {

int Usage() {
  std::fprintf(stderr, "usage:\n%s\n", kCaseReportUsage);
  return 2;
}

// The report data of a case as the report command of the program would make it; `pages`
// replaces the page flags of the current report set.
bool MakeReport(const std::string& path, ReportData& out,
                const std::optional<std::array<int32_t, kReportHeadPageCount>>& pages = {},
                const std::string& languageName = {}) {
  CLanguage language;
  StderrSink sink;
  language.ScanLanguageFolder(ProgramPath("\\Language"));
  CConfigFile config(language, sink, g_EditionCode);
  if (config.Load() != 1) return false;
  language.Load();
  if (!languageName.empty() &&
      !language.LoadFile(ProgramPath("\\Language\\" + languageName + ".lng")))
    return Fail(languageName + ": the language file cannot be read") == 0;
  config.LoadReportSettings();

  CaseState state;
  LanguageErrorTexts texts(language);
  CaseDocument doc(state, texts);
  doc.SetCasePath(path);
  const int32_t code = doc.LoadCase();
  if (code != ToInt(CaseLoadResult::Ok)) {
    Fail(path + ": the case could not be opened (code " + std::to_string(code) + ")");
    return false;
  }
  doc.RebuildLists();
  const ReportCase c = ReportCaseOf(doc);
  ReportOptions options;
  options.thresholds = config.settings.GetThresholds();
  options.spo2Params = SpO2ParamsFrom(config.settings);
  options.prParams = PulseRateParamsFrom(config.settings);
  ReportHead head = MakeReportHead(config, language, FactsOf(c));
  if (pages) {
    for (int i = 0; i < kSpo2ReportPage; ++i) head.pages[size_t(i)] = (*pages)[size_t(i)];
    // The SpO2 page keeps the rule of the head: only a case with samples has one, in the
    // set's variant or else the summary.
    const bool spo2 = (*pages)[kSpo2ReportPage] != 0 && !c.samples.empty();
    head.pages[kSpo2ReportPage] = spo2 ? 1 : 0;
    head.spo2Variant = spo2 ? (config.report.Spo2PagePresent() ? config.report.spo2Page : 1) : -1;
  }
  out = BuildReportData(c, head, options, language);
  return true;
}

// "all" or page numbers 0 to 12 separated by commas.
bool ParsePages(const std::string& text, std::array<int32_t, kReportHeadPageCount>& pages) {
  pages.fill(0);
  if (text == "all") {
    pages.fill(1);
    return true;
  }
  size_t at = 0;
  while (at <= text.size()) {
    const size_t comma = std::min(text.find(',', at), text.size());
    const std::string item = text.substr(at, comma - at);
    char* end = nullptr;
    const long n = std::strtol(item.c_str(), &end, 10);
    if (item.empty() || *end != '\0' || n < 0 || n >= kReportHeadPageCount) return false;
    pages[size_t(n)] = 1;
    at = comma + 1;
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// The report program: $VESK_REPORT, beside this program, in the program folder, or in the
// share folder of an installed tree.
std::string FindReportProgram() {
  if (const char* env = std::getenv("VESK_REPORT"); env && *env) return env;
  char self[4096];
  const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
  std::vector<std::string> places;
  if (n > 0) {
    const std::string dir = FolderOf(std::string(self, size_t(n)));
    places.push_back(JoinPath(dir, "vesk-report"));
    places.push_back(JoinPath(FolderOf(dir), "share/vesk/vesk-report"));
  }
  places.push_back(ProgramPath("\\vesk-report"));
  for (const std::string& p : places)
    if (::access(p.c_str(), X_OK) == 0) return p;
  return {};
}

std::string Absolute(const std::string& path) {
  if (!path.empty() && path[0] == '/') return path;
  char cwd[4096];
  return ::getcwd(cwd, sizeof cwd) ? JoinPath(cwd, path) : path;
}

// A program folder of its own for one report: the data files, the job and the language
// files of the real one.
struct TempHome {
  std::string path;
  TempHome() {
    std::string tmpl =
        JoinPath(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp", "vesk-report-XXXXXX");
    if (::mkdtemp(tmpl.data())) path = tmpl;
  }
  ~TempHome() {
    if (!path.empty()) fsutil::RemoveFolderTree(path);
  }
};

}  // namespace

int CaseReport(const std::vector<std::string>& args) {
  std::vector<std::string> paths;
  std::optional<std::array<int32_t, kReportHeadPageCount>> pages;
  std::string language = CLanguage::GetLanguage(), paper;
  for (size_t i = 0; i < args.size(); ++i) {
    const bool hasValue = i + 1 < args.size();
    if (args[i] == "--pages" && hasValue) {
      std::array<int32_t, kReportHeadPageCount> p{};
      if (!ParsePages(args[++i], p)) return Fail("--pages wants \"all\" or numbers 0 to 12");
      pages = p;
    } else if (args[i] == "--language" && hasValue) {
      language = args[++i];
    } else if (args[i] == "--paper" && hasValue) {
      paper = args[++i];
      if (paper != "a4" && paper != "letter") return Fail("--paper wants a4 or letter");
    } else if (!args[i].empty() && args[i][0] != '-') {
      paths.push_back(args[i]);
    } else {
      return Usage();
    }
  }
  if (paths.size() != 2) return Usage();
  const std::string program = FindReportProgram();
  if (program.empty()) return Fail("the report program vesk-report was not found");
  if (!fsutil::FileExists(ProgramPath("\\Language\\" + language + ".lng")))
    return Fail(ProgramPath("\\Language\\" + language + ".lng") + ": no such language file");
  ReportData data;
  if (!MakeReport(paths[0], data, pages, language)) return 1;

  TempHome home;
  if (home.path.empty()) return Fail("no temporary folder can be made");
  const ReportFilesResult written = WriteReportFiles(JoinPath(home.path, "ZavStart"), data);
  if (!written.ok) return Fail(written.failedPath + ": not written: " + written.detail);
  if (::symlink(ProgramPath("\\Language").c_str(), JoinPath(home.path, "Language").c_str()) != 0)
    return Fail("the language files cannot be linked into " + home.path);
  const std::string pdf = Absolute(paths[1]);
  try {
    // Paper as the print setup of the real program folder left it.
    int32_t paperSize = 9;
    if (fsutil::FileExists(CnfStartPath()))
      paperSize = CIniFile(CnfStartPath(), false).ReadInt("START", "PaperSize", paperSize);
    CIniFile job(JoinPath(home.path, "Cnf.start"), true);
    job.BeginBatch();
    job.WriteString("START", "CasePath", Absolute(paths[0]));
    job.WriteString("START", "ReportPath", pdf);
    job.WriteInt("START", "ReportPrint", 0);
    job.WriteInt("START", "PaperSize", paper == "letter" ? 1 : paper == "a4" ? 9 : paperSize);
    job.WriteInt("START", "Orientation", 1);
    job.WriteString("START", "Language", language);
    if (job.CommitBatch() != 1) return Fail(home.path + "/Cnf.start: not written");
  } catch (const std::exception& e) {
    return Fail(std::string("Cnf.start: ") + e.what());
  }
  const ProcessResult run = RunAndWait(program, {"--home", home.path, "--pdf-only"});
  if (!run.started) return Fail(program + ": could not be started");
  if (run.exitCode != 0)
    return Fail("the report program failed (exit " + std::to_string(run.exitCode) + ")");
  if (!fsutil::FileExists(pdf)) return Fail(pdf + ": the report program wrote no PDF");
  std::printf("%s\n", pdf.c_str());
  return 0;
}

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
const Registrar report("case report", CaseReport, "");
const Registrar reportFiles("case report-files", CaseReportFiles, kCaseReportUsage);
const Registrar diagnosis("case diagnosis", CaseDiagnosis, "");
}  // namespace

}  // namespace vesk::cli
