#pragma once
// The export dialog: the file to write, its type (text or CSV) and its encoding (the narrow
// code page or UTF-8). It only collects the choice; the checks and the writing come after.

#include <QtWidgets/QDialog>
#include <functional>

#include "export/CaseExport.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace vesk {

class CLanguage;

class CExportDialog : public QDialog {
  Q_OBJECT
 public:
  CExportDialog(QWidget* parent, const CLanguage& language, const ExportChoice& proposal);

  ExportChoice Choice() const;
  QLineEdit* PathField() const { return path_; }
  QComboBox* FormatBox() const { return format_; }
  QComboBox* EncodingBox() const { return encoding_; }
  // Keeps the dialog open at an empty file name.
  void OnOk();

  // The save-file chooser of the browse button (start path and filter given); empty when
  // cancelled. Tests replace it.
  static std::function<QString(QWidget*, const QString& start, const QString& filter)>&
  SaveFileChooser();

 private:
  void OnBrowse();

  QLineEdit* path_;
  QPushButton* browse_;
  QComboBox* format_;
  QComboBox* encoding_;
};

}  // namespace vesk
