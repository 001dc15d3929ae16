#pragma once
// Small helpers the dialogs share: controls named by their ids, and the OK/Cancel row.

#include <QtWidgets/QDialog>
#include <QtWidgets/QPushButton>

class QHBoxLayout;

namespace vesk {

template <typename W, typename... Args>
W* Named(int id, Args&&... args) {
  W* w = new W(std::forward<Args>(args)...);
  w->setObjectName(QString::number(id));
  return w;
}

// A row with OK (id okId) and Cancel (id cancelId, 0 for none) at the right, texted
// "IDS_MAKE_SURE" and "IDS_CANCEL"; OK runs onOk, Cancel rejects the dialog.
QHBoxLayout* OkCancelRow(QDialog* dialog, int okId, int cancelId, QPushButton** ok = nullptr,
                         QPushButton** cancel = nullptr);

}  // namespace vesk
