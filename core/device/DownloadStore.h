#pragma once
// Turns what a download brought into case files: one file per recording, in the case folder
// tree of the current user, named by one time stamp per download. Recordings without a
// patient of their own (single-user readings, home-monitor users) get a generated identity and
// the default plan. A file is written completely or not at all, and a failure never removes a
// file stored before it.

#include <cstdint>
#include <string>
#include <vector>

#include "cases/CaseFileResult.h"
#include "cases/CaseFolders.h"
#include "cases/CaseRecord.h"
#include "device/DeviceTypes.h"
#include "language/Language.h"
#include "platform/DateTime.h"

namespace vesk {

// The failure texts of the store, kept as the program has always worded them.
inline constexpr char kStoreFailedBasic[] =
    "There has an abnormity in saving BP data to case file.";
inline constexpr char kStoreFailedMiru[] = "BP data failed in saving:";
inline constexpr char kStoreFailedQora[] = "Failed in saving";

struct StoreContext {
  std::string dataPath;  // the user's configured case data folder
  std::string user;      // the current program user
  DateParts now;         // local time of the store: the files' time stamp
};

struct StoreOutcome {
  // Ok, or why nothing could be stored: the data does not fit the recorder's kind or mode.
  DeviceResult device = DeviceResult::Ok;
  // The result of the first write that failed (files written before it stay), else 1.
  CaseFileResult caseFile = CaseFileResult::Ok;
  // The summary shown after the download.
  std::string resultText;
  // Every file written, in order.
  std::vector<std::string> storedFiles;
  // The file the program offers next: the ambulatory file of a TALOColor (its single-user file
  // when there is no ambulatory one), otherwise the last file written. Empty when none was.
  std::string currentPath;
};

// The case record of one downloaded recording before its data goes in: device kind, model
// name, data mode, version items (the recorder's protocol version, two empty items, 5.2),
// protocol number and the two device bytes.
_FILE_ALL_INFO MakeDownloadedCase(int32_t deviceKind, int32_t dataMode,
                                  const tag_SUPPORT_PROTOCOL& info, const _SUB_VERSION& version);

// A generated identity: the name and ID go into the plan and the patient, and the plan
// becomes the default plan dated like the first reading.
void SetGeneratedIdentity(_FILE_ALL_INFO& info, const char* name, const char* id);

// The patient name and ID come from the plan. A plan name that fails the case-file library's
// string check for 30 bytes (or runs past them) is cleared, never cut; the ID likewise for 11.
void TakePatientFromPlan(_FILE_ALL_INFO& info);

// Creates the folder when needed and writes the record as a new version-2 case file. 1 or the
// library's code (CaseFileResult::WriteFailed when the folder cannot be created).
[[nodiscard]] CaseFileResult WriteDownloadedCase(const std::string& path,
                                                 const _FILE_ALL_INFO& info);

// Stores a successful download (the caller has checked that it holds data).
[[nodiscard]] StoreOutcome StoreDownload(const _DOWNLOAD_DATAINFO& data,
                                         const tag_SUPPORT_PROTOCOL& info,
                                         const _SUB_VERSION& version, const StoreContext& context,
                                         const CLanguage& language);

}  // namespace vesk
