#include "device/DownloadStore.h"

#include <cstring>
#include <filesystem>
#include <optional>
#include <string_view>
#include <variant>

#include "cases/Filemanage.h"
#include "device/ModelTable.h"
#include "platform/CodePage.h"
#include "platform/FileUtil.h"

namespace vesk {

namespace {

constexpr const char* kGlobal = "Global Setting";
constexpr const char* kMessage = "Message Setting";

// One file to write: where it goes and what it holds.
struct PendingCase {
  CaseSlot slot;
  _FILE_ALL_INFO info;
};

void PutReadings(_FILE_ALL_INFO& f, const ReadingBlock& block) {
  f.bpHead = block.head;
  f.readings = block.readings;
  f.bpHead.count() = static_cast<int32_t>(f.readings.size());
}

std::string_view FieldText(const char* field, size_t limit) {
  return std::string_view(field, strnlen(field, limit));
}

// Checks one narrow text field of the plan: it must end within `limit` bytes and pass the
// library's check; otherwise the whole field is cleared.
void CheckPlanField(char* field, size_t size, size_t limit) {
  const bool ends = strnlen(field, size) <= limit;
  if (!ends || !CFilemanage::IsValidString(reinterpret_cast<const uint8_t*>(field), limit))
    std::memset(field, 0, size);
}

bool HasShape(const _DOWNLOAD_DATAINFO& data, DownloadShape shape) {
  switch (shape) {
    case DownloadShape::TaloColor:
      return std::holds_alternative<TaloColorDownload>(data.data);
    case DownloadShape::Miru:
      return std::holds_alternative<MiruDownload>(data.data);
    case DownloadShape::Basic:
      return std::holds_alternative<BasicDownload>(data.data);
    case DownloadShape::Qora:
      return std::holds_alternative<QoraDownload>(data.data);
  }
  return false;
}

// The reading blocks of a shape, in their order, and its plan and SpO2 block when it has them.
const ReadingBlock* PartOf(const _DOWNLOAD_DATAINFO& data, int part) {
  if (const auto* d = std::get_if<TaloColorDownload>(&data.data))
    return part == 0 ? &d->recording : part == 1 ? &d->singleUser : nullptr;
  if (const auto* d = std::get_if<MiruDownload>(&data.data))
    return part == 0 ? &d->readings : nullptr;
  if (const auto* d = std::get_if<BasicDownload>(&data.data))
    return part == 0 ? &d->readings : nullptr;
  if (const auto* d = std::get_if<QoraDownload>(&data.data))
    return part >= 0 && part < 3 ? &d->users[static_cast<size_t>(part)] : nullptr;
  return nullptr;
}

const _BP_TRANSPORT_INFO* PlanOf(const _DOWNLOAD_DATAINFO& data) {
  if (const auto* d = std::get_if<TaloColorDownload>(&data.data)) return &d->plan;
  if (const auto* d = std::get_if<MiruDownload>(&data.data)) return &d->plan;
  if (const auto* d = std::get_if<BasicDownload>(&data.data)) return &d->plan;
  return nullptr;
}

const SpO2Block* SpO2Of(const _DOWNLOAD_DATAINFO& data) {
  if (const auto* d = std::get_if<MiruDownload>(&data.data)) return &d->spo2;
  return nullptr;
}

}  // namespace

_FILE_ALL_INFO MakeDownloadedCase(int32_t deviceKind, int32_t dataMode,
                                  const tag_SUPPORT_PROTOCOL& info, const _SUB_VERSION& version) {
  _FILE_ALL_INFO f;
  f.modelCode = deviceKind;
  const RecorderModel* model = ModelOfKind(deviceKind);
  f.modelName = model ? model->name : ModelName(deviceKind);
  f.dataMode = dataMode;
  f.version[0] = version;
  f.version[1] = _SUB_VERSION{0, 0};
  f.version[2] = _SUB_VERSION{0, 0};
  f.version[3] = _SUB_VERSION{5, 2};
  f.protocol = info.nProtocol;
  f.deviceByte = info.nDeviceByte;
  f.locked = info.nLockByte;
  return f;
}

void SetGeneratedIdentity(_FILE_ALL_INFO& f, const char* name, const char* id) {
  DateParts first;
  if (!f.readings.empty()) {
    const _BP_RECORD& r = f.readings.front();
    first = {r.year, r.month, r.day, r.hour, r.minute, 0};
  }
  f.plan = DefaultPlanFor(f.modelCode, first);
  // The generated texts are ASCII and short: they always fit their fields.
  std::strncpy(f.plan.patientName, name, sizeof f.plan.patientName - 1);
  std::strncpy(f.plan.patientId, id, sizeof f.plan.patientId - 1);
}

void TakePatientFromPlan(_FILE_ALL_INFO& f) {
  CheckPlanField(f.plan.patientName, sizeof f.plan.patientName, 30);
  CheckPlanField(f.plan.patientId, sizeof f.plan.patientId, 11);
  f.patient.name = codepage::FromAnsi(FieldText(f.plan.patientName, 30));
  f.patient.caseId = codepage::FromAnsi(FieldText(f.plan.patientId, 11));
}

CaseFileResult WriteDownloadedCase(const std::string& path, const _FILE_ALL_INFO& info) {
  const std::string folder = std::filesystem::path(path).parent_path().string();
  if (!folder.empty() && !fsutil::CreateFolders(folder)) return CaseFileResult::WriteFailed;
  CFilemanage_2Ver file;
  // The library's counters are its own; the transfer's progress figures stay with the link.
  int32_t current = 0, total = 0;
  file.SetProgressInfo(&current, &total);
  file.SetCaseFilePath(path);
  file.SetFileInfo(info);
  return CaseFileResultOf(file.SaveAllInfotoCaseFile());
}

StoreOutcome StoreDownload(const _DOWNLOAD_DATAINFO& data, const tag_SUPPORT_PROTOCOL& info,
                           const _SUB_VERSION& version, const StoreContext& context,
                           const CLanguage& language) {
  StoreOutcome out;
  const int32_t kind = info.nDeviceKind;
  const int32_t mode = data.nDataMode;
  const std::string finished = language.GetText(kGlobal, "IDS_MSG_FINISH");

  const RecorderModel* model = ModelOfKind(kind);
  if (!model || !HasShape(data, model->shape)) {
    // The data does not have the shape of the recorder's kind: nothing sensible to store.
    out.device = DeviceResult::WrongDevice;
    out.resultText = kStoreFailedBasic;
    return out;
  }
  const char* failureText = model->storeFailedText;

  // Gather the files first, so that one stamp can be chosen that is free for all of them.
  std::vector<PendingCase> pending;
  std::vector<const char*> missing;  // summary lines, one per part in table order
  bool any = false;
  for (const StoredRecording& r : model->recordings) {
    if (mode <= 0 || mode >= kDataModeSlots || !(r.modes & (1u << mode))) continue;
    any = true;
    const ReadingBlock* block = PartOf(data, r.part);
    if (!block) continue;
    const bool empty = block->readings.empty();
    if (r.missingKey) missing.push_back(empty ? r.missingKey : nullptr);
    if (empty && r.skipWhenEmpty) continue;
    pending.push_back(
        {r.slot, MakeDownloadedCase(kind, r.fileMode ? r.fileMode : mode, info, version)});
    _FILE_ALL_INFO& f = pending.back().info;
    if (const _BP_TRANSPORT_INFO* plan = PlanOf(data)) f.plan = *plan;
    PutReadings(f, *block);
    if (r.withSpO2) {
      if (const SpO2Block* spo2 = SpO2Of(data)) {
        f.spo2Head = spo2->head;
        f.samples = spo2->samples;
        f.spo2Head.count() = static_cast<int32_t>(f.samples.size());
      }
    }
    if (r.name) SetGeneratedIdentity(f, r.name, r.id);
  }
  if (!any) {
    // A mode this model does not store: a reply that makes no sense.
    out.device = DeviceResult::ProtocolError;
    out.resultText = failureText;
    return out;
  }

  const CaseFolderTree tree(context.dataPath, context.user);
  const CaseOpResult usable = tree.Check();
  std::vector<CaseSlot> slots;
  for (const PendingCase& p : pending) slots.push_back(p.slot);
  const std::string stamp = usable.ok() ? FreeCaseStamp(tree, slots, context.now) : std::string();

  std::string failedPath;
  for (PendingCase& p : pending) {
    TakePatientFromPlan(p.info);
    const std::string path = usable.ok() ? tree.FilePath(p.slot, stamp) : std::string();
    const CaseFileResult r =
        usable.ok() ? WriteDownloadedCase(path, p.info) : CaseFileResult::WriteFailed;
    if (r == CaseFileResult::Ok) {
      out.storedFiles.push_back(path);
      if (out.currentPath.empty() || !model->summaryStore) out.currentPath = path;
    } else if (out.caseFile == CaseFileResult::Ok) {
      out.caseFile = r;
      failedPath = usable.ok() ? path : usable.detail;
    }
  }

  const bool ok = out.caseFile == CaseFileResult::Ok;
  if (model->summaryStore) {
    out.resultText = finished;
    for (const char* key : missing) {
      out.resultText += "\r\n";
      if (key) out.resultText += language.GetText(kMessage, key);
    }
    if (!ok) out.resultText += std::string("\r\n") + failureText;
  } else if (ok) {
    out.resultText = finished;
  } else {
    out.resultText = failureText;
    if (failureText == kStoreFailedMiru) out.resultText += failedPath;
  }
  return out;
}

}  // namespace vesk
