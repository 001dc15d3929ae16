#pragma once
// The wearing instructions: how the cuff sits on the upper arm and where the recorder goes.

#include <QtWidgets/QDialog>

namespace vesk {

class CWearDialog : public QDialog {
  Q_OBJECT
 public:
  explicit CWearDialog(QWidget* parent = nullptr);
};

}  // namespace vesk
