#include "device/DownloadStore.h"

#include <cstring>
#include <filesystem>
#include <optional>
#include <string_view>
#include <variant>

#include "cases/Filemanage.h"
#include "cases/SampleCases.h"
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

void PutReadings(_FILE_ALL_INFO& f, const _BP_READING_BLOCK& block) {
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

}  // namespace

_FILE_ALL_INFO MakeDownloadedCase(int32_t deviceKind, int32_t dataMode,
                                  const tag_SUPPORT_PROTOCOL& info, const _SUB_VERSION& version) {
  _FILE_ALL_INFO f;
  f.modelCode = deviceKind;
  f.modelName = ModelName(deviceKind);
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

int32_t WriteDownloadedCase(const std::string& path, const _FILE_ALL_INFO& info) {
  const std::string folder = std::filesystem::path(path).parent_path().string();
  if (!folder.empty() && !fsutil::CreateFolders(folder)) return kCaseFileWriteFailed;
  CFilemanage_2Ver file;
  // The library's counters are its own; the transfer's progress figures stay with the link.
  int32_t current = 0, total = 0;
  file.SetProgressInfo(&current, &total);
  file.SetCaseFilePath(path);
  file.SetFileInfo(info);
  return file.SaveAllInfotoCaseFile();
}

StoreOutcome StoreDownload(const _DOWNLOAD_DATAINFO& data, const tag_SUPPORT_PROTOCOL& info,
                           const _SUB_VERSION& version, const StoreContext& context,
                           const CLanguage& language) {
  StoreOutcome out;
  const int32_t kind = info.nDeviceKind;
  const int32_t mode = data.nDataMode;
  const std::string finished = language.GetText(kGlobal, "IDS_MSG_FINISH");

  // Gather the files first, so that one stamp can be chosen that is free for all of them.
  std::vector<PendingCase> pending;
  const char* failureText = kStoreFailedBasic;
  bool ambulatoryMissing = false, singleMissing = false;
  auto add = [&](CaseSlot slot, int32_t dataMode) -> _FILE_ALL_INFO& {
    pending.push_back({slot, MakeDownloadedCase(kind, dataMode, info, version)});
    return pending.back().info;
  };

  if (const auto* d = std::get_if<_DOWNLOAD_TALOCOLOR>(&data.data); d && kind == kTaloColor) {
    ambulatoryMissing = d->recording.readings.empty();
    singleMissing = d->singleUser.readings.empty();
    if (!ambulatoryMissing) {
      _FILE_ALL_INFO& f = add({CaseFolder::Vesk, 1}, mode);
      f.plan = d->plan;
      PutReadings(f, d->recording);
    }
    if (!singleMissing) {
      _FILE_ALL_INFO& f = add({CaseFolder::SingleUser, 2}, mode);
      PutReadings(f, d->singleUser);
      SetGeneratedIdentity(f, "SingleUser", "000");
    }
  } else if (const auto* d = std::get_if<_DOWNLOAD_MIRU>(&data.data); d && kind == kMiru) {
    failureText = kStoreFailedMiru;
    const std::optional<CaseSlot> slot = SlotForDataMode(kMiru, mode);
    if (!slot) {
      out.result = kResultProtocolError;
      out.resultText = failureText;
      return out;
    }
    _FILE_ALL_INFO& f = add(*slot, mode);
    f.plan = d->plan;
    PutReadings(f, d->readings);
    if (mode == kModeMonitor) {
      f.spo2Head = d->spo2.head;
      f.samples = d->spo2.samples;
      f.spo2Head.count() = static_cast<int32_t>(f.samples.size());
    }
    if (mode == kModeSingleUser) SetGeneratedIdentity(f, "SingleUser", "004");
  } else if (const auto* d = std::get_if<_DOWNLOAD_BASIC>(&data.data);
             d && (kind == kTaloBlack || kind == kPexa || kind == kPexaC)) {
    _FILE_ALL_INFO& f = add({CaseFolder::Vesk, 1}, mode);
    f.plan = d->plan;
    PutReadings(f, d->readings);
  } else if (const auto* d = std::get_if<_DOWNLOAD_QORA>(&data.data); d && kind == kQora) {
    failureText = kStoreFailedQora;
    static const char* const kNames[3] = {"User1", "User2", "User3"};
    static const char* const kIds[3] = {"001", "002", "003"};
    for (int u = 0; u < 3; ++u) {
      const bool chosen = mode == kModeAllUsers || mode == kModeUser1 + u;
      if (!chosen || d->users[static_cast<size_t>(u)].readings.empty()) continue;
      // Each file carries its own user's mode, so it reads back as that user's recording.
      _FILE_ALL_INFO& f = add({CaseFolder::Bpm, u + 1}, kModeUser1 + u);
      PutReadings(f, d->users[static_cast<size_t>(u)]);
      SetGeneratedIdentity(f, kNames[u], kIds[u]);
    }
  } else {
    // The data does not have the shape of the recorder's kind: nothing sensible to store.
    out.result = kResultWrongDevice;
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
    const int32_t r = usable.ok() ? WriteDownloadedCase(path, p.info) : kCaseFileWriteFailed;
    if (r == kCaseFileOk) {
      out.storedFiles.push_back(path);
      if (out.currentPath.empty() || kind != kTaloColor) out.currentPath = path;
    } else if (out.result == kResultOk) {
      out.result = r;
      failedPath = usable.ok() ? path : usable.detail;
    }
  }

  const bool ok = out.result == kResultOk;
  if (kind == kTaloColor) {
    out.resultText = finished + "\r\n";
    if (ambulatoryMissing) out.resultText += language.GetText(kMessage, "IDS_BP_RECEIVED_VESK");
    out.resultText += "\r\n";
    if (singleMissing) out.resultText += language.GetText(kMessage, "IDS_BP_RECEIVED_COMMOM");
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
