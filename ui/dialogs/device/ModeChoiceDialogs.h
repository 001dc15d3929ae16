#pragma once
// The two choices before a transfer: the data mode of a MIRU (a list) and the user of a QORA
// (a combo box). Both show the rows the core lists for what the recorder offers.

#include <QtWidgets/QDialog>
#include <vector>

#include "device/DownloadTexts.h"
#include "language/Language.h"
#include "platform/MessageSink.h"

class QListWidget;
class QComboBox;

namespace vesk {

class DataModeDialog : public QDialog {
  Q_OBJECT
 public:
  DataModeDialog(const CLanguage& language, IMessageSink& sink, std::vector<ModeChoice> choices,
                 QWidget* parent = nullptr);
  // The enum_DataMode of the chosen row (after OK).
  int ChosenMode() const { return chosen_; }
  QListWidget* List() const { return list_; }

 private:
  void OnOk();
  const CLanguage& language_;
  IMessageSink& sink_;
  std::vector<ModeChoice> choices_;
  QListWidget* list_ = nullptr;
  int chosen_ = 0;
};

class UserChoiceDialog : public QDialog {
  Q_OBJECT
 public:
  UserChoiceDialog(const CLanguage& language, std::vector<ModeChoice> choices,
                   QWidget* parent = nullptr);
  int ChosenMode() const { return chosen_; }
  QComboBox* Combo() const { return combo_; }

 private:
  void OnOk();
  std::vector<ModeChoice> choices_;
  QComboBox* combo_ = nullptr;
  int chosen_ = 0;
};

}  // namespace vesk
