#pragma once
// The case browser: lists the case files of a folder, searches them by name, case ID or start
// date, moves a recording in time, and returns the case to open.

#include <QtWidgets/QDialog>
#include <string>

class QRadioButton;
class QLineEdit;
class QDateEdit;
class QTimeEdit;

namespace vesk {

class CCaseListPanel;
class CConfigFile;
class CLanguage;

class COpenDataDialog : public QDialog {
  Q_OBJECT
 public:
  COpenDataDialog(const CConfigFile& config, const CLanguage& language, QWidget* parent = nullptr);

  CCaseListPanel* Panel() const { return panel_; }
  QLineEdit* SearchText() const { return searchText_; }
  QDateEdit* SearchDate() const { return searchDate_; }
  QRadioButton* SearchBy(int index) const { return searchBy_[index]; }
  QDateEdit* MeasureDate() const { return measureDate_; }
  QTimeEdit* MeasureTime() const { return measureTime_; }

  void OnSearch();
  void OnUpdateTime();
  // OK and double click: refuses a locked case and stays open.
  void OnOk();
  // The case chosen by OK; it becomes the current case once it has loaded.
  const std::string& ChosenPath() const { return chosenPath_; }

 private:
  const CLanguage& language_;
  std::string chosenPath_;
  CCaseListPanel* panel_;
  QRadioButton* searchBy_[3];
  QLineEdit* searchText_;
  QDateEdit* searchDate_;
  QDateEdit* measureDate_;
  QTimeEdit* measureTime_;
};

}  // namespace vesk
