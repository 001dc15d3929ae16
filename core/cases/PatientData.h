#pragma once
// Patient information of a case file: reading and writing it with the class of the file's
// own version, the birthday marker the patient page looks at, and the age rules of the
// birthday field. The rules are plain functions of a date and of "today", so the caller's
// clock decides what today is and tests can pick any day.

#include <cstdint>
#include <optional>
#include <string>

#include "cases/CaseFileResult.h"
#include "cases/CaseRecord.h"
#include "cases/EditHistory.h"
#include "platform/DateTime.h"

namespace vesk {

// GetFileVersion on the path, then LoadPatientInfo of the version it names. The library's
// result: Ok, else its error code (the record is then untouched).
[[nodiscard]] CaseFileResult LoadCasePatient(const std::string& path, _PATIENT_INFO& out);
// GetFileVersion, then SavePatientInfo of that version. A file that is not a readable case
// file is refused with the version check's code rather than written over.
[[nodiscard]] CaseFileResult SaveCasePatient(const std::string& path, const _PATIENT_INFO& info);
// The same for a confirmed edit of the patient page: each changed field also goes into the
// file's edit history with the user and time of the stamp, in the same write. Unchanged data
// leaves the file alone.
[[nodiscard]] CaseFileResult SaveCasePatient(const std::string& path, const _PATIENT_INFO& info,
                                             const EditStamp& stamp);

// What key "Birthday" of section "PATIENT DATA" of the case file says.
enum class BirthdayMarker {
  Entered,     // a birthday was entered (or the key holds something else)
  NotEntered,  // "-1--1--1", compared without regard to case
  Missing,     // no such key, or the file cannot be read
};
BirthdayMarker ReadBirthdayMarker(const std::string& casePath);
// The same test on a value already read.
bool IsNoBirthdayMarker(const std::string& value);

// The date the birthday picker shows when the page opens: none when no birthday was entered,
// else the record's birthday when it is a valid date, else today.
std::optional<DateParts> BirthdayShown(BirthdayMarker marker, const OleDateTime& recorded,
                                       const DateParts& today);

// The birthday field after the user chose a date (or cleared the box: nullopt).
struct BirthdayChoice {
  std::optional<DateParts> birthday;  // as the field shows it after the rules
  int32_t age = 0;
};
// Rules, with Y = today's year: a birth year at or before Y - 150 becomes 1 January of
// Y - 150; a date after today becomes today (a birthday cannot lie in the future); age is
// Y minus the birth year, months and days not counted; no date gives age 0. Times of day are
// dropped.
BirthdayChoice ApplyBirthdayRules(const std::optional<DateParts>& chosen, const DateParts& today);

// Age from a stored birthday: 0 when it is not a valid date, else as above.
int32_t AgeOn(const OleDateTime& birthday, const DateParts& today);

}  // namespace vesk
