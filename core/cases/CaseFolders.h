#pragma once
// The case folder tree of each program user and the operations the case browser and the copy
// and delete dialogs run on it: listing, the three searches, moving a recording in time, copy
// and delete. Every operation returns a CaseOpResult that says what went wrong in a way the
// program can show (a language key where the program has one, else an English text).
//
// Tree: <data path>/<user>/{VESK, Monitor, SingleUser, BPM}/<stamp><ending>.awp, where the
// stamp is the computer's local time when the file is stored ("%Y%m%d%H%M%S") and the ending
// "01", "02" or "03" (the user number for home monitors).

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cases/CaseFileResult.h"
#include "cases/CaseRecord.h"
#include "language/Language.h"
#include "platform/DateTime.h"

namespace vesk {

enum class CaseOpCode {
  Ok = 0,
  EmptyUser,        // no user name: nothing may land in the data folder itself
  BadUser,          // a user name that would leave its own folder ("..", separators)
  NoDataPath,       // the data path is empty
  CannotCreate,     // a folder of the tree could not be created
  FolderMissing,    // the folder to list or to copy into does not exist
  ReadOnly,         // the folder (or file) may not be written
  FileMissing,      // the case file is not there (any more)
  SameFile,         // copy target is the source itself
  OpenCase,         // the case is open and may not be deleted
  SearchTextEmpty,  // name or case-ID search without a text
  Locked,           // the case is locked against viewing
  InvalidTime,      // the new measuring time is not a real date and time
  NothingToMove,    // the case has no valid time to move
  CaseFileError,    // the case-file library reported an error (libraryCode)
  IoError,          // any other system error (detail names it)
};

struct CaseOpResult {
  CaseOpCode code = CaseOpCode::Ok;
  std::string section;  // language section of the message, when the program has one
  std::string key;      // language key of the message
  std::string path;     // the file or folder concerned
  std::string detail;   // English description, for logs and when there is no key
  CaseFileResult libraryCode = CaseFileResult::Ok;

  bool ok() const { return code == CaseOpCode::Ok; }
  // The message to show: the language text (followed by the path for "IDS_UNABLE_DEL"), or
  // the English description when there is no key or the language file lacks it.
  std::string Text(const CLanguage& language) const;
};

enum class CaseFolder { Vesk, Monitor, SingleUser, Bpm };
inline constexpr std::array<CaseFolder, 4> kAllCaseFolders = {
    CaseFolder::Vesk, CaseFolder::Monitor, CaseFolder::SingleUser, CaseFolder::Bpm};
// "VESK", "Monitor", "SingleUser", "BPM"
const char* CaseFolderName(CaseFolder folder);

// Where a recording is stored: folder and name ending (1 to 3).
struct CaseSlot {
  CaseFolder folder = CaseFolder::Vesk;
  int ending = 1;
  bool operator==(const CaseSlot&) const = default;
};

// Which recording of which recorder goes into which slot is a fact of the recorder models:
// see SlotFor in device/ModelTable.h.

class CaseFolderTree {
 public:
  CaseFolderTree(std::string dataPath, std::string user);

  // Ok, or why this tree may not be used (empty or unusable user name, no data path).
  CaseOpResult Check() const;
  const std::string& dataPath() const { return dataPath_; }
  const std::string& user() const { return user_; }
  // Paths; meaningful only when Check() is Ok.
  std::string UserFolder() const;
  std::string Folder(CaseFolder folder) const;
  std::string FilePath(const CaseSlot& slot, const std::string& stamp) const;
  // Creates the folder with every missing parent.
  CaseOpResult Ensure(CaseFolder folder) const;
  CaseOpResult EnsureAll() const;

 private:
  std::string dataPath_;
  std::string user_;
};

// "%Y%m%d%H%M%S" of the given wall-clock time.
std::string CaseStamp(const DateParts& localTime);
// stamp + "01.awp" / "02.awp" / "03.awp"
std::string CaseFileName(const std::string& stamp, int ending);
// The computer's local wall-clock time; file names are the only place it is used.
DateParts LocalNow();
// The stamp of `now`, or of the next second for which none of the slots' files exists yet, so
// that two downloads within one second never write over each other. All slots share it.
std::string FreeCaseStamp(const CaseFolderTree& tree, const std::vector<CaseSlot>& slots,
                          const DateParts& now);

// Listing ---------------------------------------------------------------------------------

inline constexpr size_t kMaxListedCases = 2000;
inline constexpr char kNoStartTime[] = "----/--/-- --:--";

struct CaseListRow {
  std::string path;      // full path
  std::string fileName;  // name within the folder
  std::string name;      // patient name
  std::string caseId;
  std::optional<DateParts> start;  // year..minute of the first reading with a valid time
  std::string startText;           // "%04d/%02d/%02d %02d:%02d" or kNoStartTime
  // Ok, or the library's code when the file could not be read.
  CaseFileResult loadResult = CaseFileResult::Ok;
};

struct CaseListing {
  CaseOpResult result;
  std::vector<CaseListRow> rows;
  bool truncated = false;  // the folder held more case files than were listed
};

// The start time of a case: the first reading in file order whose year, month, day, hour and
// minute form a valid date and time; the pressures play no part.
std::optional<DateParts> CaseStartTime(const std::vector<_BP_RECORD>& readings);
std::string FormatStartTime(const std::optional<DateParts>& start);

// One row through the library (version check, patient information, readings). A file the
// library cannot read still gives a row, with empty texts and its code in loadResult.
CaseListRow ReadCaseRow(const std::string& path);

// The "*.awp" files of the folder (not its sub-folders), in name order, at most maxFiles.
CaseListing ListCaseFolder(const std::string& folder, size_t maxFiles = kMaxListedCases);

enum class CaseSearchBy { Name, CaseId, StartDate };
struct CaseSearch {
  CaseSearchBy by = CaseSearchBy::Name;
  std::string text;                  // name and case ID: case-sensitive part of the value
  int year = 0, month = 0, day = 0;  // start date
};
bool MatchesSearch(const CaseListRow& row, const CaseSearch& search);
// Lists the folder keeping the rows that match. An empty text for a name or case-ID search
// gives SearchTextEmpty ("IDS_SEARCHNULL") and no rows.
CaseListing SearchCaseFolder(const std::string& folder, const CaseSearch& search,
                             size_t maxFiles = kMaxListedCases);

// Operations on files ------------------------------------------------------------------------

// Check before opening: Locked ("IDS_CANNOT_CHECK") when the case is locked against viewing.
CaseOpResult CheckCaseBeforeOpen(const std::string& path);

// Moves the recording so that it starts on the given date at hour:minute (seconds 0).
CaseOpResult ChangeCaseMeasuringTime(const std::string& path, int year, int month, int day,
                                     int hour, int minute);

// Copies the file into the folder under its own name, replacing a file of that name; the
// copy is written atomically. Copying a file onto itself is refused.
CaseOpResult CopyCaseFile(const std::string& source, const std::string& destFolder);
// Copies each file, the last one first, as the copy dialog does; one result per source, in
// the order of `sources`.
std::vector<CaseOpResult> CopyCaseFiles(const std::vector<std::string>& sources,
                                        const std::string& destFolder);

// True when both paths name the same file: equal without regard to letter case, or the same
// file on disk.
bool IsSameCasePath(const std::string& a, const std::string& b);
// Deletes a case file, refusing the open case ("IDS_UNABLE_DEL" and the path).
CaseOpResult DeleteCaseFile(const std::string& path, const std::string& openCasePath);
// Deletes each file, the last one first; a refused or failed file does not stop the others.
// One result per path, in the order of `paths`.
std::vector<CaseOpResult> DeleteCaseFiles(const std::vector<std::string>& paths,
                                          const std::string& openCasePath);

}  // namespace vesk
