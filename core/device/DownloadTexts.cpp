#include "device/DownloadTexts.h"

#include <cstring>

#include "device/ModelTable.h"

namespace vesk {

namespace {
constexpr const char* kGlobal = "Global Setting";
constexpr const char* kMessage = "Message Setting";
constexpr const char* kMenu = "Menu Setting";
constexpr const char* kDialog = "Dialog Setting";
constexpr const char* kCorreLine = "CorreLine";
}  // namespace

bool TextKey::operator==(const TextKey& other) const {
  return std::strcmp(section, other.section) == 0 && std::strcmp(key, other.key) == 0;
}

TextKey TransportItemKey(int type) {
  switch (type) {
    case kTransportPatientInfo:
      return {kMessage, "IDS_PATIENT_INFOR"};
    case kTransportBpTrend:
      return {kGlobal, "IDS_TRE_PRESSURE"};
    case kTransportSpO2:
      return {kGlobal, "IDS_SPO2DATA"};
    case kTransportSingleUser:
      return {kGlobal, "IDS_USERALONE"};
    case kTransportDeleting:
      return {kGlobal, "IDS_DELETE_DATA"};
    case kTransportUser1:
      return {kMenu, "IDS_USER1"};
    case kTransportUser2:
      return {kMenu, "IDS_USER2"};
    case kTransportUser3:
      return {kMenu, "IDS_USER3"};
    default:
      return {};
  }
}

std::string TransportTypeText(int type, const CLanguage& language) {
  if (type == kTransportNothing) return {};
  if (type == kTransportUploading) return language.GetText(kGlobal, "IDS_UPLOADING");
  return language.GetText(kGlobal, "IDS_DOWNLOADING") + TransportItemKey(type).Text(language);
}

std::vector<ModeChoice> DownloadModeChoices(int deviceKind, const int modes[kDataModeSlots]) {
  std::vector<ModeChoice> out;
  const RecorderModel* model = ModelOfKind(deviceKind);
  if (!model) return out;
  size_t rowsBefore = 0;
  for (const ModeChoiceRow& row : model->downloadChoices) {
    if (row.onlyWhenAllOffered ? out.size() == rowsBefore : modes[row.mode] != 0)
      out.push_back({row.mode, row.label});
    if (!row.onlyWhenAllOffered) ++rowsBefore;
  }
  return out;
}

std::vector<ModeChoice> UploadModeChoices(int deviceKind) {
  std::vector<ModeChoice> out;
  const RecorderModel* model = ModelOfKind(deviceKind);
  // One mode is no choice.
  if (!model || model->uploadModes.size() < 2) return out;
  for (const UploadModeRow& row : model->uploadModes) out.push_back({row.mode, row.label});
  return out;
}

int DefaultDownloadMode(int deviceKind, const int modes[kDataModeSlots]) {
  const RecorderModel* model = ModelOfKind(deviceKind);
  if (!model || model->downloadChoices.empty()) return kModeRecording;
  const std::vector<ModeChoice> choices = DownloadModeChoices(deviceKind, modes);
  if (choices.empty()) return 0;
  // The "all" row, when offered, takes everything at once.
  for (const ModeChoiceRow& row : model->downloadChoices)
    if (row.onlyWhenAllOffered && row.mode == choices.back().mode) return row.mode;
  return choices.front().mode;
}

TextKey DetectResultKey(DeviceResult result) {
  switch (result) {
    case DeviceResult::Ok:
      return {};
    case DeviceResult::DetectRetry:
      return {kCorreLine, "IDS_DEVICE"};
    case DeviceResult::RegionError:
      return {kGlobal, "IDS_REGIONERROR"};
    case DeviceResult::RemoteError:
      return {kGlobal, "IDS_REMOTEERROR"};
    default:
      return {kGlobal, "IDS_SYS_ERROR"};
  }
}

TextKey DownloadResultKey(DeviceResult result) {
  switch (result) {
    case DeviceResult::Ok:
    case DeviceResult::Cancelled:
      return {};
    case DeviceResult::NoData:
      return {kDialog, "IDS_NORECIEVE_DATA"};
    default:
      return {kGlobal, "IDS_MSG_ERROR"};
  }
}

TextKey DownloadResultKey(const DownloadOutcome& outcome) {
  switch (outcome.step) {
    case DownloadStep::Transfer:
      return DownloadResultKey(outcome.device);
    case DownloadStep::NoData:
      return DownloadResultKey(DeviceResult::NoData);
    case DownloadStep::Store:
      return {kGlobal, "IDS_MSG_ERROR"};
    case DownloadStep::Stored:
      break;
  }
  return {};
}

TextKey UploadResultKey(DeviceResult result) {
  switch (result) {
    case DeviceResult::Ok:
      return {kGlobal, "IDS_UPLOAD_FINISH"};
    case DeviceResult::NotSupported:
      return {kGlobal, "IDS_NOSUPPORTFUNCTION"};
    case DeviceResult::Cancelled:
      return {};
    default:
      return {kGlobal, "IDS_UPLOAD_ERROR"};
  }
}

const char* TransferResultText(DeviceResult result) {
  switch (result) {
    case DeviceResult::Fail:
      return "failed";
    case DeviceResult::Ok:
      return "done";
    case DeviceResult::RegionError:
      return "the recorder belongs to another market region";
    case DeviceResult::RemoteError:
      return "the recorder reported an internal fault";
    case DeviceResult::LinkLost:
      return "the port could not be opened or the link was lost";
    case DeviceResult::NoReply:
      return "the recorder did not answer";
    case DeviceResult::ProtocolError:
      return "the recorder's replies made no sense";
    case DeviceResult::WrongDevice:
      return "the recorder is not of the expected kind";
    case DeviceResult::DetectRetry:
      return "no recorder was found";
    case DeviceResult::NoData:
      return "the recorder holds no data for this mode";
    case DeviceResult::NotSupported:
      return "the recorder does not support this function";
    case DeviceResult::Cancelled:
      return "cancelled";
    default:
      return "failed";
  }
}

std::string DownloadOutcomeText(const DownloadOutcome& outcome) {
  switch (outcome.step) {
    case DownloadStep::Transfer:
      return TransferResultText(outcome.device);
    case DownloadStep::NoData:
      return TransferResultText(DeviceResult::NoData);
    case DownloadStep::Store: {
      const std::string failed = "the case file could not be written";
      // The library's own text for a failed write says no more than that.
      if (outcome.caseFile == CaseFileResult::WriteFailed) return failed;
      return failed + ": " + CaseFileResultText(outcome.caseFile);
    }
    case DownloadStep::Stored:
      break;
  }
  return TransferResultText(DeviceResult::Ok);
}

}  // namespace vesk
