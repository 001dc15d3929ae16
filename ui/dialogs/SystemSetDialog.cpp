#include "dialogs/SystemSetDialog.h"

#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QVBoxLayout>
#include <utility>

#include "common/Texts.h"
#include "common/UiMessages.h"
#include "dialogs/DialogUtil.h"
#include "platform/ProgramDir.h"
#include "settings/SystemSettings.h"

namespace vesk {

namespace {

QString ChooseProgramWithDialog(QWidget* parent, const QString& start) {
  QFileDialog dialog(parent);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  if (!start.isEmpty()) dialog.selectFile(start);
#ifdef _WIN32
  dialog.setNameFilter("(*.exe) (*.exe)");
#else
  // There is no extension that marks a program here; list the executable files instead.
  dialog.setFilter(QDir::AllDirs | QDir::Files | QDir::Executable | QDir::NoDotAndDotDot);
#endif
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

}  // namespace

const std::vector<CodePageChoice>& CodePageChoices() {
  // Each with a few letters it holds, which say more than a name in any one language.
  static const std::vector<CodePageChoice> choices = {
      {"GBK", "\xE6\xB1\x89\xE5\xAD\x97"},  // 汉字
      {"GB18030",
       "\xE6\xB1\x89\xE5\xAD\x97 \xC4\x85\xC5\x82 \xD9\x85 \xED\x95\x9C"},  // 汉字 ął م 한
      {"BIG5", "\xE6\xBC\xA2\xE5\xAD\x97"},                                 // 漢字
      {"SHIFT_JIS", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"},                // 日本語
      {"EUC-KR", "\xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4"},                   // 한국어
      {"CP1250", "\xC4\x85\xC4\x8D\xC4\x99\xC5\x82\xC5\x84\xC5\x91\xC5\x99\xC5\xA1"},  // ąčęłńőřš
      {"CP1251", "\xD0\xB0\xD0\xB1\xD0\xB2\xD0\xB3\xD0\xB4"},                          // абвгд
      {"CP1252", "\xC3\xA0\xC3\xA7\xC3\xA9\xC3\xB1\xC3\xB6\xC3\xBC"},          // àçéñöü
      {"CP1253", "\xCE\xB1\xCE\xB2\xCE\xB3\xCE\xB4"},                          // αβγδ
      {"CP1254", "\xC3\xA7\xC4\x9F\xC4\xB1\xC5\x9F"},                          // çğış
      {"CP1255", "\xD7\x90\xD7\x91\xD7\x92"},                                  // אבג
      {"CP1256", "\xD8\xB9\xD8\xB1\xD8\xA8\xD9\x8A"},                          // عربي
      {"CP1257", "\xC4\x81\xC4\x8D\xC4\x97\xC4\xAF\xC4\xBC\xC5\xA1\xC5\xAB"},  // āčėįļšū
      {"CP1258", "\xC4\x83\xC3\xA2\xC4\x91\xC6\xA1\xC6\xB0"},                  // ăâđơư
      {"CP874", "\xE0\xB9\x84\xE0\xB8\x97\xE0\xB8\xA2"},                       // ไทย
  };
  return choices;
}

QString (*CSystemSetDialog::ChooseProgram)(QWidget*, const QString&) = ChooseProgramWithDialog;

CSystemSetDialog::CSystemSetDialog(const SystemSettings& values,
                                   std::function<void(const std::string&)> stored, QWidget* parent)
    : QDialog(parent), stored_(std::move(stored)) {
  setWindowTitle(Tx(kSystemSet, "IDD_DLG_SYSTEMSET"));
  auto* info = Named<QLabel>(1203, Tx(kSystemSet, "IDC_STC_OTHERINFO"), this);
  info->setWordWrap(true);
  useOtherExe_ = Named<QCheckBox>(1199, Tx(kSystemSet, "IDC_CHK_ISOTHEREXE"), this);
  otherExe_ = Named<QLineEdit>(1200, this);
  browseOtherExe_ = Named<QPushButton>(1136, "...", this);
  useOtherExePdf_ = Named<QCheckBox>(1201, Tx(kSystemSet, "IDC_CHK_ISOTHEREXEPDF"), this);
  otherExePdf_ = Named<QLineEdit>(1202, this);
  browseOtherExePdf_ = Named<QPushButton>(1137, "...", this);
  otherExe_->setMinimumWidth(360);
  auto* codePageLabel = new QLabel(Tx(kSystemSet, "IDC_STC_CODEPAGE"), this);
  codePage_ = new QComboBox(this);
  codePage_->setObjectName("CodePage");
  for (const CodePageChoice& c : CodePageChoices())
    codePage_->addItem(QString("%1 - %2").arg(c.name, QString::fromUtf8(c.covers)),
                       QString(c.name));

  auto* grid = new QGridLayout;
  grid->addWidget(useOtherExe_, 0, 0, 1, 2);
  grid->addWidget(otherExe_, 1, 0);
  grid->addWidget(browseOtherExe_, 1, 1);
  grid->addWidget(useOtherExePdf_, 2, 0, 1, 2);
  grid->addWidget(otherExePdf_, 3, 0);
  grid->addWidget(browseOtherExePdf_, 3, 1);
  grid->addWidget(codePageLabel, 4, 0, 1, 2);
  grid->addWidget(codePage_, 5, 0, 1, 2);
  auto* box = new QVBoxLayout(this);
  box->addWidget(info);
  box->addLayout(grid);
  QPushButton* ok = nullptr;
  box->addLayout(OkCancelRow(this, 1, 2, &ok));
  connect(ok, &QPushButton::clicked, this, &CSystemSetDialog::OnOk);

  useOtherExe_->setChecked(values.useOtherExe != 0);
  otherExe_->setText(Qs(values.otherExe));
  useOtherExePdf_->setChecked(values.useOtherExePdf != 0);
  otherExePdf_->setText(Qs(values.otherExePdf));
  // A name stored by hand that the list lacks is kept as it is, not replaced unseen.
  int current = codePage_->findData(Qs(values.codePage));
  if (current < 0) {
    codePage_->addItem(Qs(values.codePage), Qs(values.codePage));
    current = codePage_->count() - 1;
  }
  codePage_->setCurrentIndex(current);
  UpdateEnabling();
  connect(useOtherExe_, &QCheckBox::toggled, this, &CSystemSetDialog::UpdateEnabling);
  connect(useOtherExePdf_, &QCheckBox::toggled, this, &CSystemSetDialog::UpdateEnabling);
  connect(browseOtherExe_, &QPushButton::clicked, this, [this] {
    const QString path = ChooseProgram(this, otherExe_->text());
    if (!path.isEmpty()) otherExe_->setText(path);
  });
  connect(browseOtherExePdf_, &QPushButton::clicked, this, [this] {
    const QString path = ChooseProgram(this, otherExePdf_->text());
    if (!path.isEmpty()) otherExePdf_->setText(path);
  });
}

void CSystemSetDialog::UpdateEnabling() {
  otherExe_->setEnabled(useOtherExe_->isChecked());
  browseOtherExe_->setEnabled(useOtherExe_->isChecked());
  otherExePdf_->setEnabled(useOtherExePdf_->isChecked());
  browseOtherExePdf_->setEnabled(useOtherExePdf_->isChecked());
}

void CSystemSetDialog::OnOk() {
  for (auto [check, field] :
       {std::pair{useOtherExe_, otherExe_}, {useOtherExePdf_, otherExePdf_}}) {
    if (check->isChecked() && field->text().trimmed().isEmpty()) {
      field->setFocus();
      return;
    }
  }
  SystemSettings values;
  values.useOtherExe = useOtherExe_->isChecked() ? 1 : 0;
  values.otherExe = Ss(otherExe_->text().trimmed());
  values.useOtherExePdf = useOtherExePdf_->isChecked() ? 1 : 0;
  values.otherExePdf = Ss(otherExePdf_->text().trimmed());
  values.codePage = Ss(codePage_->currentData().toString());
  const std::string ini = ProgramPath("\\MreConfig.ini");
  if (!SaveSystemSettings(ini, values)) {
    // Nothing is lost: the dialog stays open with what was entered.
    ShowBox(TxS(kGlobalSetting, "IDS_SAVE_FAULT"), MessageIcon::Error);
    return;
  }
  if (stored_) stored_(ini);
  accept();
}

}  // namespace vesk
