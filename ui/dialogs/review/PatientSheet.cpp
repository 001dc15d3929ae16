#include "dialogs/review/PatientSheet.h"

#include <QtWidgets/QFormLayout>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QVBoxLayout>
#include <algorithm>

#include "dialogs/review/PatientPage.h"
#include "dialogs/review/ReviewText.h"
#include "reports/ReportData.h"

namespace vesk {

namespace {

constexpr const char* kMessage = "Message Setting";

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

// A text box that refuses to grow past `limit` characters, or past the text it started with
// when that was longer already.
QPlainTextEdit* Note(const char* name, const std::string& text, int limit, QWidget* parent) {
  auto* edit = new QPlainTextEdit(Q(text), parent);
  edit->setObjectName(name);
  const int most = std::max<int>(limit, static_cast<int>(edit->toPlainText().size()));
  QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit, most] {
    const QString t = edit->toPlainText();
    if (t.size() <= most) return;
    QTextCursor cursor = edit->textCursor();
    const int at = cursor.position();
    edit->setPlainText(t.left(most));
    cursor = edit->textCursor();
    cursor.setPosition(std::min(at, static_cast<int>(most)));
    edit->setTextCursor(cursor);
  });
  return edit;
}

QLineEdit* Line(const char* name, const std::string& text, int limit, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  const QString t = Q(text);
  edit->setMaxLength(std::max<int>(limit, static_cast<int>(t.size())));
  edit->setText(t);
  return edit;
}

QWidget* NotePage(const char* name, QPlainTextEdit* edit) {
  auto* page = new QWidget;
  page->setObjectName(name);
  auto* layout = new QVBoxLayout(page);
  edit->setParent(page);
  layout->addWidget(edit);
  return page;
}

}  // namespace

PatientSheet::PatientSheet(const _PATIENT_INFO& info, BirthdayMarker marker, const DateParts& today,
                           const CLanguage& language, QWidget* parent)
    : QDialog(parent), info_(info) {
  setObjectName("PatientSheet");
  const auto tx = [&language](const char* section, const char* key) {
    return review::Text(language, section, key);
  };
  setWindowTitle(tx("Dialog Setting", "IDS_SET_PAT_CONFIGURATION"));
  pages_ = new QTabWidget(this);
  pages_->setObjectName("Pages");

  patient_ = new PatientPage(info, marker, today, language);
  pages_->addTab(patient_, tx(kMessage, "IDS_PATIENT_INFOR"));

  auto* physician = new QWidget;
  physician->setObjectName("PhysicianPage");
  physicians_[0] = Line("AttendingPhysician", info.extra[kExtraAttendingPhysician],
                        kPhysicianTextLimits[0], physician);
  physicians_[1] = Line("AssistantPhysician", info.extra[kExtraAssistantPhysician],
                        kPhysicianTextLimits[1], physician);
  comments_ = Note("PhysicianComments", info.extra[kExtraPhysicianComments],
                   kPhysicianTextLimits[2], physician);
  auto* form = new QFormLayout(physician);
  form->addRow(tx(kMessage, "IDS_PRIMARY_DOCTOR"), physicians_[0]);
  form->addRow(tx(kMessage, "IDS_ASSISITANT_DOCTOR"), physicians_[1]);
  form->addRow(tx(kMessage, "IDS_DOCTOR_DIAGNOSE"), comments_);
  pages_->addTab(physician, tx(kMessage, "IDS_DOCTOR_INFOR"));

  medication_ = Note("Medication", info.extra[kExtraMedication], kNoteTextLimit, nullptr);
  pages_->addTab(NotePage("MedicationPage", medication_), tx(kMessage, "IDS_MEDICINE_INFO"));
  diagnosis_ = Note("Diagnosis", info.extra[kExtraDiagnosis], kNoteTextLimit, nullptr);
  pages_->addTab(NotePage("DiagnosisPage", diagnosis_), tx(kMessage, "IDS_DIAGLOSE_INFOR"));

  auto* ok = new QPushButton(tx(kMessage, "IDS_MAKE_SURE"), this);
  ok->setObjectName("1");
  ok->setDefault(true);
  auto* cancel = new QPushButton(tx(kMessage, "IDS_CANCEL"), this);
  cancel->setObjectName("2");
  connect(ok, &QPushButton::clicked, this, &PatientSheet::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* outer = new QVBoxLayout(this);
  outer->addWidget(pages_);
  outer->addLayout(buttons);
  resize(480, 600);
}

void PatientSheet::accept() {
  patient_->Store(info_);
  info_.extra[kExtraAttendingPhysician] = physicians_[0]->text().toStdString();
  info_.extra[kExtraAssistantPhysician] = physicians_[1]->text().toStdString();
  info_.extra[kExtraPhysicianComments] = comments_->toPlainText().toStdString();
  info_.extra[kExtraMedication] = medication_->toPlainText().toStdString();
  info_.extra[kExtraDiagnosis] = diagnosis_->toPlainText().toStdString();
  QDialog::accept();
}

}  // namespace vesk
