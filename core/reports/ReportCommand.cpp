#include "reports/ReportCommand.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "app/RunOtherExe.h"
#include "platform/FileUtil.h"
#include "platform/Process.h"
#include "platform/ProgramDir.h"
#include "reports/DiagnosisXml.h"
#include "reports/ReportFiles.h"
#include "settings/IniFile.h"
#include "settings/SystemSettings.h"

namespace vesk {

namespace {

void ShowError(IMessageSink& sink, const std::string& text) {
  Message m;
  m.text = text;
  m.icon = MessageIcon::Error;
  sink.Show(m);
}

bool WriteJob(const std::string& casePath, const std::string& pdfPath) {
  try {
    CIniFile cnf(CnfStartPath(), false);
    cnf.BeginBatch();
    cnf.WriteString("START", "CasePath", casePath);
    cnf.WriteString("START", "ReportPath", pdfPath);
    cnf.WriteInt("START", "ReportPrint", 0);
    return cnf.CommitBatch() == 1;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

bool ProcessReportPrograms::RunReportProgram(const std::string& program) {
  HiddenWindow hidden(window_);
  return RunAndWait(program, {}).started;
}

bool ProcessReportPrograms::RunPdfProgram(const std::string& program, const std::string& arg1,
                                          const std::string& arg2) {
  return RunOtherExe(program, arg1, arg2, language_, sink_, window_) == 1;
}

void ProcessReportPrograms::Sleep(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::string ReportStartFolder() {
  return ProgramPath("\\ZavStart\\");
}
std::string ReportPdfFolder() {
  return ProgramPath("\\PDF");
}
std::string ReportProgramPath() {
  // Only the share folder and the program's own folder may supply a program to run; the
  // home folder is writable by the user and never does.
  const std::string beside = JoinPath(GetExecutableDir(), "vesk-report");
  for (const std::string& candidate : {SharePath("\\vesk-report"), SharePath("\\Rpt.exe"), beside})
    if (fsutil::FileExists(candidate)) return candidate;
  return beside;
}

std::string ReportTimeStamp(const DateParts& now) {
  char text[64];
  std::snprintf(text, sizeof text, "%d%02d%02d%02d%02d%02d", now.year, now.month, now.day, now.hour,
                now.minute, now.second);
  return text;
}

const char* ReportOutcomeName(ReportOutcome outcome) {
  switch (outcome) {
    case ReportOutcome::NoCase:
      return "no case open";
    case ReportOutcome::FilesFailed:
      return "report data files not written";
    case ReportOutcome::PdfFolderFailed:
      return "PDF folder cannot be created or written";
    case ReportOutcome::CnfStartFailed:
      return "Cnf.start not written";
    case ReportOutcome::ReportNotStarted:
      return "report program not started";
    case ReportOutcome::Done:
      return "report done";
    case ReportOutcome::PdfMissing:
      return "no PDF appeared";
    case ReportOutcome::PdfProgramFailed:
      return "PDF program did not run";
    case ReportOutcome::XmlFailed:
      return "diagnosis XML not written";
    case ReportOutcome::HandedOver:
      return "PDF handed over, diagnosis XML written";
  }
  return "";
}

PreparedReport PrepareReport(const ReportRequest& request, const CLanguage& language,
                             IMessageSink& sink) {
  PreparedReport prepared;
  ReportRunResult& result = prepared.result;
  if (!request.caseOpen) return prepared;

  prepared.data = BuildReportData(request.reportCase, request.head, request.options, language);
  const std::string startFolder = ReportStartFolder();
  if (!WriteReportFiles(startFolder, prepared.data).ok) {
    ShowError(sink, startFolder);
    result.outcome = ReportOutcome::FilesFailed;
    result.path = startFolder;
    return prepared;
  }

  const std::string stamp = ReportTimeStamp(request.now);
  const std::string pdfFolder = ReportPdfFolder();
  // A folder the report program cannot write into would only show later as a missing PDF.
  if (!fsutil::CreateFolders(pdfFolder) || ::access(pdfFolder.c_str(), W_OK | X_OK) != 0) {
    ShowError(sink, pdfFolder);
    result.outcome = ReportOutcome::PdfFolderFailed;
    result.path = pdfFolder;
    return prepared;
  }
  result.pdfPath = ProgramPath("\\PDF\\" + stamp + ".pdf");

  // A job the report program cannot read would make it print the previous case.
  if (!WriteJob(request.reportCase.casePath, result.pdfPath)) {
    result.outcome = ReportOutcome::CnfStartFailed;
    result.path = CnfStartPath();
    ShowError(sink, result.path);
    return prepared;
  }
  result.outcome = ReportOutcome::Done;
  prepared.handOver = request.system.useOtherExePdf != 0;
  prepared.pdfProgram = request.system.otherExePdf;
  return prepared;
}

bool PdfPresent(const PreparedReport& report) {
  return fsutil::FileExists(report.result.pdfPath);
}

ReportRunResult HandOverPdf(const PreparedReport& report, IReportPrograms& programs) {
  ReportRunResult result = report.result;
  if (!programs.RunPdfProgram(report.pdfProgram, "", result.pdfPath)) {
    result.outcome = ReportOutcome::PdfProgramFailed;
    result.path = report.pdfProgram;
    return result;
  }
  result.xmlPath = DiagnosisXmlPath();
  result.outcome = WriteDiagnosisXml(result.xmlPath, report.data, result.pdfPath)
                       ? ReportOutcome::HandedOver
                       : ReportOutcome::XmlFailed;
  if (result.outcome == ReportOutcome::XmlFailed) result.path = result.xmlPath;
  return result;
}

ReportRunResult RunReportCommand(const ReportRequest& request, const CLanguage& language,
                                 IMessageSink& sink, IReportPrograms& programs) {
  PreparedReport prepared = PrepareReport(request, language, sink);
  ReportRunResult& result = prepared.result;
  if (result.outcome != ReportOutcome::Done) return result;

  if (!programs.RunReportProgram(ReportProgramPath())) {
    result.outcome = ReportOutcome::ReportNotStarted;
    result.path = ReportProgramPath();
    return result;
  }
  if (!prepared.handOver) return result;

  bool present = false;
  for (int i = 0; i < kPdfChecks && !present; ++i) {
    present = PdfPresent(prepared);
    if (!present && i + 1 < kPdfChecks) programs.Sleep(kPdfCheckIntervalMs);
  }
  if (!present) {
    result.outcome = ReportOutcome::PdfMissing;
    result.path = result.pdfPath;
    return result;
  }
  return HandOverPdf(prepared, programs);
}

}  // namespace vesk
