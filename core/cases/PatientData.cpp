#include "cases/PatientData.h"

#include "cases/Filemanage.h"
#include "platform/Profile.h"

namespace vesk {

namespace {

DateParts DateOnly(const DateParts& p) {
  return {p.year, p.month, p.day, 0, 0, 0};
}

bool After(const DateParts& a, const DateParts& b) {
  if (a.year != b.year) return a.year > b.year;
  if (a.month != b.month) return a.month > b.month;
  return a.day > b.day;
}

}  // namespace

// The typed face of the library's version-choosing helpers, which leave the record untouched
// and write nothing over a file that names no version.
CaseFileResult LoadCasePatient(const std::string& path, _PATIENT_INFO& out) {
  return CaseFileResultOf(LoadPatientInfoOfFile(path, out));
}

CaseFileResult SaveCasePatient(const std::string& path, const _PATIENT_INFO& info) {
  return CaseFileResultOf(SavePatientInfoOfFile(path, info));
}

CaseFileResult SaveCasePatient(const std::string& path, const _PATIENT_INFO& info,
                               const EditStamp& stamp) {
  return CaseFileResultOf(SavePatientInfoWithHistory(path, info, stamp));
}

bool IsNoBirthdayMarker(const std::string& value) {
  static const char kMarker[] = "-1--1--1";
  if (value.size() != sizeof kMarker - 1) return false;
  // Only digits and dashes: letter case cannot matter, but keep the comparison honest.
  for (size_t i = 0; i < value.size(); ++i) {
    char c = value[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != kMarker[i]) return false;
  }
  return true;
}

BirthdayMarker ReadBirthdayMarker(const std::string& casePath) {
  profile::ProfileFile file(casePath);
  const std::optional<std::string> value = file.Get("PATIENT DATA", "Birthday");
  if (!value) return BirthdayMarker::Missing;
  return IsNoBirthdayMarker(*value) ? BirthdayMarker::NotEntered : BirthdayMarker::Entered;
}

std::optional<DateParts> BirthdayShown(BirthdayMarker marker, const OleDateTime& recorded,
                                       const DateParts& today) {
  if (marker == BirthdayMarker::NotEntered) return std::nullopt;
  DateParts parts;
  if (recorded.ToParts(parts)) return DateOnly(parts);
  return DateOnly(today);
}

BirthdayChoice ApplyBirthdayRules(const std::optional<DateParts>& chosen, const DateParts& today) {
  BirthdayChoice out;
  if (!chosen) return out;
  const int y = today.year;
  DateParts birth = DateOnly(*chosen);
  if (birth.year <= y - 150) {
    birth = {y - 150, 1, 1, 0, 0, 0};
  } else if (!IsValidDate(birth.year, birth.month, birth.day) || After(birth, today)) {
    birth = DateOnly(today);
  }
  out.birthday = birth;
  out.age = y - birth.year;
  return out;
}

int32_t AgeOn(const OleDateTime& birthday, const DateParts& today) {
  DateParts parts;
  if (!birthday.ToParts(parts)) return 0;
  return ApplyBirthdayRules(parts, today).age;
}

}  // namespace vesk
