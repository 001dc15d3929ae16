// vesk-cli case export: the text or CSV export of a case, through the same worker the
// program's export command runs.
#include <cstdio>
#include <string>
#include <vector>

#include "Cli.h"
#include "app/AppInfo.h"
#include "cases/CaseDocument.h"
#include "export/CaseExport.h"
#include "language/Language.h"
#include "platform/ProgramDir.h"
#include "settings/ConfigFile.h"

namespace vesk::cli {

int CaseExport(const std::vector<std::string>& args);
extern const char* const kCaseExportUsage;

const char* const kCaseExportUsage =
    "  case export FILE OUT (--csv|--txt) [--force]  every reading as a text or CSV file\n"
    "                                      (the extension is added unless OUT ends in it)";

namespace {

// Messages go to stderr; the question whether to replace a file is answered by --force.
class CliSink : public IMessageSink {
 public:
  explicit CliSink(bool force) : force_(force) {}
  MessageAnswer Show(const Message& m) override {
    if (m.buttons == MessageButtons::OkCancel) {
      std::fprintf(
          stderr, "vesk-cli: %s\n",
          force_ ? "replacing the existing file" : "the file exists; give --force to replace it");
      return force_ ? MessageAnswer::Ok : MessageAnswer::Cancel;
    }
    if (m.icon == MessageIcon::Error || !quietInfo)
      std::fprintf(stderr, "vesk-cli: %s\n", m.text.c_str());
    return MessageAnswer::Ok;
  }
  bool quietInfo = true;

 private:
  bool force_;
};

class FixedChooser : public IExportFileChooser {
 public:
  FixedChooser(std::string path, ExportFormat format) : path_(std::move(path)), format_(format) {}
  bool Choose(std::string& path, ExportFormat& format) override {
    path = path_;
    format = format_;
    return true;
  }

 private:
  std::string path_;
  ExportFormat format_;
};

int Usage() {
  std::fprintf(stderr, "usage:\n%s\n", kCaseExportUsage);
  return 2;
}

}  // namespace

int CaseExport(const std::vector<std::string>& args) {
  std::vector<std::string> paths;
  int formats = 0;
  bool force = false;
  ExportFormat format = ExportFormat::Txt;
  for (const std::string& a : args) {
    if (a == "--csv" || a == "--txt") {
      format = a == "--csv" ? ExportFormat::Csv : ExportFormat::Txt;
      ++formats;
    } else if (a == "--force") {
      force = true;
    } else if (!a.empty() && a[0] != '-') {
      paths.push_back(a);
    } else {
      return Usage();
    }
  }
  if (paths.size() != 2 || formats != 1) return Usage();

  CLanguage language;
  CliSink sink(force);
  language.ScanLanguageFolder(ProgramPath("\\Language"));
  CConfigFile config(language, sink, g_EditionCode);
  if (config.Load() != 1) return 1;
  language.Load();

  CaseState state;
  LanguageErrorTexts texts(language);
  CaseDocument doc(state, texts);
  doc.SetCasePath(paths[0]);
  const int32_t code = doc.LoadCase();
  // A case of SpO2 samples alone opens but has no readings to export.
  if (code != kCaseLoadOk) {
    std::fprintf(stderr, "vesk-cli: %s: the case could not be opened (code %d)\n", paths[0].c_str(),
                 code);
    return 1;
  }
  FixedChooser chooser(paths[1], format);
  TaskStatus status;
  status.Reset(language.GetText("Global Setting", "IDS_DERIVEDATAING"));
  switch (RunExport(doc.AllReadings(), language, sink, chooser, status)) {
    case ExportResult::Ok:
      std::printf("%s: %zu readings\n", ExportFileName(paths[1], format).c_str(),
                  doc.AllReadings().size());
      return 0;
    case ExportResult::NoReadings:
      std::fprintf(stderr, "vesk-cli: %s: the case has no readings\n", paths[0].c_str());
      return 1;
    case ExportResult::CannotCreate:
      std::fprintf(stderr, "vesk-cli: %s: cannot be written\n",
                   ExportFileName(paths[1], format).c_str());
      return 1;
    default:
      return 1;
  }
}

namespace {
const Registrar registrar("case export", CaseExport, kCaseExportUsage);
}  // namespace

}  // namespace vesk::cli
