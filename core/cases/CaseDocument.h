#pragma once
// The open case: the record loaded from the case file, the reading lists the analysis reads,
// and the derived times and flags. One document lives as long as the main window; opening
// another case rebuilds everything from scratch.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cases/CaseFileResult.h"
#include "cases/CaseLock.h"
#include "cases/CaseRecord.h"
#include "cases/CaseState.h"
#include "cases/EditHistory.h"

namespace vesk {

class CLanguage;

// Where the document finds the text of a measurement error code (shown as the comment of a
// reading that has none).
class IErrorTexts {
 public:
  virtual ~IErrorTexts() = default;
  virtual std::string ErrorText(int32_t errorCode) const = 0;
};

// The texts of the loaded language tables, section "Global Setting".
class LanguageErrorTexts : public IErrorTexts {
 public:
  explicit LanguageErrorTexts(const CLanguage& language) : language_(language) {}
  std::string ErrorText(int32_t errorCode) const override;

 private:
  const CLanguage& language_;
};

// Results of LoadCase besides the case-file library's codes.
// LoadCase carries them in its int, beside the library's codes: compare with ToInt.
enum class CaseLoadResult : int32_t {
  Ok = 1,
  Locked = 4,
  NoData = 13,
};

constexpr int32_t ToInt(CaseLoadResult r) {
  return static_cast<int32_t>(r);
}

struct MinuteTime {
  int32_t year = 0, month = 0, day = 0, hour = 0, minute = 0;
  bool operator==(const MinuteTime&) const = default;
};

class CaseDocument {
 public:
  CaseDocument(CaseState& state, const IErrorTexts& texts) : state_(state), texts_(texts) {}
  virtual ~CaseDocument();
  // Writes the included flags, comments and the BP data header of the open case back into
  // its file. 1 only when the file was really written; otherwise the library's code (the
  // file is then unchanged). The file must still be the one loaded (or last saved by this
  // document): a file written meanwhile by anyone else is kept and 16 (Changed) returned.
  [[nodiscard]] virtual int32_t SaveEditedCase();
  // The same, with the entries added to the file's edit history in the same atomic write.
  [[nodiscard]] CaseFileResult SaveEditedCaseWithHistory(const std::vector<EditEntry>& entries);
  // Writes the patient data into the file with one history entry per changed field, under
  // the same check, and makes them the document's. Ok or the library's code.
  [[nodiscard]] CaseFileResult SavePatient(const _PATIENT_INFO& info, const EditStamp& stamp);
  // True when the case file exists but is no longer the one loaded or last saved here.
  bool FileChangedSinceLoad() const;
  // Device transfers; filled in by the device link.
  [[nodiscard]] virtual int32_t UploadPlan() { return 0; }
  [[nodiscard]] virtual int32_t DownloadData(int32_t /*mode*/) { return 0; }

  void SetCasePath(std::string path) {
    casePath_ = std::move(path);
    loaded_ = {};
  }
  const std::string& CasePath() const { return casePath_; }

  // Loads the case at CasePath(): 1, 4 (locked), 13 (neither readings nor SpO2 samples) or
  // the library's code. On a library error nothing in the document changes.
  [[nodiscard]] int32_t LoadCase();
  // Takes over the case another document has loaded, with the case state values it set; the
  // other document is left without a case. A program loads into a scratch document, so a
  // failed load never disturbs the case on screen, and keeps its own document (with whatever
  // else it holds, such as the recorder link) from one case to the next.
  void AdoptCase(CaseDocument&& other);
  // First step of showing a loaded case: valid and analysed lists from all readings.
  void RebuildLists();
  // Changes the sleep periods (minutes of the day) and tells the application state.
  void SetSleepPeriods(int32_t awakeStart, int32_t asleepStart);

  // The record as loaded (header fields, version items, SpO2 head and tail as in the file).
  const _FILE_ALL_INFO& FileInfo() const { return file_; }
  _PATIENT_INFO& Patient() { return patient_; }
  const _PATIENT_INFO& Patient() const { return patient_; }
  _BP_TRANSPORT_INFO& Plan() { return plan_; }
  const _BP_TRANSPORT_INFO& Plan() const { return plan_; }
  const _BP_DATA_HEAD& BpHead() const { return bpHead_; }
  // Its reading count follows the readings when some are added or deleted.
  _BP_DATA_HEAD& BpHead() { return bpHead_; }

  // Every reading in file order; the included flag and comment may be edited here, followed
  // by RebuildLists (and the analysis) and SaveEditedCase.
  std::vector<_BP_RECORD>& AllReadings() { return all_; }
  const std::vector<_BP_RECORD>& AllReadings() const { return all_; }
  const std::vector<_BP_RECORD>& ValidReadings() const { return valid_; }
  const std::vector<_BP_RECORD>& AnalysedReadings() const { return analysed_; }
  // Filled by the day/night split of the analysis.
  std::vector<_BP_RECORD>& AwakeReadings() { return awake_; }
  std::vector<_BP_RECORD>& AsleepReadings() { return asleep_; }
  const std::vector<_BP_RECORD>& AwakeReadings() const { return awake_; }
  const std::vector<_BP_RECORD>& AsleepReadings() const { return asleep_; }

  int32_t AwakeStart() const { return awakeStart_; }
  int32_t AsleepStart() const { return asleepStart_; }
  int32_t SpecialStart() const { return specialStart_; }  // minutes of the day or -1
  int32_t SpecialEnd() const { return specialEnd_; }
  // Time of the last valid reading; all zero when there is none.
  const MinuteTime& LastValidTime() const { return lastValid_; }

  const std::vector<_SPO2_SAMPLE>& Spo2Samples() const { return samples_; }
  int32_t Spo2Count() const { return spo2Count_; }
  const OleDateTime& Spo2Start() const { return spo2Start_; }
  const OleDateTime& Spo2End() const { return spo2End_; }

  int32_t MultiDay() const { return multiDay_; }
  int32_t Scheduled() const { return scheduled_; }
  int32_t ModelCode() const { return file_.modelCode; }

  const CaseState& State() const { return state_; }

 private:
  void ClearDerived();

  CaseState& state_;
  const IErrorTexts& texts_;
  std::string casePath_;
  // The case file as LoadCase read it, or as the last save wrote it; what a save must find.
  FileStamp loaded_;

  _FILE_ALL_INFO file_;  // header and carried parts; readings and samples moved out
  _PATIENT_INFO patient_;
  _BP_TRANSPORT_INFO plan_;
  _BP_DATA_HEAD bpHead_;
  std::vector<_BP_RECORD> all_, valid_, analysed_, awake_, asleep_;
  int32_t awakeStart_ = 7 * 60;
  int32_t asleepStart_ = 22 * 60;
  int32_t specialStart_ = -1;
  int32_t specialEnd_ = -1;
  MinuteTime lastValid_;
  std::vector<_SPO2_SAMPLE> samples_;
  int32_t spo2Count_ = 0;
  OleDateTime spo2Start_;
  OleDateTime spo2End_;
  int32_t multiDay_ = 1;
  int32_t scheduled_ = 0;
};

}  // namespace vesk
