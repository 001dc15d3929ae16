#pragma once
// The case-file library: reads and writes case files (.awp) record by record. One object
// serves one operation on one file: the caller asks GetFileVersion which class fits the file,
// constructs it, sets the path, runs the operation and destroys the object. Every write
// replaces the file atomically, so a failed or interrupted save leaves the previous file.
//
// Results: the int32 of a CaseFileResult (cases/CaseFileResult.h). The numbers never collide
// with the codes the case loading adds (4 locked, 13 no data) or with the transfer codes
// (11, 14).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "cases/CaseFileResult.h"
#include "cases/CaseLock.h"
#include "cases/CaseRecord.h"
#include "cases/EditHistory.h"

namespace vesk {

// A save that must find the file as it was loaded: on a shared case folder another
// workstation, or a program that takes no lock, may have written it since. expected is the
// stamp taken before loading; written receives the stamp of the file the save wrote (left as
// it is when nothing was written). A save that finds another file returns CaseFileResult::Changed.
// Without a guard each save still refuses a file that changes between its read and its write.
struct SaveGuard {
  FileStamp expected;
  FileStamp written;
};

class CFilemanage {
 public:
  virtual ~CFilemanage();
  // Writes the BP data header and the readings held by the object into the file at the case
  // path; every other part of the file stays byte for byte. 1 or an error code.
  [[nodiscard]] virtual int32_t SaveBPData() = 0;
  // Fills version items, header fields, patient, plan, BP data header and readings from the
  // file without reading the SpO2 series. 1 or an error code.
  [[nodiscard]] virtual int32_t LoadBPData() = 0;

  // Reads the file's version: nMain 2 or 1, nSub the minor version. The out value is left
  // untouched when the file cannot be read as a case file. Returns 1 or an error code.
  [[nodiscard]] static int32_t GetFileVersion(const std::string& path, _SUB_VERSION& version);
  // GetFileVersion and the class it names (version 2, else version 1), path already set.
  // *versionResult (when given) receives GetFileVersion's result.
  static std::unique_ptr<CFilemanage> CreateFor(const std::string& path,
                                                int32_t* versionResult = nullptr);

  void SetCaseFilePath(const std::string& path) { path_ = path; }
  const std::string& CaseFilePath() const { return path_; }
  // The library writes 0 / total when an operation starts and total / total when it ends;
  // either pointer may be null.
  void SetProgressInfo(int32_t* current, int32_t* total) {
    progressCurrent_ = current;
    progressTotal_ = total;
  }
  // Holds the saves of this object (SaveBPData, SaveBPDataWithHistory, ChangeMeasuringTime)
  // to the guard's stamp; null removes it. The guard must outlive those calls.
  void GuardSave(SaveGuard* guard) { guard_ = guard; }

  // Whole case in (all parts, the SpO2 series included). 1 or an error code.
  [[nodiscard]] int32_t LoadAllInfo();
  // SaveBPData and the entries added to the file's edit history, in one atomic write: the
  // file holds both or neither. A damaged history refuses the save with its code.
  [[nodiscard]] int32_t SaveBPDataWithHistory(const std::vector<EditEntry>& entries);
  // The edit history of the file (empty when it has none). 1 or an error code.
  [[nodiscard]] static int32_t LoadEditHistory(const std::string& path,
                                               std::vector<EditEntry>& out);
  // Patient data of the given version (1 or 2) with its history entries; see
  // SavePatientInfoWithHistory below.
  [[nodiscard]] static int32_t SavePatientWithHistory(int32_t version, const std::string& path,
                                                      const _PATIENT_INFO& info,
                                                      const EditStamp& stamp,
                                                      SaveGuard* guard = nullptr) {
    return ToInt(SavePatientInfoImpl(version, path, info, &stamp, guard));
  }
  // Fills the locked flag (and the other header fields) only. 1 or an error code.
  [[nodiscard]] int32_t LoadExtraInfo();
  void SetFileInfo(const _FILE_ALL_INFO& info) { info_ = info; }
  // Moves the recording in time so that its first reading with a valid date and time (else
  // the SpO2 start) falls on the given minute; every valid reading time and the SpO2 start
  // move by the same number of minutes, seconds fields unchanged. 1, 0 when the file has no
  // valid time to move or the new time is invalid, or an error code.
  [[nodiscard]] int32_t ChangeMeasuringTime(const OleDateTime& when);

  // Non-zero when the bytes up to the first NUL (or all `length` bytes) are printable ASCII
  // or complete double-byte characters of the narrow code page; an empty text passes.
  static int32_t IsValidString(const uint8_t* bytes, size_t length);

  _FILE_ALL_INFO& FileInfo() { return info_; }
  const _FILE_ALL_INFO& FileInfo() const { return info_; }
  // 1 or 2: the layout this object reads and writes.
  int32_t Version() const { return version_; }

 protected:
  explicit CFilemanage(int32_t version) : version_(version) {}
  [[nodiscard]] CaseFileResult LoadBPDataImpl();
  [[nodiscard]] CaseFileResult SaveBPDataImpl();
  [[nodiscard]] static CaseFileResult LoadPatientInfoImpl(int32_t version, const std::string& path,
                                                          _PATIENT_INFO& out);
  [[nodiscard]] static CaseFileResult SavePatientInfoImpl(int32_t version, const std::string& path,
                                                          const _PATIENT_INFO& info,
                                                          const EditStamp* stamp = nullptr,
                                                          SaveGuard* guard = nullptr);
  void ProgressStart(int32_t total);
  void ProgressDone();
  // Parses a whole file (or its part before the SpO2 series) of this object's version into
  // the object's record; the record is left as it was when the bytes do not parse.
  [[nodiscard]] CaseFileResult TakeParsed(std::string_view bytes, bool withSamples);

  int32_t version_;
  std::string path_;
  _FILE_ALL_INFO info_;
  int32_t* progressCurrent_ = nullptr;
  int32_t* progressTotal_ = nullptr;
  SaveGuard* guard_ = nullptr;
};

// The older layout: header, patient data, plan and readings; no version items, no tail and
// no SpO2 series (those read back empty and are not written).
class CFilemanage_1Ver : public CFilemanage {
 public:
  CFilemanage_1Ver() : CFilemanage(1) {}
  int32_t SaveBPData() override { return ToInt(SaveBPDataImpl()); }
  int32_t LoadBPData() override { return ToInt(LoadBPDataImpl()); }
  [[nodiscard]] int32_t LoadAllInfofromCaseFile() { return LoadAllInfo(); }
  [[nodiscard]] static int32_t LoadPatientInfo(const std::string& path, _PATIENT_INFO& out) {
    return ToInt(LoadPatientInfoImpl(1, path, out));
  }
  [[nodiscard]] static int32_t SavePatientInfo(const std::string& path, _PATIENT_INFO info) {
    return ToInt(SavePatientInfoImpl(1, path, info));
  }
};

// The current layout, written by every download.
class CFilemanage_2Ver : public CFilemanage {
 public:
  CFilemanage_2Ver() : CFilemanage(2) {}
  int32_t SaveBPData() override { return ToInt(SaveBPDataImpl()); }
  int32_t LoadBPData() override { return ToInt(LoadBPDataImpl()); }
  [[nodiscard]] int32_t LoadAllInfofromCaseFile() { return LoadAllInfo(); }
  [[nodiscard]] static int32_t LoadPatientInfo(const std::string& path, _PATIENT_INFO& out) {
    return ToInt(LoadPatientInfoImpl(2, path, out));
  }
  [[nodiscard]] static int32_t SavePatientInfo(const std::string& path, _PATIENT_INFO info) {
    return ToInt(SavePatientInfoImpl(2, path, info));
  }
  // Writes the whole record held by the object as a new version-2 file. 1 or an error code.
  [[nodiscard]] int32_t SaveAllInfotoCaseFile();
};

static_assert(sizeof(CFilemanage_1Ver) == sizeof(CFilemanage_2Ver));

// For callers that do not care which class reads the file: asks the file for its version,
// then uses that version's static.
[[nodiscard]] int32_t LoadPatientInfoOfFile(const std::string& path, _PATIENT_INFO& out);
[[nodiscard]] int32_t SavePatientInfoOfFile(const std::string& path, const _PATIENT_INFO& info);
// The same, and one history entry per changed field (user and time from the stamp), written
// together with the patient data. Saving unchanged data leaves the file alone. With a guard
// the save must find the file as the guard expects it (see SaveGuard).
[[nodiscard]] int32_t SavePatientInfoWithHistory(const std::string& path, const _PATIENT_INFO& info,
                                                 const EditStamp& stamp,
                                                 SaveGuard* guard = nullptr);

}  // namespace vesk
