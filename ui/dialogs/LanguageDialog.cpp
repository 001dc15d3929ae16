#include "dialogs/LanguageDialog.h"

#include <QtWidgets/QComboBox>
#include <QtWidgets/QVBoxLayout>
#include <utility>

#include "common/Texts.h"
#include "dialogs/DialogUtil.h"
#include "language/Language.h"
#include "platform/ProgramDir.h"

namespace vesk {

CLanguageDialog::CLanguageDialog(CLanguage& language, std::function<void()> loaded, QWidget* parent)
    : QDialog(parent), language_(language), loaded_(std::move(loaded)) {
  list_ = Named<QComboBox>(1054, this);
  list_->setMinimumWidth(260);
  language_.ScanLanguageFolder(ProgramPath("\\Language"));
  for (const std::string& name : language_.Languages()) list_->addItem(Qs(name));
  auto* box = new QVBoxLayout(this);
  box->addWidget(list_);
  QPushButton* ok = nullptr;
  QPushButton* cancel = nullptr;
  box->addLayout(OkCancelRow(this, 1, 2, &ok, &cancel));
  connect(ok, &QPushButton::clicked, this, &CLanguageDialog::OnOk);

  // The list box's exact-string search ignores case.
  const int found = list_->findText(Qs(CLanguage::GetLanguage()), Qt::MatchFixedString);
  list_->setCurrentIndex(found);
  // The dialog is texted in the current language even when that is not in the list.
  setWindowTitle(Tx(kMessageSetting, "IDS_SET_LANGUAGE"));
}

void CLanguageDialog::OnOk() {
  if (list_->currentIndex() < 0) {
    reject();
    return;
  }
  // SetLanguage records the name in MreConfig.ini as well.
  language_.SetLanguage(Ss(list_->currentText()));
  language_.Load();
  if (loaded_) loaded_();
  accept();
}

}  // namespace vesk
