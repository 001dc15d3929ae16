#include "dialogs/LanguageDialog.h"

#include <QtWidgets/QComboBox>
#include <QtWidgets/QVBoxLayout>

#include "app/ZavApp.h"
#include "common/Globals.h"
#include "common/Texts.h"
#include "dialogs/DialogUtil.h"
#include "frame/MainFrame.h"
#include "platform/ProgramDir.h"

namespace vesk {

CLanguageDialog::CLanguageDialog(QWidget* parent) : QDialog(parent) {
  list_ = Named<QComboBox>(1054, this);
  list_->setMinimumWidth(260);
  g_Language.ScanLanguageFolder(ProgramPath("\\Language"));
  for (const std::string& name : g_Language.Languages()) list_->addItem(Qs(name));
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
  g_Language.SetLanguage(Ss(list_->currentText()));
  g_Language.Load();
  CMainFrame* frame = qobject_cast<CMainFrame*>(parentWidget());
  if (!frame && CZavApp::Instance()) frame = CZavApp::Instance()->MainFrame();
  if (frame) frame->RetextAll();
  accept();
}

}  // namespace vesk
