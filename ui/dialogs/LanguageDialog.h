#pragma once
// The language dialog: the languages found in the language folder; OK loads the chosen one
// and re-texts the main window.

#include <QtWidgets/QDialog>

class QComboBox;

namespace vesk {

class CLanguageDialog : public QDialog {
  Q_OBJECT
 public:
  explicit CLanguageDialog(QWidget* parent = nullptr);
  QComboBox* List() const { return list_; }
  void OnOk();

 private:
  QComboBox* list_;
};

}  // namespace vesk
