#pragma once
// The preview of a finished report: every page, zoom, Print, Save as PDF and Close. The PDF
// of the job is already written when the window opens.

#include <QtWidgets/QDialog>

#include "ReportJob.h"
#include "ReportTexts.h"

class QPrintPreviewWidget;
class QPrinter;

namespace vesk::report {

class PreviewWindow : public QDialog {
 public:
  PreviewWindow(const ReportJob& job, const ReportModel& model, const ReportTexts& texts,
                QWidget* parent = nullptr);
  ~PreviewWindow() override;

  QPrintPreviewWidget* Preview() const { return preview_; }
  // Writes the report to a file the user chose; false (and a message box) on failure.
  bool SaveAs(const QString& path);

 private:
  void Print();
  void AskAndSave();

  const ReportJob& job_;
  const ReportModel& model_;
  const ReportTexts& texts_;
  QPrinter* printer_;
  QPrintPreviewWidget* preview_;
};

}  // namespace vesk::report
