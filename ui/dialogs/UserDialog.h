#pragma once
// The user dialog, shown at every start and by the switch-user command: choose, add or
// delete the operators whose settings and report sets the program keeps apart.

#include <QtWidgets/QDialog>

class QComboBox;

namespace vesk {

class CConfigFile;

class CUserDialog : public QDialog {
  Q_OBJECT
 public:
  explicit CUserDialog(CConfigFile& config, QWidget* parent = nullptr);

  QComboBox* Users() const { return users_; }
  void OnOk();
  void OnDelete();
  void OnDeleteAll();

 private:
  void Fill();
  CConfigFile& config_;
  QComboBox* users_;
};

}  // namespace vesk
