#include "device/DeviceCaseDocument.h"

#include "device/ModelTable.h"
#include "device/PlanRules.h"

namespace vesk {

DeviceCaseDocument::DeviceCaseDocument(CaseState& state, const IErrorTexts& texts,
                                       const CLanguage& language)
    : CaseDocument(state, texts), language_(language), clock_(LocalNow) {}

DeviceCaseDocument::~DeviceCaseDocument() = default;

int32_t DeviceCaseDocument::DetectRecorder(const DetectOptions& options, int watchdogMs) {
  detected_ = {};
  const int r = link_.Detect(options, detected_, watchdogMs);
  if (r != kResultOk) return r;
  // A serial recorder keeps the line speed detection reached it with.
  const DetectedPort& port = link_.FoundPort();
  if (!port.bluetooth && port.bus == LinkBus::Serial) link_.SetPort(port.port, options.baud);
  if (!link_.CreateLinkObjects(detected_.nProtocol)) return kResultFail;
  deviceKind_ = detected_.nDeviceKind;
  return kResultOk;
}

bool DeviceCaseDocument::StartTrace(const std::string& path) {
  if (!trace_.Open(path)) {
    link_.SetTrace(nullptr);
    return false;
  }
  link_.SetTrace(&trace_);
  return true;
}

bool DeviceCaseDocument::StartConfiguredTrace(const SystemSettings& system) {
  if (system.linkTraceFile.empty()) return true;
  return StartTrace(system.linkTraceFile);
}

void DeviceCaseDocument::StopTrace() {
  link_.SetTrace(nullptr);
  trace_.Close();
}

void DeviceCaseDocument::SetDownloadTarget(std::string dataPath, std::string user) {
  dataPath_ = std::move(dataPath);
  user_ = std::move(user);
}

void DeviceCaseDocument::ChooseDataMode(int32_t deviceKind, int32_t mode) {
  deviceKind_ = deviceKind;
  dataMode_ = mode;
  if (TracksMode2Flag(deviceKind)) mode2Flag_ = mode == kModeRecording ? 1 : 0;
}

int32_t DeviceCaseDocument::DownloadData(int32_t mode) {
  dataMode_ = mode;
  resultText_.clear();
  storedFiles_.clear();
  storedCasePath_.clear();

  _DOWNLOAD_DATAINFO data;
  tag_SUPPORT_PROTOCOL info{0, 0, 0xFF, 0xFF};
  _SUB_VERSION version;
  const int r = link_.Download(mode, data, info, version);
  if (r != kResultOk) return r;
  deviceInfo_ = info;
  if (HasNoDownloadData(data)) return kResultNoData;

  const StoreContext context{dataPath_, user_, clock_ ? clock_() : LocalNow()};
  StoreOutcome stored = StoreDownload(data, info, version, context, language_);
  resultText_ = std::move(stored.resultText);
  storedFiles_ = std::move(stored.storedFiles);
  storedCasePath_ = std::move(stored.currentPath);
  return stored.result;
}

int32_t DeviceCaseDocument::ReadRecorderPlan(_UPLOAD_NEEDED_DATA& needed) {
  needed = _UPLOAD_NEEDED_DATA{};
  const int r = link_.ReadPlan(needed);
  if (r == kResultOk) plan::FixAllZeroStartTimes(needed.plan);
  return r;
}

int32_t DeviceCaseDocument::UploadPlan() {
  return link_.Upload(uploadPlan_, UploadModeFor(deviceKind_, mode2Flag_));
}

}  // namespace vesk
