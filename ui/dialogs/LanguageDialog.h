#pragma once
// The language dialog: the languages found in the language folder; OK loads the chosen one
// and has the windows texted anew.

#include <QtWidgets/QDialog>
#include <functional>

class QComboBox;

namespace vesk {

class CLanguage;

class CLanguageDialog : public QDialog {
  Q_OBJECT
 public:
  // `loaded` runs once the chosen language is loaded, while the dialog is still open: the
  // main window re-texts itself there.
  CLanguageDialog(CLanguage& language, std::function<void()> loaded, QWidget* parent = nullptr);
  QComboBox* List() const { return list_; }
  void OnOk();

 private:
  CLanguage& language_;
  std::function<void()> loaded_;
  QComboBox* list_;
};

}  // namespace vesk
