#pragma once
// The system settings: the patient-information program run before each download and the
// program each report PDF is handed to.

#include <QtWidgets/QDialog>
#include <functional>
#include <string>
#include <vector>

#include "settings/ConfigTypes.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace vesk {

class CSystemSetDialog : public QDialog {
  Q_OBJECT
 public:
  // Starts from the given settings. OK writes them to MreConfig.ini and then hands `stored`
  // that file, for the owner of the settings in force to read them again.
  CSystemSetDialog(const SystemSettings& values,
                   std::function<void(const std::string& iniPath)> stored = {},
                   QWidget* parent = nullptr);

  QCheckBox* UseOtherExe() const { return useOtherExe_; }
  QCheckBox* UseOtherExePdf() const { return useOtherExePdf_; }
  QLineEdit* OtherExe() const { return otherExe_; }
  QLineEdit* OtherExePdf() const { return otherExePdf_; }
  QComboBox* CodePage() const { return codePage_; }
  // Stores and closes, or keeps the dialog open at a ticked box with an empty path.
  void OnOk();

  // The file chooser of the browse buttons: programs only (".exe" on Windows, executable
  // files elsewhere). Tests replace it.
  static QString (*ChooseProgram)(QWidget* parent, const QString& start);

 private:
  void UpdateEnabling();

  std::function<void(const std::string&)> stored_;
  QCheckBox* useOtherExe_;
  QLineEdit* otherExe_;
  QPushButton* browseOtherExe_;
  QCheckBox* useOtherExePdf_;
  QLineEdit* otherExePdf_;
  QPushButton* browseOtherExePdf_;
  QComboBox* codePage_;
};

// The narrow code pages the system settings offer: iconv name and a few letters it holds
// (UTF-8).
struct CodePageChoice {
  const char* name;
  const char* covers;
};
const std::vector<CodePageChoice>& CodePageChoices();

}  // namespace vesk
