// vesk-cli case export: the text or CSV export of a case, with the checks and the writer of
// the program's export command.
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "Cli.h"
#include "app/AppInfo.h"
#include "cases/CaseDocument.h"
#include "export/CaseExport.h"
#include "language/Language.h"
#include "platform/CodePage.h"
#include "platform/ProgramDir.h"
#include "settings/ConfigFile.h"

namespace vesk::cli {

int CaseExport(const std::vector<std::string>& args);
extern const char* const kCaseExportUsage;

const char* const kCaseExportUsage =
    "  case export FILE OUT (--csv|--txt) [--utf8] [--force] [--lossy]\n"
    "                                      every reading as a text or CSV file (the extension\n"
    "                                      is added unless OUT ends in it); --utf8 writes UTF-8\n"
    "                                      with a byte-order mark instead of the code page";

namespace {

struct ExportOptions {
  bool force = false;  // replace an existing file
  bool lossy = false;  // write the code page although the case holds characters it lacks
};

enum class Refused { Nothing, ExistingFile, LostCharacters, Other };

// The export asks two questions (CheckExport): whether to replace an existing file, and
// whether to write a narrow file that loses characters. Each is answered by its own option
// and told apart by its text, or by its icon where a language file lacks the text.
class CliSink : public IMessageSink {
 public:
  CliSink(const CLanguage& language, ExportOptions options)
      : language_(language), options_(options) {}

  MessageAnswer Show(const Message& m) override {
    if (m.buttons == MessageButtons::Ok) {
      if (m.icon == MessageIcon::Error) std::fprintf(stderr, "vesk-cli: %s\n", m.text.c_str());
      return MessageAnswer::Ok;
    }
    if (IsLossyQuestion(m)) return Answer(options_.lossy, Refused::LostCharacters);
    if (IsExistsQuestion(m)) return Answer(options_.force, Refused::ExistingFile);
    std::fprintf(stderr, "vesk-cli: %s\n", m.text.c_str());
    return Answer(false, Refused::Other);
  }
  Refused Refusal() const { return refused_; }

 private:
  MessageAnswer Answer(bool yes, Refused why) {
    if (yes) return MessageAnswer::Ok;
    refused_ = why;
    return MessageAnswer::Cancel;
  }
  bool IsLossyQuestion(const Message& m) const {
    const std::string lossy = language_.GetText("Global Setting", "IDS_EXPORT_LOSSY");
    return lossy.empty() ? m.icon == MessageIcon::Warning : m.text.starts_with(lossy);
  }
  bool IsExistsQuestion(const Message& m) const {
    const std::string exists = language_.GetText("Global Setting", "IDS_FINDFILEEXIST");
    return exists.empty() ? m.icon == MessageIcon::Question : m.text.ends_with(exists);
  }

  const CLanguage& language_;
  ExportOptions options_;
  Refused refused_ = Refused::Nothing;
};

std::string RefusalText(Refused why, std::span<const _BP_RECORD> readings,
                        const CLanguage& language) {
  switch (why) {
    case Refused::ExistingFile:
      return "the file exists; give --force to replace it";
    case Refused::LostCharacters: {
      const std::string page = codepage::AnsiCodePage();
      return "the case holds characters that " + page + " cannot hold (" +
             ExportUnencodable(readings, language) +
             "); give --utf8 for a UTF-8 file that keeps them, or --lossy to write " + page +
             " with '?' in their place";
    }
    default:
      return "a question of the export was answered no";
  }
}

int Usage() {
  std::fprintf(stderr, "usage:\n%s\n", kCaseExportUsage);
  return 2;
}

}  // namespace

int CaseExport(const std::vector<std::string>& args) {
  std::vector<std::string> paths;
  int formats = 0;
  ExportOptions options;
  ExportChoice choice;
  for (const std::string& a : args) {
    if (a == "--csv" || a == "--txt") {
      choice.format = a == "--csv" ? ExportFormat::Csv : ExportFormat::Txt;
      ++formats;
    } else if (a == "--utf8") {
      choice.encoding = ExportEncoding::Utf8;
    } else if (a == "--force") {
      options.force = true;
    } else if (a == "--lossy") {
      options.lossy = true;
    } else if (!a.empty() && a[0] != '-') {
      paths.push_back(a);
    } else {
      return Usage();
    }
  }
  if (paths.size() != 2 || formats != 1) return Usage();
  choice.path = paths[1];

  CLanguage language;
  CliSink sink(language, options);
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
  if (code != ToInt(CaseLoadResult::Ok)) {
    std::fprintf(stderr, "vesk-cli: %s: the case could not be opened (code %d)\n", paths[0].c_str(),
                 code);
    return 1;
  }
  const std::string shown = ExportFileName(choice.path, choice.format);
  std::string file;
  ExportResult result = CheckExport(choice, doc.AllReadings(), language, sink, &file);
  if (result == ExportResult::Ok)
    result = WriteExportFile(file, doc.AllReadings(), language, nullptr, choice.encoding);
  switch (result) {
    case ExportResult::Ok:
      std::printf("%s: %zu readings\n", file.c_str(), doc.AllReadings().size());
      return 0;
    case ExportResult::NoReadings:
      std::fprintf(stderr, "vesk-cli: %s: the case has no readings\n", paths[0].c_str());
      return 1;
    case ExportResult::Declined:
      std::fprintf(stderr, "vesk-cli: %s: nothing written: %s\n", shown.c_str(),
                   RefusalText(sink.Refusal(), doc.AllReadings(), language).c_str());
      return 1;
    case ExportResult::CannotCreate:
      std::fprintf(stderr, "vesk-cli: %s: cannot be written\n", shown.c_str());
      return 1;
    default:
      return 1;
  }
}

namespace {
const Registrar registrar("case export", CaseExport, kCaseExportUsage);
}  // namespace

}  // namespace vesk::cli
