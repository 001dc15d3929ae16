#pragma once
// The system settings: the patient-information program run before each download and the
// program each report PDF is handed to.

#include <QtWidgets/QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace vesk {

class CSystemSetDialog : public QDialog {
  Q_OBJECT
 public:
  explicit CSystemSetDialog(QWidget* parent = nullptr);

  QCheckBox* UseOtherExe() const { return useOtherExe_; }
  QCheckBox* UseOtherExePdf() const { return useOtherExePdf_; }
  QLineEdit* OtherExe() const { return otherExe_; }
  QLineEdit* OtherExePdf() const { return otherExePdf_; }
  // Stores and closes, or keeps the dialog open at a ticked box with an empty path.
  void OnOk();

  // The file chooser of the browse buttons: programs only (".exe" on Windows, executable
  // files elsewhere). Tests replace it.
  static QString (*ChooseProgram)(QWidget* parent, const QString& start);

 private:
  void UpdateEnabling();

  QCheckBox* useOtherExe_;
  QLineEdit* otherExe_;
  QPushButton* browseOtherExe_;
  QCheckBox* useOtherExePdf_;
  QLineEdit* otherExePdf_;
  QPushButton* browseOtherExePdf_;
};

}  // namespace vesk
