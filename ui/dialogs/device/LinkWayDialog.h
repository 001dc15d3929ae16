#pragma once
// The link-way choice before a transfer: USB cable or Bluetooth, and whether to ask again.

#include <QtWidgets/QDialog>

#include "language/Language.h"

class QRadioButton;
class QCheckBox;

namespace vesk {

class LinkWayDialog : public QDialog {
  Q_OBJECT
 public:
  // Starts from the stored choice: Bluetooth when useBluetooth, box 1107 ticked when the
  // dialog is not to be shown.
  LinkWayDialog(const CLanguage& language, bool useBluetooth, bool showDialog,
                QWidget* parent = nullptr);
  bool UseBluetooth() const;
  bool ShowAgain() const;

 private:
  QRadioButton* usb_ = nullptr;
  QRadioButton* bluetooth_ = nullptr;
  QCheckBox* notShow_ = nullptr;
};

}  // namespace vesk
