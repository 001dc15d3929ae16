#include "dialogs/table/ReadingEditDialog.h"

#include <QtWidgets/QDateEdit>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QTimeEdit>
#include <QtWidgets/QVBoxLayout>

#include "common/UiMessages.h"
#include "language/Language.h"

namespace vesk {

namespace {

QSpinBox* PressureBox(const char* name, int value, QWidget* parent) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(name);
  // Wide enough for any value a recorder reports; the validity rule decides the rest.
  box->setRange(0, 999);
  box->setValue(value);
  return box;
}

}  // namespace

ReadingEditDialog::ReadingEditDialog(Mode mode, const ReadingInput& v, const QString& number,
                                     const CLanguage& language, bool chinese, QWidget* parent)
    : QDialog(parent), chinese_(chinese) {
  auto text = [&](const char* section, const char* key) {
    return QString::fromStdString(language.GetText(section, key));
  };
  setWindowTitle(QString::fromUtf8(
      FixedTextOf(mode == kAdd ? FixedText::AddTitle : FixedText::EditTitle, chinese)));
  number_ = new QLabel(mode == kAdd ? number + " Add" : number, this);
  number_->setObjectName("number");
  sys_ = PressureBox("sys", v.sys, this);
  dia_ = PressureBox("dia", v.dia, this);
  map_ = PressureBox("map", v.map, this);
  pr_ = PressureBox("pr", v.pr, this);
  date_ = new QDateEdit(this);
  date_->setObjectName("date");
  date_->setDisplayFormat("yyyy-MM-dd");
  date_->setDateRange(QDate(kFirstPickerYear, 1, 1), QDate(kLastPickerYear, 12, 31));
  date_->setDate(QDate(v.year, v.month, v.day));
  time_ = new QTimeEdit(this);
  time_->setObjectName("time");
  time_->setDisplayFormat("HH:mm:ss");
  time_->setTime(QTime(v.hour, v.minute, v.second));
  comment_ = new QLineEdit(QString::fromStdString(v.comment), this);
  comment_->setObjectName("comment");

  auto* form = new QFormLayout;
  form->addRow(text("Dialog Setting", "IDS_HEADING_NUM"), number_);
  form->addRow(text("CorreLine", "IDS_SYS"), sys_);
  form->addRow(text("CorreLine", "IDS_DIA"), dia_);
  form->addRow(text("Dialog Setting", "IDS_HEADING_MAP"), map_);
  form->addRow(text("Dialog Setting", "IDS_HEADING_PR"), pr_);
  form->addRow(text("Dialog Setting", "IDS_HEADING_DATE"), date_);
  form->addRow(text("Dialog Setting", "IDS_HEADING_TIME"), time_);
  form->addRow(text("Dialog Setting", "IDS_HEADING_COMMENT"), comment_);

  auto* ok = new QPushButton(text("Message Setting", "IDS_MAKE_SURE"), this);
  ok->setObjectName("1");
  ok->setDefault(true);
  auto* cancel = new QPushButton(text("Message Setting", "IDS_CANCEL"), this);
  cancel->setObjectName("2");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* box = new QVBoxLayout(this);
  box->addLayout(form);
  box->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, &ReadingEditDialog::OnOk);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

ReadingInput ReadingEditDialog::Values() const {
  ReadingInput v;
  v.sys = sys_->value();
  v.dia = dia_->value();
  v.map = map_->value();
  v.pr = pr_->value();
  const QDate d = date_->date();
  const QTime t = time_->time();
  v.year = d.year(), v.month = d.month(), v.day = d.day();
  v.hour = t.hour(), v.minute = t.minute(), v.second = t.second();
  v.comment = comment_->text().toStdString();
  return v;
}

void ReadingEditDialog::OnOk() {
  switch (CheckPressures(Values())) {
    case PressureCheck::MapNotBelowSys:
      ShowBox(FixedTextOf(FixedText::MapNotBelowSys, chinese_), MessageIcon::Warning);
      sys_->setFocus();
      sys_->selectAll();
      return;
    case PressureCheck::MapNotAboveDia:
      ShowBox(FixedTextOf(FixedText::MapNotAboveDia, chinese_), MessageIcon::Warning);
      map_->setFocus();
      map_->selectAll();
      return;
    case PressureCheck::Ok:
      accept();
  }
}

}  // namespace vesk
