#pragma once
// The patient page of the patient sheet: identity, contact and body data, and the birthday
// with the age it gives.

#include <QtWidgets/QWidget>
#include <optional>

#include "cases/CaseRecord.h"
#include "cases/PatientData.h"
#include "platform/DateTime.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QSpinBox;

namespace vesk {

class CLanguage;

class PatientPage : public QWidget {
  Q_OBJECT
 public:
  // `today` decides the birthday rules (the caller's clock).
  PatientPage(const _PATIENT_INFO& info, BirthdayMarker marker, const DateParts& today,
              const CLanguage& language, QWidget* parent = nullptr);
  // Writes the page's fields into `info`; the fields of other pages stay.
  void Store(_PATIENT_INFO& info) const;

  // The birthday as the field shows it; none when its box is cleared.
  std::optional<DateParts> Birthday() const;
  int Age() const;

 private:
  void OnBirthdayChanged();
  QLineEdit* Edit(const char* name, const std::string& text);

  DateParts today_;
  bool adjusting_ = false;
  QLineEdit* caseId_ = nullptr;
  QLineEdit* name_ = nullptr;
  QLineEdit* address_ = nullptr;
  QLineEdit* tel_ = nullptr;
  QLineEdit* nation_ = nullptr;
  QComboBox* sex_ = nullptr;
  QCheckBox* hasBirthday_ = nullptr;
  QDateEdit* birthday_ = nullptr;
  QSpinBox* height_ = nullptr;
  QSpinBox* weight_ = nullptr;
  QSpinBox* age_ = nullptr;
  QLineEdit* doorId_ = nullptr;
  QLineEdit* inHosId_ = nullptr;
  QLineEdit* bedId_ = nullptr;
  QLineEdit* office_ = nullptr;
  QLineEdit* email_ = nullptr;
};

}  // namespace vesk
