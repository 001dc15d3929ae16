#pragma once
// The case document with its device half: the link to the attached recorder, the data mode of
// the transfer, the download that turns recordings into case files, and the plan upload. The
// program creates this class; the case half (loading, editing) is CaseDocument's.
//
// A transfer runs on a worker thread: DownloadData or UploadPlan there, Progress() read by the
// progress window meanwhile, the results below read once the worker has ended.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "cases/CaseDocument.h"
#include "device/DeviceLink.h"
#include "device/DownloadOutcome.h"
#include "device/DownloadStore.h"
#include "language/Language.h"

namespace vesk {

class DeviceCaseDocument : public CaseDocument {
 public:
  DeviceCaseDocument(CaseState& state, const IErrorTexts& texts, const CLanguage& language);
  ~DeviceCaseDocument() override;

  // Sends the upload plan: mode 2 to a MIRU chosen for monitoring (mode-2 flag 0), else mode
  // 1. Returns the recorder's result (1, 14 not supported, ...).
  [[nodiscard]] int32_t UploadPlan() override;
  // Downloads in the mode and stores the recordings. 1 stored; 13 the mode holds no data; the
  // link's result when the transfer failed (nothing stored); otherwise the result of the first
  // case file that could not be written (files written before it stay). LastDownload() tells
  // which of these it was.
  [[nodiscard]] int32_t DownloadData(int32_t mode) override;

  DeviceLink& Link() { return link_; }
  const DeviceLink& Link() const { return link_; }
  TransferProgress& Progress() { return link_.Progress(); }

  // Detection followed by the link objects of the protocol found. 1, or the result the
  // detection message is chosen by (11 retry, 3, 4; 0 when the protocol number is unknown).
  [[nodiscard]] DeviceResult DetectRecorder(const DetectOptions& options,
                                            int watchdogMs = DeviceLink::kWatchdogMs);
  const tag_SUPPORT_PROTOCOL& Detected() const { return detected_; }

  // The support trace of the link: every frame of later detections and transfers is appended
  // to the file. False, with the reason in Trace().Error(), when it cannot be opened; nothing
  // is traced then.
  [[nodiscard]] bool StartTrace(const std::string& path);
  // The same for the file the configuration names ("LINKTRACEFILE" of "SYSTEM"); true without
  // tracing when it names none.
  [[nodiscard]] bool StartConfiguredTrace(const SystemSettings& system);
  void StopTrace();
  const LinkTrace& Trace() const { return trace_; }

  // Where downloads are stored: the user's case data folder and the user's name.
  void SetDownloadTarget(std::string dataPath, std::string user);
  // The clock that stamps stored files (local wall-clock time).
  void SetClock(std::function<DateParts()> clock) { clock_ = std::move(clock); }

  // The data mode chosen for the coming transfer. A MIRU chosen for recording keeps mode-2
  // flag 1; monitoring and single-user readings set it to 0.
  void ChooseDataMode(int32_t deviceKind, int32_t mode);
  int32_t DataMode() const { return dataMode_; }
  int32_t Mode2Flag() const { return mode2Flag_; }

  // The plan the recorder holds, starting from the default plan, with 07:00 and 22:00
  // proposed when every start time is 0:00. 1 or the link's result.
  [[nodiscard]] DeviceResult ReadRecorderPlan(_UPLOAD_NEEDED_DATA& needed);
  void SetUploadPlan(const _BP_TRANSPORT_INFO& plan) { uploadPlan_ = plan; }
  const _BP_TRANSPORT_INFO& PlanToUpload() const { return uploadPlan_; }

  // Results of the last download.
  const DownloadOutcome& LastDownload() const { return lastDownload_; }
  const std::string& ResultText() const { return resultText_; }
  const std::vector<std::string>& StoredFiles() const { return storedFiles_; }
  // The stored case the program offers to open (and fills from CaseInfo.xml). It is kept
  // apart from CasePath(): the open case's edits must never be written into a new file.
  const std::string& StoredCasePath() const { return storedCasePath_; }
  const tag_SUPPORT_PROTOCOL& DeviceInfo() const { return deviceInfo_; }

 private:
  const CLanguage& language_;
  LinkTrace trace_;  // before the link, which writes into it
  DeviceLink link_;
  tag_SUPPORT_PROTOCOL detected_;
  int32_t deviceKind_ = 0;
  int32_t dataMode_ = kModeRecording;
  int32_t mode2Flag_ = 1;
  std::string dataPath_;
  std::string user_;
  std::function<DateParts()> clock_;
  _BP_TRANSPORT_INFO uploadPlan_;

  DownloadOutcome lastDownload_;
  std::string resultText_;
  std::vector<std::string> storedFiles_;
  std::string storedCasePath_;
  tag_SUPPORT_PROTOCOL deviceInfo_{0, 0, 0xFF, 0xFF};
};

}  // namespace vesk
