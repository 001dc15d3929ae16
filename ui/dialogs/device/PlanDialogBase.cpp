#include "dialogs/device/PlanDialogBase.h"

#include <QtWidgets/QComboBox>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>

#include "device/PlanRules.h"
#include "dialogs/device/DeviceDialogUtil.h"
#include "platform/CodePage.h"

namespace vesk {

QStringList TimeEntries() {
  QStringList out;
  for (int i = 0; i < plan::kTimeSlots; ++i) {
    const plan::HourMinute t = plan::TimeFromIndex(i);
    out << QString::asprintf("%02d:%02d", t.hour, t.minute);
  }
  return out;
}

QStringList IntervalEntries(const CLanguage& language) {
  QStringList out;
  out << LangText(language, "Dialog Setting", "IDS_NONE");
  const QString mins = LangText(language, "Dialog Setting", "IDS_MINS");
  for (int i = 1; i < plan::kIntervalCount; ++i)
    out << QString::number(plan::kIntervalMinutes[i]) + mins;
  return out;
}

PlanDialogBase::PlanDialogBase(const PlanDialogContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
  setWindowTitle(T("Message Setting", "IDS_UPLOAD_PARAMETER"));
}

QString PlanDialogBase::T(const char* section, const char* key) const {
  return LangText(context_.language, section, key);
}

int PlanDialogBase::AddPatientRows(QGridLayout* grid, int row, int nameId, int idId, int timeId) {
  auto label = [&](int id, const char* key) {
    auto* l = new QLabel(T("Message Setting", key), this);
    if (id) l->setObjectName(QString::number(id));
    return l;
  };
  name_ = new QLineEdit(QString::fromStdString(context_.settings.patientName), this);
  name_->setObjectName(QString::number(nameId));
  name_->setMaxLength(int(plan::kNameBytes));
  id_ = new QLineEdit(QString::fromStdString(context_.settings.patientID), this);
  id_->setObjectName(QString::number(idId));
  id_->setMaxLength(int(plan::kIdBytes));
  nameWarning_ = new QLabel(T("Dialog Setting", "IDS_NAME_NARROW"), this);
  nameWarning_->setObjectName("nameWarning");
  nameWarning_->setWordWrap(true);
  nameWarning_->setStyleSheet("color: #b00000");
  // A wrapped label in a grid gets one line unless it asks for more.
  nameWarning_->setMinimumHeight(nameWarning_->fontMetrics().height() * 3);
  connect(name_, &QLineEdit::textEdited, this, &PlanDialogBase::OnNameEdited);
  connect(id_, &QLineEdit::textEdited, this, &PlanDialogBase::OnIdEdited);
  connect(name_, &QLineEdit::textChanged, this, [this](const QString& text) {
    bool lossy = false;
    (void)codepage::ToAnsi(text.toStdString(), &lossy);
    nameWarning_->setVisible(lossy);
  });
  grid->addWidget(label(0, "IDS_PATIENTS_NAMES"), row, 0);
  grid->addWidget(name_, row, 1, 1, 3);
  ++row;
  grid->addWidget(nameWarning_, row, 1, 1, 3);
  ++row;
  grid->addWidget(label(0, "IDS_PATIENTS_ID"), row, 0);
  grid->addWidget(id_, row, 1, 1, 3);
  ++row;
  if (timeId) {
    const DateParts& n = context_.now;
    auto* time = new QLineEdit(
        QString::asprintf("%04d-%02d-%02d %02d:%02d", n.year, n.month, n.day, n.hour, n.minute),
        this);
    time->setObjectName(QString::number(timeId));
    time->setReadOnly(true);
    grid->addWidget(label(0, "IDS_CURRENT_TIME"), row, 0);
    grid->addWidget(time, row, 1, 1, 3);
    ++row;
  }
  bool lossy = false;
  (void)codepage::ToAnsi(name_->text().toStdString(), &lossy);
  nameWarning_->setVisible(lossy);
  return row;
}

QComboBox* PlanDialogBase::AddList(int id, const QStringList& entries, int selected) {
  auto* combo = new QComboBox(this);
  combo->setObjectName(QString::number(id));
  combo->addItems(entries);
  combo->setCurrentIndex(selected >= 0 && selected < entries.size() ? selected : 0);
  return combo;
}

void PlanDialogBase::AddOkCancel(QGridLayout* grid, int row, int columns) {
  QPushButton* ok = nullptr;
  grid->addLayout(DeviceOkCancelRow(this, context_.language, &ok), row, 0, 1, columns);
  connect(ok, &QPushButton::clicked, this, &PlanDialogBase::OnOk);
}

void PlanDialogBase::OnNameEdited(const QString& text) {
  const QString limited = QString::fromStdString(plan::LimitTypedName(text.toStdString()));
  if (limited != text) {
    name_->setText(limited);
    name_->setCursorPosition(int(limited.size()));
  }
}

void PlanDialogBase::OnIdEdited(const QString& text) {
  const QString limited = QString::fromStdString(plan::LimitTypedId(text.toStdString()));
  if (limited != text) {
    id_->setText(limited);
    id_->setCursorPosition(int(limited.size()));
  }
}

void PlanDialogBase::OnOk() {
  const CLanguage& lang = context_.language;
  const std::string name = plan::TrimBlanks(name_->text().toStdString());
  const std::string id = plan::TrimBlanks(id_->text().toStdString());
  if (name.empty()) {
    context_.sink.Show({lang.GetText("Global Setting", "IDS_MSG_NAME"),
                        {},
                        MessageIcon::Warning,
                        MessageButtons::Ok});
    return;
  }
  if (id.empty()) {
    context_.sink.Show({lang.GetText("Global Setting", "IDS_MSG_ID"),
                        {},
                        MessageIcon::Warning,
                        MessageButtons::Ok});
    return;
  }
  std::string question = lang.GetText("CorreLine", "IDS_REPLACE_CONTINUE");
  if (nameWarning_->isVisible())
    question = lang.GetText("Dialog Setting", "IDS_NAME_NARROW") + "\n\n" + question;
  if (context_.sink.Show({question, {}, MessageIcon::Warning, MessageButtons::YesNo}) !=
      MessageAnswer::Yes)
    return;

  UploadPlanOptions options;
  options.name = name;
  options.id = id;
  options.clock = Clock();
  FillOptions(options);
  const UploadPlanResult built =
      BuildUploadPlan(context_.deviceKind, context_.mode, options, context_.recorder);
  if (!built.ok) {
    context_.sink.Show({built.error, {}, MessageIcon::Warning, MessageButtons::Ok});
    return;
  }
  plan_ = built.plan;
  context_.settings.patientName = name;
  context_.settings.patientID = id;
  StoreSettings();
  accept();
}

}  // namespace vesk
