#pragma once
// The view's report, print-setup and export commands. The report program runs while the main
// window is hidden and the event loop keeps running; the export writes on a worker thread
// while a progress window polls its status. Every question and message is asked on the
// window's thread.

#include <QtCore/QObject>
#include <QtCore/QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "export/CaseExport.h"
#include "reports/ReportCommand.h"

class QProcess;
class QWidget;

namespace vesk {

class CConfigFile;
class CLanguage;
class CZavView;
class IMessageSink;

// Where the report command finds the report program; tests point it at a script of theirs,
// so that a real report program beside the test never runs.
std::function<std::string()>& ReportProgramLocator();

class ReportCommands : public QObject {
  Q_OBJECT
 public:
  // The handlers of a view, made on first use as its child.
  static ReportCommands& Of(CZavView* view);

  ReportCommands(CZavView* view, CConfigFile& config, const CLanguage& language,
                 IMessageSink& sink);
  ~ReportCommands() override;

  // 32908: the report of the opened case through the report program.
  void OnReport();
  // 57606: printer and paper for the report program.
  void OnPrintSetup();
  // 32807: the readings of the opened case into a text or CSV file: the export dialog and
  // every question on this thread, the writing on a worker behind the progress window.
  void OnExport();
  const TaskStatus& ExportStatus() const { return exportStatus_; }

  // From the start of the report program to the end of the hand-over.
  bool ReportRunning() const { return prepared_.has_value(); }
  // The outcome of the last report that ran to its end.
  const ReportRunResult& LastReport() const { return last_; }

 signals:
  void reportFinished();

 private:
  QWidget* MainWindow() const;
  void OnReportProgramEnded(bool started);
  void OnPdfCheck();
  void FinishReport(ReportRunResult result);

  CZavView* view_;
  CConfigFile& config_;
  const CLanguage& language_;
  IMessageSink& sink_;
  QProcess* process_ = nullptr;
  std::optional<PreparedReport> prepared_;
  QTimer pdfTimer_;
  int pdfChecks_ = 0;
  ReportRunResult last_;
  TaskStatus exportStatus_;
  // The last choice of this session, so that the next export starts from it.
  ExportChoice lastExport_;
};

}  // namespace vesk
