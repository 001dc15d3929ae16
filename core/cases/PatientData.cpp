#include "cases/PatientData.h"

#include "cases/Filemanage.h"
#include "platform/Profile.h"

namespace vesk {

namespace {

bool ReadVersion(const std::string& path, _SUB_VERSION& version, CaseFileResult& result) {
  version = {-1, -1};
  result = CaseFileResultOf(CFilemanage::GetFileVersion(path, version));
  return result == CaseFileResult::Ok;
}

DateParts DateOnly(const DateParts& p) {
  return {p.year, p.month, p.day, 0, 0, 0};
}

bool After(const DateParts& a, const DateParts& b) {
  if (a.year != b.year) return a.year > b.year;
  if (a.month != b.month) return a.month > b.month;
  return a.day > b.day;
}

}  // namespace

CaseFileResult LoadCasePatient(const std::string& path, _PATIENT_INFO& out) {
  _SUB_VERSION version;
  CaseFileResult result = CaseFileResult::Failed;
  if (!ReadVersion(path, version, result)) return result;
  _PATIENT_INFO loaded;
  result = CaseFileResultOf(version.nMain == 2 ? CFilemanage_2Ver::LoadPatientInfo(path, loaded)
                                               : CFilemanage_1Ver::LoadPatientInfo(path, loaded));
  if (result == CaseFileResult::Ok) out = std::move(loaded);
  return result;
}

CaseFileResult SaveCasePatient(const std::string& path, const _PATIENT_INFO& info) {
  _SUB_VERSION version;
  CaseFileResult result = CaseFileResult::Failed;
  // Writing "version 1" into whatever the path holds could destroy a file that is no case.
  if (!ReadVersion(path, version, result)) return result;
  return CaseFileResultOf(version.nMain == 2 ? CFilemanage_2Ver::SavePatientInfo(path, info)
                                             : CFilemanage_1Ver::SavePatientInfo(path, info));
}

CaseFileResult SaveCasePatient(const std::string& path, const _PATIENT_INFO& info,
                               const EditStamp& stamp) {
  _SUB_VERSION version;
  CaseFileResult result = CaseFileResult::Failed;
  if (!ReadVersion(path, version, result)) return result;
  return CaseFileResultOf(
      CFilemanage::SavePatientWithHistory(version.nMain == 2 ? 2 : 1, path, info, stamp));
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
