#include "device/DeviceCaseDocument.h"

#include "device/ModelTable.h"
#include "device/PlanRules.h"

namespace vesk {

DeviceCaseDocument::DeviceCaseDocument(CaseState& state, const IErrorTexts& texts,
                                       const CLanguage& language)
    : CaseDocument(state, texts), language_(language), clock_(LocalNow) {}

DeviceCaseDocument::~DeviceCaseDocument() = default;

DeviceResult DeviceCaseDocument::DetectRecorder(const DetectOptions& options, int watchdogMs) {
  detected_ = {};
  const DeviceResult r = link_.Detect(options, detected_, watchdogMs);
  if (r != DeviceResult::Ok) return r;
  // A serial recorder keeps the line speed detection reached it with.
  const DetectedPort& port = link_.FoundPort();
  if (!port.bluetooth && port.bus == LinkBus::Serial) link_.SetPort(port.port, options.baud);
  if (!link_.CreateLinkObjects(detected_.nProtocol)) return DeviceResult::Fail;
  deviceKind_ = detected_.nDeviceKind;
  return DeviceResult::Ok;
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
  lastDownload_ = {};

  _DOWNLOAD_DATAINFO data;
  tag_SUPPORT_PROTOCOL info{0, 0, 0xFF, 0xFF};
  _SUB_VERSION version;
  const DeviceResult r = link_.Download(mode, data, info, version);
  if (r != DeviceResult::Ok) {
    lastDownload_.device = r;
    return lastDownload_.Code();
  }
  deviceInfo_ = info;
  lastDownload_.device = DeviceResult::Ok;
  if (HasNoDownloadData(data)) {
    lastDownload_.step = DownloadStep::NoData;
    return lastDownload_.Code();
  }

  const StoreContext context{dataPath_, user_, clock_ ? clock_() : LocalNow()};
  StoreOutcome stored = StoreDownload(data, info, version, context, language_);
  resultText_ = std::move(stored.resultText);
  storedFiles_ = std::move(stored.storedFiles);
  storedCasePath_ = std::move(stored.currentPath);
  if (stored.device != DeviceResult::Ok) {
    // What arrived does not fit the recorder that sent it: the transfer's fault, not a file's.
    lastDownload_.device = stored.device;
  } else {
    lastDownload_.step =
        stored.caseFile == CaseFileResult::Ok ? DownloadStep::Stored : DownloadStep::Store;
    lastDownload_.caseFile = stored.caseFile;
  }
  return lastDownload_.Code();
}

DeviceResult DeviceCaseDocument::ReadRecorderPlan(_UPLOAD_NEEDED_DATA& needed) {
  needed = _UPLOAD_NEEDED_DATA{};
  const DeviceResult r = link_.ReadPlan(needed);
  if (r == DeviceResult::Ok) plan::FixAllZeroStartTimes(needed.plan);
  return r;
}

int32_t DeviceCaseDocument::UploadPlan() {
  return ToInt(link_.Upload(uploadPlan_, UploadModeFor(deviceKind_, mode2Flag_)));
}

}  // namespace vesk
