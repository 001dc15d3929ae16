#include "view/ReportCommands.h"

#include <QtCore/QProcess>
#include <QtCore/QProcessEnvironment>
#include <QtWidgets/QWidget>

#include "app/RunOtherExe.h"
#include "cases/CaseDocument.h"
#include "cases/CaseFolders.h"
#include "common/Globals.h"
#include "common/UiMessages.h"
#include "dialogs/PrintSetup.h"
#include "dialogs/export/ExportDialog.h"
#include "dialogs/export/TaskProgressDialog.h"
#include "platform/ProgramDir.h"
#include "settings/ConfigFile.h"
#include "view/CaseSession.h"
#include "view/ZavView.h"

namespace vesk {

std::function<std::string()>& ReportProgramLocator() {
  static std::function<std::string()> locate = [] { return ReportProgramPath(); };
  return locate;
}

namespace {

class WindowVisibility : public IMainWindowVisibility {
 public:
  explicit WindowVisibility(QWidget* window) : window_(window) {}
  void Hide() override {
    if (window_) window_->hide();
  }
  void Show() override {
    if (window_) window_->show();
  }

 private:
  QWidget* window_;
};

}  // namespace

ReportCommands& ReportCommands::Of(CZavView* view) {
  if (auto* existing = view->findChild<ReportCommands*>(QString(), Qt::FindDirectChildrenOnly))
    return *existing;
  return *new ReportCommands(view, *g_Config, g_Language, UiSink());
}

ReportCommands::ReportCommands(CZavView* view, CConfigFile& config, const CLanguage& language,
                               IMessageSink& sink)
    : QObject(view), view_(view), config_(config), language_(language), sink_(sink) {
  pdfTimer_.setInterval(kPdfCheckIntervalMs);
  connect(&pdfTimer_, &QTimer::timeout, this, &ReportCommands::OnPdfCheck);
}

ReportCommands::~ReportCommands() {
  // Leaving the program ends the wait; the report program itself is not stopped.
  if (process_) {
    process_->disconnect(this);
    process_->setParent(nullptr);
    process_ = nullptr;
  }
}

QWidget* ReportCommands::MainWindow() const {
  return view_->window();
}

void ReportCommands::OnReport() {
  CaseSession& session = view_->Session();
  if (ReportRunning() || !session.Info().open) return;
  const ReportRequest request =
      MakeReportRequest(config_, language_, session.Document(), &session.Analysis(),
                        view_->FieldLimits(), LocalNow());
  prepared_ = PrepareReport(request, language_, sink_);
  if (prepared_->result.outcome != ReportOutcome::Done) {
    FinishReport(prepared_->result);
    return;
  }

  MainWindow()->hide();
  process_ = new QProcess(this);
  connect(process_, &QProcess::finished, this, [this] { OnReportProgramEnded(true); });
  connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart) OnReportProgramEnded(false);
  });
  process_->setProgram(QString::fromStdString(ReportProgramLocator()()));
  // The report program is started without arguments; it must find the same home and share
  // folders as the window, which may have come from --home rather than the environment.
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("VESK_HOME"), QString::fromStdString(GetProgramDir()));
  env.insert(QStringLiteral("VESK_SHARE"), QString::fromStdString(GetShareDir()));
  process_->setProcessEnvironment(env);
  process_->setProcessChannelMode(QProcess::ForwardedChannels);
  process_->start();
}

void ReportCommands::OnReportProgramEnded(bool started) {
  if (!process_) return;
  process_->deleteLater();
  process_ = nullptr;
  QWidget* window = MainWindow();
  window->show();
  window->raise();
  window->activateWindow();
  view_->setFocus();

  ReportRunResult result = prepared_->result;
  if (!started) {
    result.outcome = ReportOutcome::ReportNotStarted;
    result.path = ReportProgramPath();
    FinishReport(result);
    return;
  }
  if (!prepared_->handOver) {
    FinishReport(result);
    return;
  }
  // The report program may still be writing the PDF: look for it while the window stays live.
  pdfChecks_ = 0;
  OnPdfCheck();
}

void ReportCommands::OnPdfCheck() {
  if (PdfPresent(*prepared_)) {
    pdfTimer_.stop();
    pdfChecks_ = 0;
    WindowVisibility window(MainWindow());
    ProcessReportPrograms programs(language_, sink_, &window);
    FinishReport(HandOverPdf(*prepared_, programs));
    return;
  }
  if (++pdfChecks_ >= kPdfChecks) {
    pdfTimer_.stop();
    pdfChecks_ = 0;
    ReportRunResult result = prepared_->result;
    result.outcome = ReportOutcome::PdfMissing;
    result.path = result.pdfPath;
    FinishReport(result);
    return;
  }
  if (!pdfTimer_.isActive()) pdfTimer_.start();
}

void ReportCommands::FinishReport(ReportRunResult result) {
  last_ = std::move(result);
  prepared_.reset();
  emit reportFinished();
}

void ReportCommands::OnPrintSetup() {
  (void)RunPrintSetup(MainWindow(), language_, sink_);
}

namespace {

// The case file's own name beside it, so that the export lands next to its case by default.
std::string ProposedExportPath(const std::string& casePath) {
  const size_t slash = casePath.find_last_of('/');
  const size_t dot = casePath.find_last_of('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
    return casePath.substr(0, dot);
  return casePath;
}

}  // namespace

void ReportCommands::OnExport() {
  CaseSession& session = view_->Session();
  if (!session.Info().open || exportStatus_.state.load() == TaskState::Running) return;
  const std::span<const _BP_RECORD> readings = session.Document().AllReadings();
  exportStatus_.Reset(language_.GetText("Global Setting", "IDS_DERIVEDATAING"));

  // The case's own name, in the folder of the previous export or else beside the case.
  ExportChoice proposal = lastExport_;
  const std::string stem = ProposedExportPath(session.Info().path);
  const size_t previousSlash = lastExport_.path.find_last_of('/');
  proposal.path =
      previousSlash == std::string::npos
          ? stem
          : lastExport_.path.substr(0, previousSlash + 1) + stem.substr(stem.find_last_of('/') + 1);
  CExportDialog dialog(MainWindow(), language_, proposal);
  if (dialog.exec() != QDialog::Accepted) {
    exportStatus_.state.store(TaskState::Cancelled);
    return;
  }
  const ExportChoice choice = dialog.Choice();
  lastExport_ = choice;
  exportStatus_.progress.store(10);

  std::string path;
  ExportResult result = CheckExport(choice, readings, language_, sink_, &path);
  if (result == ExportResult::Ok) {
    // The case cannot change meanwhile: the progress window is modal until the worker ends.
    std::thread worker =
        StartExportWriter(readings, language_, path, choice.encoding, exportStatus_);
    CTaskProgressDialog progress(MainWindow(), exportStatus_);
    progress.exec();
    worker.join();
    result = ExportResult(exportStatus_.result.load());
  }
  exportStatus_.state.store(TaskState::Finished);
  const Message end = ExportEndMessage(result, language_);
  if (!end.text.empty()) sink_.Show(end);
}

}  // namespace vesk
