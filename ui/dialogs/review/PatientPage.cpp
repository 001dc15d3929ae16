#include "dialogs/review/PatientPage.h"

#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QDateEdit>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QSpinBox>
#include <climits>

#include "dialogs/review/ReviewText.h"

namespace vesk {

namespace {

constexpr const char* kMessage = "Message Setting";
constexpr const char* kGlobal = "Global Setting";

QDate QDateOf(const DateParts& p) {
  return QDate(p.year, p.month, p.day);
}

DateParts PartsOf(const QDate& d) {
  DateParts p;
  p.year = d.year();
  p.month = d.month();
  p.day = d.day();
  return p;
}

QSpinBox* Number(const char* name, int value, QWidget* parent) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(name);
  // Whatever the file holds is shown as it is; the page never clips a stored value.
  box->setRange(std::min(0, value), std::max(999, value));
  box->setValue(value);
  return box;
}

}  // namespace

QLineEdit* PatientPage::Edit(const char* name, const std::string& text) {
  auto* edit = new QLineEdit(QString::fromStdString(text), this);
  edit->setObjectName(name);
  return edit;
}

PatientPage::PatientPage(const _PATIENT_INFO& info, BirthdayMarker marker, const DateParts& today,
                         const CLanguage& language, QWidget* parent)
    : QWidget(parent), today_(today) {
  setObjectName("PatientPage");
  const auto tx = [&language](const char* section, const char* key) {
    return review::Text(language, section, key);
  };
  caseId_ = Edit("CaseId", info.caseId);
  name_ = Edit("Name", info.name);
  address_ = Edit("Address", info.address);
  tel_ = Edit("Tel", info.tel);
  nation_ = Edit("Nation", info.nation);
  doorId_ = Edit("DoorId", info.doorId);
  inHosId_ = Edit("InHosId", info.inHosId);
  bedId_ = Edit("BedId", info.bedId);
  office_ = Edit("Office", info.office);
  email_ = Edit("Email", info.email);

  sex_ = new QComboBox(this);
  sex_->setObjectName("Sex");
  sex_->addItem(tx(kGlobal, "IDS_MAN"));
  sex_->addItem(tx(kGlobal, "IDS_WOMAN"));
  sex_->setCurrentIndex(info.sex == 1 ? 1 : 0);

  height_ = Number("Height", info.height, this);
  weight_ = Number("Weight", info.weight, this);
  age_ = Number("Age", info.age, this);

  hasBirthday_ = new QCheckBox(this);
  hasBirthday_->setObjectName("HasBirthday");
  birthday_ = new QDateEdit(this);
  birthday_->setObjectName("Birthday");
  birthday_->setDisplayFormat("yyyy-MM-dd");
  birthday_->setCalendarPopup(true);
  birthday_->setMinimumDate(QDate(100, 1, 1));
  const std::optional<DateParts> shown = BirthdayShown(marker, info.birthday, today);
  hasBirthday_->setChecked(shown.has_value());
  birthday_->setDate(QDateOf(shown.value_or(today)));
  birthday_->setEnabled(shown.has_value());
  connect(hasBirthday_, &QCheckBox::toggled, this, [this](bool on) {
    birthday_->setEnabled(on);
    OnBirthdayChanged();
  });
  connect(birthday_, &QDateEdit::dateChanged, this, [this] { OnBirthdayChanged(); });
  auto* birthRow = new QHBoxLayout;
  birthRow->addWidget(hasBirthday_);
  birthRow->addWidget(birthday_, 1);

  auto* form = new QFormLayout(this);
  form->addRow(tx(kMessage, "IDS_PATIENTS_ID"), caseId_);
  form->addRow(tx(kMessage, "IDS_PATIENTS_NAMES"), name_);
  form->addRow(tx(kMessage, "IDS_PATIENT_SEX"), sex_);
  form->addRow(tx(kMessage, "IDS_BIRTH_DATE"), birthRow);
  form->addRow(tx(kGlobal, "IDS_AGE"), age_);
  form->addRow(tx(kMessage, "IDS_PATIENT_HEIGHT"), height_);
  form->addRow(tx(kMessage, "IDS_PATIENT_WEIGHT"), weight_);
  form->addRow(tx(kMessage, "IDS_PATIENT_NATION"), nation_);
  form->addRow(tx(kMessage, "IDS_PATIENT_ADDRESS"), address_);
  form->addRow(tx(kMessage, "IDS_PATIENT_PHONE"), tel_);
  form->addRow(tx(kGlobal, "IDS_EMAIL"), email_);
  form->addRow(tx(kGlobal, "IDS_OUTPATIENTNO"), doorId_);
  form->addRow(tx(kGlobal, "IDS_ADMISSIONNO"), inHosId_);
  form->addRow(tx(kGlobal, "IDS_BEDNO"), bedId_);
  form->addRow(tx(kGlobal, "IDS_DEPARTMENTNO"), office_);
}

void PatientPage::OnBirthdayChanged() {
  if (adjusting_) return;
  std::optional<DateParts> chosen;
  if (hasBirthday_->isChecked()) chosen = PartsOf(birthday_->date());
  const BirthdayChoice result = ApplyBirthdayRules(chosen, today_);
  adjusting_ = true;
  if (result.birthday) birthday_->setDate(QDateOf(*result.birthday));
  age_->setValue(result.age);
  adjusting_ = false;
}

std::optional<DateParts> PatientPage::Birthday() const {
  if (!hasBirthday_->isChecked()) return std::nullopt;
  return PartsOf(birthday_->date());
}

int PatientPage::Age() const {
  return age_->value();
}

void PatientPage::Store(_PATIENT_INFO& info) const {
  info.caseId = caseId_->text().toStdString();
  info.name = name_->text().toStdString();
  info.address = address_->text().toStdString();
  info.tel = tel_->text().toStdString();
  info.nation = nation_->text().toStdString();
  info.sex = sex_->currentIndex();
  // No date is stored as an invalid one, which the case file writes as "-1--1--1".
  const std::optional<DateParts> b = Birthday();
  info.birthday = b ? OleDateTime::FromParts(b->year, b->month, b->day) : OleDateTime{};
  info.height = height_->value();
  info.weight = weight_->value();
  info.age = age_->value();
  info.doorId = doorId_->text().toStdString();
  info.inHosId = inHosId_->text().toStdString();
  info.bedId = bedId_->text().toStdString();
  info.office = office_->text().toStdString();
  info.email = email_->text().toStdString();
}

}  // namespace vesk
