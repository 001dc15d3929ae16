#pragma once
// The report command: the report data files into the start folder, the job into Cnf.start,
// the report program run while the main window is hidden, and afterwards, when the system
// settings ask for it, the PDF handed to another program and the diagnosis XML written.
// Everything outside the core (programs, the window, waiting) goes through IReportPrograms,
// so the steps run the same under test.

#include <cstdint>
#include <string>

#include "language/Language.h"
#include "platform/DateTime.h"
#include "platform/MessageSink.h"
#include "reports/ReportBuilder.h"
#include "settings/ConfigTypes.h"

namespace vesk {

class IMainWindowVisibility;
class CConfigFile;
class CaseDocument;
struct CaseAnalysis;

class IReportPrograms {
 public:
  virtual ~IReportPrograms() = default;
  // Hides the main window, starts the report program without arguments, waits for its end
  // (the program keeps handling its own events meanwhile) and shows the window again, also
  // when the program could not be started. False when it was not started.
  virtual bool RunReportProgram(const std::string& program) = 0;
  // Runs the program chosen for PDFs with the two arguments and waits for its end; an empty
  // or missing program is reported to the user ("IDS_PATH_NULL", "IDS_PATH_NOEXIST").
  // True when it ran to its end.
  virtual bool RunPdfProgram(const std::string& program, const std::string& arg1,
                             const std::string& arg2) = 0;
  // The pause between two looks for the PDF.
  virtual void Sleep(int milliseconds) = 0;
};

// Real programs: the report program through the process functions, the PDF program through
// RunOtherExe. `window` may be null (no window to hide).
class ProcessReportPrograms : public IReportPrograms {
 public:
  ProcessReportPrograms(const CLanguage& language, IMessageSink& sink,
                        IMainWindowVisibility* window)
      : language_(language), sink_(sink), window_(window) {}
  bool RunReportProgram(const std::string& program) override;
  bool RunPdfProgram(const std::string& program, const std::string& arg1,
                     const std::string& arg2) override;
  void Sleep(int milliseconds) override;

 private:
  const CLanguage& language_;
  IMessageSink& sink_;
  IMainWindowVisibility* window_;
};

inline constexpr int kPdfChecks = 100;
inline constexpr int kPdfCheckIntervalMs = 50;

// Home folder + "\ZavStart\", "\PDF".
std::string ReportStartFolder();
std::string ReportPdfFolder();
// The first that exists of: share folder + "/vesk-report", share folder + "/Rpt.exe",
// "vesk-report" beside the running executable; the last when none does.
std::string ReportProgramPath();

// "%d%02d%02d%02d%02d%02d" of year, month, day, hour, minute, second.
std::string ReportTimeStamp(const DateParts& now);

enum class ReportOutcome : int32_t {
  NoCase,            // nothing was done
  FilesFailed,       // the data files could not be written; the user saw the start folder
  PdfFolderFailed,   // the PDF folder cannot be created or written; the user saw its path
  CnfStartFailed,    // the job could not be written into Cnf.start; the user saw its path
  ReportNotStarted,  // the report program did not start; the window is back, no message
  Done,              // the report program ran; no hand-over was asked for
  PdfMissing,        // hand-over asked for, but no PDF after 100 looks 50 ms apart
  PdfProgramFailed,  // the PDF program did not run (the user was told why)
  XmlFailed,         // the PDF was handed over but the diagnosis XML could not be written
  HandedOver,        // PDF handed over and the diagnosis XML written
};

const char* ReportOutcomeName(ReportOutcome outcome);

struct ReportRequest {
  bool caseOpen = false;
  ReportCase reportCase;
  ReportHead head;
  ReportOptions options;
  SystemSettings system;  // useOtherExePdf and otherExePdf
  DateParts now;          // local time of the command
};

struct ReportRunResult {
  ReportOutcome outcome = ReportOutcome::NoCase;
  std::string path;  // the folder or file a failure concerns
  std::string pdfPath;
  std::string xmlPath;
};

// The request for the opened case: the head from the current report set, the thresholds,
// event parameters and PDF settings of the configuration, the events of `analysis` when
// given. `limits` are the ranges the main view shows.
ReportRequest MakeReportRequest(const CConfigFile& config, const CLanguage& language,
                                const CaseDocument& doc, const CaseAnalysis* analysis,
                                const RangeLimits& limits, const DateParts& now);

// The command in its three phases, for a window that waits for the report program without
// blocking its event loop: PrepareReport writes the data files and the job (steps up to the
// start of the report program), the caller runs the report program, looks for the PDF with
// PdfPresent every kPdfCheckIntervalMs up to kPdfChecks times, and HandOverPdf runs the PDF
// program and writes the diagnosis XML.
struct PreparedReport {
  ReportRunResult result;  // outcome Done when the report program may start
  ReportData data;
  bool handOver = false;  // the PDF goes to another program afterwards
  std::string pdfProgram;
};

// Failures the user must see go to the sink as error boxes.
[[nodiscard]] PreparedReport PrepareReport(const ReportRequest& request, const CLanguage& language,
                                           IMessageSink& sink);
[[nodiscard]] bool PdfPresent(const PreparedReport& report);
// The PDF is there: hands it to the PDF program and writes the diagnosis XML.
[[nodiscard]] ReportRunResult HandOverPdf(const PreparedReport& report, IReportPrograms& programs);

// Runs the command; failures the user must see go to the sink as error boxes.
ReportRunResult RunReportCommand(const ReportRequest& request, const CLanguage& language,
                                 IMessageSink& sink, IReportPrograms& programs);

}  // namespace vesk
