#include "cases/CaseFolders.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "cases/Filemanage.h"
#include "platform/CodePage.h"
#include "platform/FileUtil.h"
#include "platform/ProgramDir.h"

namespace vesk {

namespace {

CaseOpResult Fail(CaseOpCode code, std::string path, std::string detail) {
  CaseOpResult r;
  r.code = code;
  r.path = std::move(path);
  r.detail = std::move(detail);
  return r;
}

CaseOpResult Keyed(CaseOpCode code, const char* section, const char* key, std::string path,
                   std::string detail) {
  CaseOpResult r = Fail(code, std::move(path), std::move(detail));
  r.section = section;
  r.key = key;
  return r;
}

CaseOpResult LibraryFail(CaseFileResult code, const std::string& path, const char* step) {
  CaseOpResult r = Fail(CaseOpCode::CaseFileError, path,
                        std::string(step) + " " + path + ": " + CaseFileResultText(code));
  r.libraryCode = code;
  return r;
}

// errno of a failed write into a folder, as a result the user understands.
CaseOpResult FromErrno(int err, const std::string& path, const std::string& what) {
  if (err == EACCES || err == EPERM || err == EROFS)
    return Fail(CaseOpCode::ReadOnly, path,
                what + ": " + path + " may not be written (" + std::strerror(err) + ")");
  if (err == ENOENT)
    return Fail(CaseOpCode::FileMissing, path, what + ": " + path + " does not exist");
  return Fail(CaseOpCode::IoError, path, what + ": " + path + ": " + std::strerror(err));
}

std::string ParentOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool WritableFolder(const std::string& folder) {
  return ::access(folder.c_str(), W_OK) == 0;
}

bool HasAwpExtension(const char* name) {
  const size_t n = std::strlen(name);
  if (n < 5) return false;
  const char* ext = name + n - 4;
  return ext[0] == '.' && (ext[1] | 0x20) == 'a' && (ext[2] | 0x20) == 'w' &&
         (ext[3] | 0x20) == 'p';
}

char16_t FoldCase(char16_t c) {
  if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
      (c >= 0x391 && c <= 0x3A9) || (c >= 0x410 && c <= 0x42F) || (c >= 0xFF21 && c <= 0xFF3A))
    return static_cast<char16_t>(c + 0x20);
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 0x50);
  return c;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
  if (a == b) return true;
  std::u16string x = codepage::Utf8ToUtf16(a), y = codepage::Utf8ToUtf16(b);
  if (x.size() != y.size()) return false;
  for (size_t i = 0; i < x.size(); ++i)
    if (FoldCase(x[i]) != FoldCase(y[i])) return false;
  return true;
}

// "a//b/./c/" and "a/b/c" name the same file.
std::string Normalized(const std::string& path) {
  std::vector<std::string> parts;
  size_t pos = 0;
  while (pos <= path.size()) {
    size_t next = path.find('/', pos);
    if (next == std::string::npos) next = path.size();
    std::string part = path.substr(pos, next - pos);
    if (part == "..") {
      if (!parts.empty() && parts.back() != "..")
        parts.pop_back();
      else
        parts.push_back(part);
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    pos = next + 1;
  }
  std::string out = !path.empty() && path[0] == '/' ? "/" : "";
  for (size_t i = 0; i < parts.size(); ++i) out += (i ? "/" : "") + parts[i];
  return out;
}

}  // namespace

std::string CaseOpResult::Text(const CLanguage& language) const {
  if (ok()) return {};
  if (!key.empty()) {
    const std::string& text = language.GetText(section, key);
    if (!text.empty()) return code == CaseOpCode::OpenCase ? text + path : text;
  }
  return detail;
}

const char* CaseFolderName(CaseFolder folder) {
  switch (folder) {
    case CaseFolder::Vesk:
      return "VESK";
    case CaseFolder::Monitor:
      return "Monitor";
    case CaseFolder::SingleUser:
      return "SingleUser";
    case CaseFolder::Bpm:
      return "BPM";
  }
  return "VESK";
}

CaseFolderTree::CaseFolderTree(std::string dataPath, std::string user)
    : dataPath_(std::move(dataPath)), user_(std::move(user)) {
  while (dataPath_.size() > 1 && dataPath_.back() == '/') dataPath_.pop_back();
}

CaseOpResult CaseFolderTree::Check() const {
  if (dataPath_.empty()) return Fail(CaseOpCode::NoDataPath, "", "No case data folder is set.");
  if (user_.find_first_not_of(" \t") == std::string::npos)
    return Fail(CaseOpCode::EmptyUser, dataPath_,
                "No user is chosen; case files are kept in a folder per user, never in the data "
                "folder itself.");
  if (user_ == "." || user_ == ".." || user_.find_first_of("/\\") != std::string::npos ||
      user_.find('\0') != std::string::npos || !codepage::IsValidUtf8(user_))
    return Fail(CaseOpCode::BadUser, dataPath_,
                "The user name \"" + user_ + "\" cannot be used as a folder name.");
  return {};
}

std::string CaseFolderTree::UserFolder() const {
  return JoinPath(dataPath_, user_);
}

std::string CaseFolderTree::Folder(CaseFolder folder) const {
  return JoinPath(UserFolder(), CaseFolderName(folder));
}

std::string CaseFolderTree::FilePath(const CaseSlot& slot, const std::string& stamp) const {
  return JoinPath(Folder(slot.folder), CaseFileName(stamp, slot.ending));
}

CaseOpResult CaseFolderTree::Ensure(CaseFolder folder) const {
  CaseOpResult check = Check();
  if (!check.ok()) return check;
  const std::string path = Folder(folder);
  if (fsutil::CreateFolders(path)) return {};
  // The reason is that of the deepest folder that exists: may we write into it?
  std::string existing = path;
  while (!fsutil::FolderExists(existing) && existing != ParentOf(existing))
    existing = ParentOf(existing);
  if (fsutil::FolderExists(existing) && !WritableFolder(existing))
    return FromErrno(errno, existing, "Creating the case folder " + path);
  return Fail(CaseOpCode::CannotCreate, path, "The case folder " + path + " could not be created.");
}

CaseOpResult CaseFolderTree::EnsureAll() const {
  for (CaseFolder f : kAllCaseFolders) {
    CaseOpResult r = Ensure(f);
    if (!r.ok()) return r;
  }
  return {};
}

std::string CaseStamp(const DateParts& t) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d%02d%02d%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return buf;
}

std::string CaseFileName(const std::string& stamp, int ending) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02d.awp", std::clamp(ending, 0, 99));
  return stamp + buf;
}

DateParts LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::string FreeCaseStamp(const CaseFolderTree& tree, const std::vector<CaseSlot>& slots,
                          const DateParts& now) {
  OleDateTime t = OleDateTime::FromParts(now);
  for (int step = 0; step < 24 * 3600; ++step) {
    DateParts p = now;
    if (t.IsValid() && !t.AddSeconds(step).ToParts(p)) break;
    const std::string stamp = CaseStamp(p);
    bool free = true;
    for (const CaseSlot& s : slots) free = free && !fsutil::FileExists(tree.FilePath(s, stamp));
    if (free || !t.IsValid()) return stamp;
  }
  return CaseStamp(now);
}

std::optional<DateParts> CaseStartTime(const std::vector<_BP_RECORD>& readings) {
  for (const _BP_RECORD& r : readings)
    if (IsValidDate(r.year, r.month, r.day, r.hour, r.minute, 0))
      return DateParts{r.year, r.month, r.day, r.hour, r.minute, 0};
  return std::nullopt;
}

std::string FormatStartTime(const std::optional<DateParts>& start) {
  if (!start) return kNoStartTime;
  char buf[40];
  std::snprintf(buf, sizeof buf, "%04d/%02d/%02d %02d:%02d", start->year, start->month, start->day,
                start->hour, start->minute);
  return buf;
}

CaseListRow ReadCaseRow(const std::string& path) {
  CaseListRow row;
  row.path = path;
  row.fileName = BaseName(path);
  row.startText = kNoStartTime;
  int32_t v = ToInt(CaseFileResult::Ok);
  std::unique_ptr<CFilemanage> file = CFilemanage::CreateFor(path, &v);
  if (CaseFileResultOf(v) != CaseFileResult::Ok) {
    row.loadResult = CaseFileResultOf(v);
    return row;
  }
  int32_t current = 0, total = 0;
  file->SetProgressInfo(&current, &total);
  // Patient data and readings; the SpO2 series is never read for a list row.
  const CaseFileResult r = CaseFileResultOf(file->LoadBPData());
  if (r != CaseFileResult::Ok) {
    row.loadResult = r;
    return row;
  }
  const _FILE_ALL_INFO& info = file->FileInfo();
  row.name = info.patient.name;
  row.caseId = info.patient.caseId;
  row.start = CaseStartTime(info.readings);
  row.startText = FormatStartTime(row.start);
  return row;
}

CaseListing ListCaseFolder(const std::string& folder, size_t maxFiles) {
  CaseListing listing;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) {
    const int err = errno;
    if (err == ENOENT || err == ENOTDIR)
      listing.result =
          Fail(CaseOpCode::FolderMissing, folder, "The folder " + folder + " does not exist.");
    else
      listing.result = FromErrno(err, folder, "Listing the folder");
    return listing;
  }
  std::vector<std::string> names;
  while (const dirent* e = ::readdir(dir)) {
    if (!HasAwpExtension(e->d_name)) continue;
    if (e->d_type != DT_REG && e->d_type != DT_UNKNOWN && e->d_type != DT_LNK) continue;
    names.emplace_back(e->d_name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  listing.rows.reserve(std::min(names.size(), maxFiles));
  for (const std::string& name : names) {
    const std::string path = JoinPath(folder, name);
    if (!fsutil::FileExists(path)) continue;  // a folder or a dangling link named *.awp
    if (listing.rows.size() >= maxFiles) {
      listing.truncated = true;
      break;
    }
    listing.rows.push_back(ReadCaseRow(path));
  }
  return listing;
}

bool MatchesSearch(const CaseListRow& row, const CaseSearch& s) {
  switch (s.by) {
    case CaseSearchBy::Name:
      return !s.text.empty() && row.name.find(s.text) != std::string::npos;
    case CaseSearchBy::CaseId:
      return !s.text.empty() && row.caseId.find(s.text) != std::string::npos;
    case CaseSearchBy::StartDate:
      return row.start && row.start->year == s.year && row.start->month == s.month &&
             row.start->day == s.day;
  }
  return false;
}

CaseListing SearchCaseFolder(const std::string& folder, const CaseSearch& search, size_t maxFiles) {
  if (search.by != CaseSearchBy::StartDate && search.text.empty()) {
    CaseListing none;
    none.result = Keyed(CaseOpCode::SearchTextEmpty, "Dialog Setting", "IDS_SEARCHNULL", folder,
                        "Enter the text to search for.");
    return none;
  }
  CaseListing listing = ListCaseFolder(folder, maxFiles);
  std::erase_if(listing.rows, [&](const CaseListRow& row) { return !MatchesSearch(row, search); });
  return listing;
}

CaseOpResult CheckCaseBeforeOpen(const std::string& path) {
  if (!fsutil::FileExists(path))
    return Fail(CaseOpCode::FileMissing, path, path + " does not exist.");
  std::unique_ptr<CFilemanage> file = CFilemanage::CreateFor(path);
  if (!file) return LibraryFail(CaseFileResult::NotCaseFile, path, "Reading");
  int32_t current = 0, total = 0;
  file->SetProgressInfo(&current, &total);
  const CaseFileResult r = CaseFileResultOf(file->LoadExtraInfo());
  if (r != CaseFileResult::Ok) return LibraryFail(r, path, "Reading");
  if (file->FileInfo().locked == 1)
    return Keyed(CaseOpCode::Locked, "Global Setting", "IDS_CANNOT_CHECK", path,
                 "The case " + path + " is locked and cannot be viewed.");
  return {};
}

CaseOpResult ChangeCaseMeasuringTime(const std::string& path, int year, int month, int day,
                                     int hour, int minute) {
  const OleDateTime when = OleDateTime::FromParts(year, month, day, hour, minute, 0);
  if (!when.IsValid())
    return Fail(CaseOpCode::InvalidTime, path,
                "The new measuring time is not a valid date and time.");
  if (!fsutil::FileExists(path))
    return Fail(CaseOpCode::FileMissing, path, path + " does not exist.");
  if (!WritableFolder(ParentOf(path)))
    return FromErrno(errno, ParentOf(path), "Changing the measuring time");
  int32_t v = ToInt(CaseFileResult::Ok);
  std::unique_ptr<CFilemanage> file = CFilemanage::CreateFor(path, &v);
  if (CaseFileResultOf(v) != CaseFileResult::Ok)
    return LibraryFail(CaseFileResultOf(v), path, "Reading");
  int32_t current = 0, total = 0;
  file->SetProgressInfo(&current, &total);
  const CaseFileResult r = CaseFileResultOf(file->ChangeMeasuringTime(when));
  if (r == CaseFileResult::Ok) return {};
  if (r == CaseFileResult::Failed)
    return Fail(CaseOpCode::NothingToMove, path,
                "The case " + path + " has no measuring time to change.");
  return LibraryFail(r, path, "Changing the measuring time of");
}

bool IsSameCasePath(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  if (EqualNoCase(Normalized(a), Normalized(b))) return true;
  struct stat sa {
  }, sb{};
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

CaseOpResult CopyCaseFile(const std::string& source, const std::string& destFolder) {
  struct stat st {};
  if (::stat(source.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
    return Fail(CaseOpCode::FileMissing, source, source + " does not exist.");
  if (!fsutil::FolderExists(destFolder))
    return Fail(CaseOpCode::FolderMissing, destFolder,
                "The folder " + destFolder + " does not exist.");
  const std::string target = JoinPath(destFolder, BaseName(source));
  struct stat tt {};
  if (::stat(target.c_str(), &tt) == 0 && tt.st_dev == st.st_dev && tt.st_ino == st.st_ino)
    return Fail(CaseOpCode::SameFile, target,
                "The file " + target + " cannot be copied onto itself.");
  if (!WritableFolder(destFolder))
    return FromErrno(errno, destFolder, "Copying " + BaseName(source));
  std::string bytes, error;
  if (!fsutil::ReadFile(source, bytes, &error))
    return Fail(CaseOpCode::IoError, source, "Reading " + source + ": " + error);
  if (!fsutil::WriteFileAtomic(target, bytes, &error))
    return Fail(CaseOpCode::IoError, target, "Writing " + target + ": " + error);
  return {};
}

std::vector<CaseOpResult> CopyCaseFiles(const std::vector<std::string>& sources,
                                        const std::string& destFolder) {
  std::vector<CaseOpResult> results(sources.size());
  for (size_t i = sources.size(); i-- > 0;) results[i] = CopyCaseFile(sources[i], destFolder);
  return results;
}

CaseOpResult DeleteCaseFile(const std::string& path, const std::string& openCasePath) {
  if (IsSameCasePath(path, openCasePath))
    return Keyed(CaseOpCode::OpenCase, "Global Setting", "IDS_UNABLE_DEL", path,
                 "The open case " + path + " cannot be deleted.");
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0)
    return Fail(CaseOpCode::FileMissing, path, path + " no longer exists.");
  if (S_ISDIR(st.st_mode))
    return Fail(CaseOpCode::IoError, path, path + " is a folder, not a case file.");
  if (::unlink(path.c_str()) != 0) {
    const int err = errno;
    if (err == ENOENT) return Fail(CaseOpCode::FileMissing, path, path + " no longer exists.");
    return FromErrno(err, path, "Deleting");
  }
  return {};
}

std::vector<CaseOpResult> DeleteCaseFiles(const std::vector<std::string>& paths,
                                          const std::string& openCasePath) {
  std::vector<CaseOpResult> results(paths.size());
  for (size_t i = paths.size(); i-- > 0;) results[i] = DeleteCaseFile(paths[i], openCasePath);
  return results;
}

}  // namespace vesk
