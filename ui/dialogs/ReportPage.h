#pragma once
// The report page: choose the current report configuration set, add a set through the set
// editor, edit or delete one. Adding, editing and deleting write the report file at once.

#include <QtWidgets/QWidget>

class QComboBox;

namespace vesk {

class CConfigFile;
class CSetEditor;

class CReportPage : public QWidget {
  Q_OBJECT
 public:
  explicit CReportPage(CConfigFile& config, QWidget* parent = nullptr);

  QComboBox* Sets() const { return sets_; }
  void Fill();
  void OnAdd();
  void OnEdit();
  void OnDelete();
  void Apply();

  // Runs the set editor modally; tests replace it to fill the editor and answer.
  static int (*RunEditor)(CSetEditor& editor);

 private:
  CConfigFile& config_;
  QComboBox* sets_;
};

}  // namespace vesk
