#include "dialogs/WearDialog.h"

#include <QtWidgets/QLabel>
#include <QtWidgets/QVBoxLayout>

#include "common/Texts.h"
#include "dialogs/DialogUtil.h"

namespace vesk {

CWearDialog::CWearDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(Tx(kMenuSetting, "IDS_WEAR"));
  auto* picture = new QLabel(this);
  picture->setObjectName("picture");
  const QPixmap strip(":/res/Toolbar.png");
  if (!strip.isNull()) {
    // The wear image of the toolbar, enlarged.
    const int w = strip.width() / 15;
    picture->setPixmap(
        strip.copy(0, 0, w, strip.height())
            .scaled(w * 6, strip.height() * 6, Qt::KeepAspectRatio, Qt::SmoothTransformation));
  }
  picture->setAlignment(Qt::AlignCenter);
  auto* box = new QVBoxLayout(this);
  box->addWidget(picture);
  QPushButton* ok = nullptr;
  box->addLayout(OkCancelRow(this, 1, 0, &ok));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace vesk
