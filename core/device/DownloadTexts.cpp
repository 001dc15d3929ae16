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

TextKey DetectResultKey(int result) {
  switch (result) {
    case kResultOk:
      return {};
    case kResultDetectRetry:
      return {kCorreLine, "IDS_DEVICE"};
    case kResultRegionError:
      return {kGlobal, "IDS_REGIONERROR"};
    case kResultRemoteError:
      return {kGlobal, "IDS_REMOTEERROR"};
    default:
      return {kGlobal, "IDS_SYS_ERROR"};
  }
}

TextKey DownloadResultKey(int result) {
  switch (result) {
    case kResultOk:
    case kResultCancelled:
      return {};
    case kResultNoData:
      return {kDialog, "IDS_NORECIEVE_DATA"};
    default:
      return {kGlobal, "IDS_MSG_ERROR"};
  }
}

TextKey UploadResultKey(int result) {
  switch (result) {
    case kResultOk:
      return {kGlobal, "IDS_UPLOAD_FINISH"};
    case kResultNotSupported:
      return {kGlobal, "IDS_NOSUPPORTFUNCTION"};
    case kResultCancelled:
      return {};
    default:
      return {kGlobal, "IDS_UPLOAD_ERROR"};
  }
}

const char* TransferResultText(int result) {
  switch (result) {
    case kResultFail:
      return "failed";
    case kResultOk:
      return "done";
    case kResultRegionError:
      return "the recorder belongs to another market region";
    case kResultRemoteError:
      return "the recorder reported an internal fault";
    case kResultLinkLost:
      return "the port could not be opened or the link was lost";
    case kResultNoReply:
      return "the recorder did not answer";
    case kResultProtocolError:
      return "the recorder's replies made no sense";
    case kResultWrongDevice:
      return "the recorder is not of the expected kind";
    case kResultDetectRetry:
      return "no recorder was found";
    case kResultNoData:
      return "the recorder holds no data for this mode";
    case kResultNotSupported:
      return "the recorder does not support this function";
    case kResultCancelled:
      return "cancelled";
    default:
      return "failed";
  }
}

}  // namespace vesk
