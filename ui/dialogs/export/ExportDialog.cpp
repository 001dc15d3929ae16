#include "dialogs/export/ExportDialog.h"

#include <QtWidgets/QComboBox>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QVBoxLayout>

#include "app/AppInfo.h"
#include "common/Texts.h"
#include "dialogs/DialogUtil.h"
#include "language/Language.h"
#include "platform/CodePage.h"

namespace vesk {

std::function<QString(QWidget*, const QString&, const QString&)>& CExportDialog::SaveFileChooser() {
  static std::function<QString(QWidget*, const QString&, const QString&)> chooser =
      [](QWidget* parent, const QString& start, const QString& filter) {
        // The existing-file question comes afterwards, with the extension the type adds.
        return QFileDialog::getSaveFileName(parent, {}, start, filter, nullptr,
                                            QFileDialog::DontConfirmOverwrite);
      };
  return chooser;
}

CExportDialog::CExportDialog(QWidget* parent, const CLanguage& language,
                             const ExportChoice& proposal)
    : QDialog(parent) {
  auto text = [&language](const char* section, const char* key) {
    return Qs(language.GetText(section, key));
  };
  setObjectName("ExportDialog");
  setWindowTitle(text(kDialogSetting, "IDS_DERIVE_DATA"));
  path_ = new QLineEdit(Qs(proposal.path), this);
  path_->setObjectName("ExportPath");
  path_->setMinimumWidth(380);
  browse_ = new QPushButton("...", this);
  browse_->setObjectName("ExportBrowse");
  format_ = new QComboBox(this);
  format_->setObjectName("ExportFormat");
  format_->addItem(ExportFilterText(ExportFormat::Txt));
  format_->addItem(ExportFilterText(ExportFormat::Csv));
  format_->setCurrentIndex(proposal.format == ExportFormat::Csv ? 1 : 0);
  encoding_ = new QComboBox(this);
  encoding_->setObjectName("ExportEncoding");
  encoding_->addItem(text(kDialogSetting, "IDS_EXPORT_NARROW") + " " +
                     Qs(codepage::AnsiCodePage()));
  encoding_->addItem(text(kDialogSetting, "IDS_EXPORT_UTF8"));
  encoding_->setCurrentIndex(proposal.encoding == ExportEncoding::Utf8 ? 1 : 0);

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(text(kDialogSetting, "IDS_EXPORT_FILE"), this), 0, 0);
  grid->addWidget(path_, 0, 1);
  grid->addWidget(browse_, 0, 2);
  grid->addWidget(new QLabel(text(kDialogSetting, "IDS_EXPORT_TYPE"), this), 1, 0);
  grid->addWidget(format_, 1, 1, 1, 2);
  grid->addWidget(new QLabel(text(kDialogSetting, "IDS_EXPORT_ENCODING"), this), 2, 0);
  grid->addWidget(encoding_, 2, 1, 1, 2);
  auto* box = new QVBoxLayout(this);
  box->addLayout(grid);
  QPushButton* ok = nullptr;
  box->addLayout(OkCancelRow(this, 1, 2, &ok));
  connect(ok, &QPushButton::clicked, this, &CExportDialog::OnOk);
  connect(browse_, &QPushButton::clicked, this, &CExportDialog::OnBrowse);
}

ExportChoice CExportDialog::Choice() const {
  ExportChoice c;
  c.path = Ss(path_->text().trimmed());
  c.format = format_->currentIndex() == 1 ? ExportFormat::Csv : ExportFormat::Txt;
  c.encoding = encoding_->currentIndex() == 1 ? ExportEncoding::Utf8 : ExportEncoding::Narrow;
  return c;
}

void CExportDialog::OnOk() {
  if (path_->text().trimmed().isEmpty()) {
    path_->setFocus();
    return;
  }
  accept();
}

void CExportDialog::OnBrowse() {
  const ExportChoice c = Choice();
  const QString filter = QString("%1;;%2").arg(ExportFilterText(ExportFormat::Txt),
                                               ExportFilterText(ExportFormat::Csv));
  const QString chosen = SaveFileChooser()(this, Qs(c.path), filter);
  if (chosen.isEmpty()) return;
  path_->setText(chosen);
  if (chosen.endsWith(".csv", Qt::CaseInsensitive)) format_->setCurrentIndex(1);
  if (chosen.endsWith(".txt", Qt::CaseInsensitive)) format_->setCurrentIndex(0);
}

}  // namespace vesk
