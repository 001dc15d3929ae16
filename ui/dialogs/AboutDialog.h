#pragma once
// The About box: serial number with the edition mark and the version.

#include <QtWidgets/QDialog>

namespace vesk {

class CAboutDialog : public QDialog {
  Q_OBJECT
 public:
  explicit CAboutDialog(QWidget* parent = nullptr);
};

}  // namespace vesk
