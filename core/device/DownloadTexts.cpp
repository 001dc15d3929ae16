#include "device/DownloadTexts.h"

#include <cstring>

namespace vesk {

namespace {
constexpr const char* kGlobal = "Global Setting";
constexpr const char* kMessage = "Message Setting";
constexpr const char* kMenu = "Menu Setting";
constexpr const char* kDialog = "Dialog Setting";
constexpr const char* kCorreLine = "CorreLine";
// The language tables keep the monitoring label with the dialog texts, not with the other two
// mode labels; looking it up elsewhere would show an empty row.
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
  if (deviceKind == kMiru) {
    const ModeChoice rows[] = {{kModeRecording, {kGlobal, "IDS_TRE_PRESSURE"}},
                               {kModeMonitor, {kDialog, "IDS_PATIENT_TUTELAGE"}},
                               {kModeSingleUser, {kGlobal, "IDS_USERALONE"}}};
    for (const ModeChoice& row : rows)
      if (modes[row.mode]) out.push_back(row);
  } else if (deviceKind == kQora) {
    const ModeChoice rows[] = {{kModeUser1, {kMenu, "IDS_USER1"}},
                               {kModeUser2, {kMenu, "IDS_USER2"}},
                               {kModeUser3, {kMenu, "IDS_USER3"}}};
    for (const ModeChoice& row : rows)
      if (modes[row.mode]) out.push_back(row);
    if (out.size() == 3) out.push_back({kModeAllUsers, {kMenu, "IDS_ALLUSER"}});
  }
  return out;
}

std::vector<ModeChoice> UploadModeChoices(int deviceKind) {
  if (deviceKind != kMiru) return {};
  return {{kModeRecording, {kGlobal, "IDS_TRE_PRESSURE"}},
          {kModeMonitor, {kDialog, "IDS_PATIENT_TUTELAGE"}}};
}

int DefaultDownloadMode(int deviceKind, const int modes[kDataModeSlots]) {
  if (deviceKind == kQora) {
    const std::vector<ModeChoice> choices = DownloadModeChoices(deviceKind, modes);
    return choices.empty()                        ? 0
           : choices.back().mode == kModeAllUsers ? kModeAllUsers
                                                  : choices.front().mode;
  }
  if (deviceKind == kMiru) {
    const std::vector<ModeChoice> choices = DownloadModeChoices(deviceKind, modes);
    return choices.empty() ? 0 : choices.front().mode;
  }
  return kModeRecording;
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
