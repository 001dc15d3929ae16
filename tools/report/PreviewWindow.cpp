#include "PreviewWindow.h"

#include <QtPrintSupport/QPrintDialog>
#include <QtPrintSupport/QPrintPreviewWidget>
#include <QtPrintSupport/QPrinter>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QToolBar>
#include <QtWidgets/QVBoxLayout>

#include "ReportRender.h"

namespace vesk::report {

PreviewWindow::PreviewWindow(const ReportJob& job, const ReportModel& model,
                             const ReportTexts& texts, QWidget* parent)
    : QDialog(parent), job_(job), model_(model), texts_(texts) {
  setObjectName(QStringLiteral("reportPreview"));
  setWindowTitle(
      QString::fromStdString(model.data.main.title.empty() ? "VESK" : model.data.main.title));
  // Preview on a PDF printer: no printer needs to exist to look at the report.
  printer_ = new QPrinter(QPrinter::ScreenResolution);
  printer_->setOutputFormat(QPrinter::PdfFormat);
  printer_->setPageSize(PageSizeOf(job));
  printer_->setFullPage(true);
  preview_ = new QPrintPreviewWidget(printer_, this);
  preview_->setObjectName(QStringLiteral("pages"));
  connect(preview_, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* printer) {
    QString error;
    if (!PaintReport(*printer, printer->resolution(), model_, texts_, error))
      QMessageBox::critical(this, windowTitle(), error);
  });

  auto* bar = new QToolBar(this);
  bar->setObjectName(QStringLiteral("previewBar"));
  auto add = [&](const char* name, const QString& text, auto slot) {
    QAction* a = bar->addAction(text, this, slot);
    a->setObjectName(QString::fromLatin1(name));
    return a;
  };
  add("previous", texts.T("IDS_PREVIOUS_PAGE"),
      [this] { preview_->setCurrentPage(preview_->currentPage() - 1); });
  add("next", texts.T("IDS_NEXT_PAGE"),
      [this] { preview_->setCurrentPage(preview_->currentPage() + 1); });
  add("zoomIn", texts.T("IDS_ZOOM_IN"), [this] { preview_->zoomIn(); });
  add("zoomOut", texts.T("IDS_ZOOM_OUT"), [this] { preview_->zoomOut(); });
  add("fitWidth", texts.T("IDS_FIT_WIDTH"), [this] { preview_->fitToWidth(); });
  bar->addSeparator();
  add("print", texts.T("IDS_PRINT_REPORT"), [this] { Print(); });
  add("savePdf", texts.T("IDS_SAVE_PDF"), [this] { AskAndSave(); });
  add("close", texts.T("IDS_CLOSE"), [this] { accept(); });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(bar);
  layout->addWidget(preview_, 1);
  resize(900, 1000);
}

PreviewWindow::~PreviewWindow() {
  delete preview_;
  delete printer_;
}

void PreviewWindow::Print() {
  QPrinter printer(QPrinter::ScreenResolution);
  SetUpPrinter(printer, job_);
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() != QDialog::Accepted) return;
  QString error;
  if (!PaintReport(printer, printer.resolution(), model_, texts_, error))
    QMessageBox::critical(this, windowTitle(), error);
}

bool PreviewWindow::SaveAs(const QString& path) {
  QString error;
  if (WritePdf(path.toStdString(), job_, model_, texts_, error)) return true;
  QMessageBox::critical(this, windowTitle(), error);
  return false;
}

void PreviewWindow::AskAndSave() {
  const QString path = QFileDialog::getSaveFileName(this, texts_.T("IDS_SAVE_PDF"),
                                                    QString::fromStdString(job_.reportPath),
                                                    QStringLiteral("PDF (*.pdf)"));
  if (!path.isEmpty()) (void)SaveAs(path);
}

}  // namespace vesk::report
