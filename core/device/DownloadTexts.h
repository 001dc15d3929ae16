#pragma once
// What the transfer windows show, as data: the title of the progress window for a transport
// type, the rows of the data-mode and user choices, and the message that ends detection, a
// download or an upload. The windows look the keys up in the language tables; the
// command-line tool prints the same texts.

#include <string>
#include <vector>

#include "device/DeviceTypes.h"
#include "device/DownloadOutcome.h"
#include "language/Language.h"

namespace vesk {

// A language key and its section; an empty key means "no text".
struct TextKey {
  const char* section = "";
  const char* key = "";
  bool empty() const { return key[0] == '\0'; }
  std::string Text(const CLanguage& language) const {
    return empty() ? std::string() : language.GetText(section, key);
  }
  bool operator==(const TextKey& other) const;
};

// The progress window's title in transport-type mode: "IDS_DOWNLOADING" followed by the item
// being transferred (types 1-8), "IDS_UPLOADING" alone (9), empty for 0, "IDS_DOWNLOADING"
// alone for anything else.
std::string TransportTypeText(int type, const CLanguage& language);
// The item part of that title (empty key for types without one).
TextKey TransportItemKey(int type);

// One row of the data-mode dialog or the user choice, in the order shown.
struct ModeChoice {
  int mode = 0;  // enum_DataMode
  TextKey label;
  bool operator==(const ModeChoice&) const = default;
};
// Download: a MIRU offers its modes 1-3 ("IDS_TRE_PRESSURE", "IDS_PATIENT_TUTELAGE",
// "IDS_USERALONE"), a QORA its users 4-6 ("IDS_USER1".."IDS_USER3") and "IDS_ALLUSER" (7) only
// when all three users are offered. Other kinds have a single mode and no choice (empty list).
std::vector<ModeChoice> DownloadModeChoices(int deviceKind, const int modes[kDataModeSlots]);
// Upload: a MIRU is programmed for recording (1) or monitoring (2); other kinds have no choice.
std::vector<ModeChoice> UploadModeChoices(int deviceKind);
// The mode a download uses without asking: 1, except 7 for a QORA that offers all users (the
// first offered user otherwise). 0 when the recorder offers nothing.
int DefaultDownloadMode(int deviceKind, const int modes[kDataModeSlots]);

// The message that follows detection: none for 1 (the transfer goes on), "IDS_DEVICE" (with
// Retry and Cancel) for 11, "IDS_REGIONERROR" for 3, "IDS_REMOTEERROR" for 4, otherwise
// "IDS_SYS_ERROR".
TextKey DetectResultKey(DeviceResult result);
// Whether the detection message offers Retry.
inline bool DetectOffersRetry(DeviceResult result) {
  return result == DeviceResult::DetectRetry;
}
// After a transfer of the download (the data modes, the download itself): none for 1 (the
// result text of the store is shown instead), "IDS_NORECIEVE_DATA" for 13, otherwise
// "IDS_MSG_ERROR". A cancelled download (2000) shows nothing either.
TextKey DownloadResultKey(DeviceResult result);
// After the download as a whole: the key of its transfer's result when that failed,
// "IDS_NORECIEVE_DATA" when there was no data, "IDS_MSG_ERROR" when a case file could not be
// written, none when everything was stored.
TextKey DownloadResultKey(const DownloadOutcome& outcome);
// After an upload: "IDS_UPLOAD_FINISH" for 1, "IDS_NOSUPPORTFUNCTION" for 14, nothing for a
// cancelled upload, otherwise "IDS_UPLOAD_ERROR".
TextKey UploadResultKey(DeviceResult result);

// An English description of a transfer result, for logs and the command-line tool.
const char* TransferResultText(DeviceResult result);
// The same for a download as a whole; a failed write names the case file's cause ("the case
// file could not be written: ...").
std::string DownloadOutcomeText(const DownloadOutcome& outcome);

}  // namespace vesk
