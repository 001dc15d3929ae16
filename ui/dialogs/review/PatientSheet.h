#pragma once
// The patient sheet: four pages (patient, physician, medications, diagnosis) over one patient
// record. OK stores every page into the record; writing it to the case is the caller's.

#include <QtWidgets/QDialog>
#include <array>

#include "cases/CaseRecord.h"
#include "cases/PatientData.h"
#include "platform/DateTime.h"

class QLineEdit;
class QPlainTextEdit;
class QTabWidget;

namespace vesk {

class CLanguage;
class PatientPage;

// Longest texts the physician page takes (attending, assistant, comments); a longer text
// already in the file is kept, never clipped.
inline constexpr std::array<int, 3> kPhysicianTextLimits = {30, 30, 256};
inline constexpr int kNoteTextLimit = 1024;  // medications, diagnosis

class PatientSheet : public QDialog {
  Q_OBJECT
 public:
  PatientSheet(const _PATIENT_INFO& info, BirthdayMarker marker, const DateParts& today,
               const CLanguage& language, QWidget* parent = nullptr);
  // The record with every page stored (after OK), else as given.
  const _PATIENT_INFO& Patient() const { return info_; }
  QTabWidget* Pages() const { return pages_; }
  PatientPage* PatientFields() const { return patient_; }

 public slots:
  void accept() override;

 private:
  _PATIENT_INFO info_;
  QTabWidget* pages_ = nullptr;
  PatientPage* patient_ = nullptr;
  std::array<QLineEdit*, 2> physicians_{};
  QPlainTextEdit* comments_ = nullptr;
  QPlainTextEdit* medication_ = nullptr;
  QPlainTextEdit* diagnosis_ = nullptr;
};

}  // namespace vesk
