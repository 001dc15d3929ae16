#include "export/CaseExport.h"

#include <fmt/format.h>

#include <chrono>
#include <iterator>

#include "platform/CodePage.h"
#include "platform/FileUtil.h"

namespace vesk {

namespace {

constexpr const char* kGlobal = "Global Setting";

constexpr const char* kHeadingKeys[10] = {
    "IDS_HEADING_NUM", "IDS_HEADING_TIME",   "IDS_HEADING_DATE", "IDS_HEADING_BP",
    "IDS_HEADING_PR",  "IDS_HEADING_MAP",    "IDS_HEADING_PP",   "IDS_HEADING_SPO2",
    "IDS_HEADING_TC",  "IDS_HEADING_COMMENT"};

// 64 bits so that a difference of two stored values (the pulse pressure) cannot overflow.
void Value(std::string& out, int64_t v) {
  if (v > 0)
    fmt::format_to(std::back_inserter(out), "{}", v);
  else
    out += "---";
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool EndsWithNoCase(const std::string& s, const std::string& tail) {
  if (s.size() < tail.size()) return false;
  for (size_t i = 0; i < tail.size(); ++i)
    if (Lower(s[s.size() - tail.size() + i]) != Lower(tail[i])) return false;
  return true;
}

void Tell(IMessageSink& sink, std::string text, MessageIcon icon) {
  Message m;
  m.text = std::move(text);
  m.icon = icon;
  sink.Show(m);
}

}  // namespace

const char* ExportFilterText(ExportFormat format) {
  return format == ExportFormat::Csv ? "csv files(*.csv)" : "txt files(*.txt)";
}

const char* ExportExtension(ExportFormat format) {
  return format == ExportFormat::Csv ? ".csv" : ".txt";
}

std::string ExportFileName(const std::string& typed, ExportFormat format) {
  const std::string ext = ExportExtension(format);
  return EndsWithNoCase(typed, ext) ? typed : typed + ext;
}

std::string QuoteField(const std::string& field) {
  if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
  std::string out = "\"";
  for (char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

std::string ExportHeading(const CLanguage& language) {
  std::string out;
  for (const char* key : kHeadingKeys) {
    out += QuoteField(language.GetText("Dialog Setting", key));
    out += ", ";
  }
  out += "\r\n";
  return out;
}

std::string ExportLine(const _BP_RECORD& r) {
  std::string out;
  out.reserve(64 + r.comment.size());
  auto it = std::back_inserter(out);
  fmt::format_to(it, "{}", int64_t(r.index) + 1);
  if (r.mark == 1) out += "+";
  if (r.mark == 2) out += "++";
  fmt::format_to(it, ",{:02}:{:02},{:02}-{:02}-{},", r.hour, r.minute, r.day, r.month, r.year);
  Value(out, r.sys);
  out += '/';
  Value(out, r.dia);
  out += ',';
  Value(out, r.pr);
  out += ',';
  Value(out, r.map);
  out += ',';
  Value(out, int64_t(r.sys) - int64_t(r.dia));
  out += ',';
  Value(out, r.spo2 >= 1 && r.spo2 <= 99 ? r.spo2 : 0);
  fmt::format_to(it, ",{}({}),", r.errorCode, r.secondCode);
  out += QuoteField(r.comment);
  out += "\r\n";
  return out;
}

ExportResult WriteExportFile(const std::string& path, std::span<const _BP_RECORD> readings,
                             const CLanguage& language, TaskStatus* status,
                             ExportEncoding encoding) {
  if (readings.empty()) return ExportResult::NoReadings;
  std::string text = ExportHeading(language);
  text.reserve(text.size() + readings.size() * 48);
  const size_t n = readings.size();
  for (size_t i = 0; i < n; ++i) {
    text += ExportLine(readings[i]);
    if (status) status->progress.store(int32_t(20 + (int64_t(i) + 1) * 80 / int64_t(n)));
  }
  // Every line converts on its own, so one conversion of the whole text gives the same bytes.
  const std::string bytes =
      encoding == ExportEncoding::Utf8 ? kUtf8Bom + text : codepage::ToAnsi(text);
  if (!fsutil::WriteFileAtomic(path, bytes)) return ExportResult::CannotCreate;
  return ExportResult::Ok;
}

std::string ExportUnencodable(std::span<const _BP_RECORD> readings, const CLanguage& language) {
  // Numbers, dates and separators are ASCII: only the heading and the comments can lose text.
  std::string texts = ExportHeading(language);
  for (const _BP_RECORD& r : readings) {
    if (r.comment.empty()) continue;
    texts += r.comment;
    texts += '\n';
  }
  return codepage::UnencodableCharacters(texts);
}

ExportResult CheckExport(const ExportChoice& choice, std::span<const _BP_RECORD> readings,
                         const CLanguage& language, IMessageSink& sink, std::string* path) {
  if (readings.empty()) return ExportResult::NoReadings;
  const std::string file = ExportFileName(choice.path, choice.format);
  if (fsutil::FileExists(file) || fsutil::FolderExists(file)) {
    Message ask;
    ask.text = file + "\r\n" + language.GetText(kGlobal, "IDS_FINDFILEEXIST");
    ask.icon = MessageIcon::Question;
    ask.buttons = MessageButtons::OkCancel;
    if (sink.Show(ask) != MessageAnswer::Ok) return ExportResult::Declined;
  }
  if (choice.encoding == ExportEncoding::Narrow) {
    const std::string lost = ExportUnencodable(readings, language);
    if (!lost.empty()) {
      Message ask;
      ask.text = language.GetText(kGlobal, "IDS_EXPORT_LOSSY") + "\r\n" + codepage::AnsiCodePage() +
                 ": " + lost;
      ask.icon = MessageIcon::Warning;
      ask.buttons = MessageButtons::OkCancel;
      if (sink.Show(ask) != MessageAnswer::Ok) return ExportResult::Declined;
    }
  }
  if (path) *path = file;
  return ExportResult::Ok;
}

Message ExportEndMessage(ExportResult result, const CLanguage& language) {
  Message m;
  switch (result) {
    case ExportResult::Ok:
      m.text = language.GetText(kGlobal, "IDS_SAVEFILESUCCESS");
      m.icon = MessageIcon::Information;
      break;
    case ExportResult::NoReadings:
      m.text = language.GetText(kGlobal, "IDS_NOAWPDATA");
      m.icon = MessageIcon::Information;
      break;
    case ExportResult::CannotCreate:
      m.text = language.GetText(kGlobal, "IDS_AWPTOFILEERROR");
      m.icon = MessageIcon::Error;
      break;
    case ExportResult::Declined:
    case ExportResult::Cancelled:
      break;
  }
  return m;
}

std::thread StartExportWriter(std::span<const _BP_RECORD> readings, const CLanguage& language,
                              std::string path, ExportEncoding encoding, TaskStatus& status) {
  status.result.store(0);
  status.progress.store(20);
  status.state.store(TaskState::Running);
  return std::thread([readings, &language, path = std::move(path), encoding, &status] {
    const ExportResult r = WriteExportFile(path, readings, language, &status, encoding);
    if (r == ExportResult::Ok) status.progress.store(100);
    status.result.store(int32_t(r));
    status.state.store(TaskState::Finished);
  });
}

ExportResult RunExport(std::span<const _BP_RECORD> readings, const CLanguage& language,
                       IMessageSink& sink, IExportFileChooser& chooser, TaskStatus& status) {
  std::string typed;
  ExportFormat format = ExportFormat::Txt;
  if (!chooser.Choose(typed, format)) {
    status.state.store(TaskState::Cancelled);
    return ExportResult::Cancelled;
  }
  status.progress.store(10);
  auto finish = [&](ExportResult r) {
    status.state.store(TaskState::Finished);
    return r;
  };
  if (readings.empty()) {
    Tell(sink, language.GetText(kGlobal, "IDS_NOAWPDATA"), MessageIcon::Information);
    return finish(ExportResult::NoReadings);
  }
  const std::string path = ExportFileName(typed, format);
  if (fsutil::FileExists(path) || fsutil::FolderExists(path)) {
    Message ask;
    ask.text = path + "\r\n" + language.GetText(kGlobal, "IDS_FINDFILEEXIST");
    ask.icon = MessageIcon::Question;
    ask.buttons = MessageButtons::OkCancel;
    if (sink.Show(ask) != MessageAnswer::Ok) return finish(ExportResult::Declined);
  }
  status.progress.store(20);
  if (WriteExportFile(path, readings, language, &status) != ExportResult::Ok) {
    Tell(sink, language.GetText(kGlobal, "IDS_AWPTOFILEERROR"), MessageIcon::Error);
    return finish(ExportResult::CannotCreate);
  }
  status.progress.store(100);
  Tell(sink, language.GetText(kGlobal, "IDS_SAVEFILESUCCESS"), MessageIcon::Information);
  return finish(ExportResult::Ok);
}

}  // namespace vesk
