#include "cases/Filemanage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "cases/AwpFormat.h"
#include "platform/FileUtil.h"

namespace vesk {

const char* CaseFileResultText(CaseFileResult result) {
  switch (result) {
    case CaseFileResult::Ok:
      return "success";
    case CaseFileResult::Failed:
      return "failed";
    case CaseFileResult::CannotOpen:
      return "cannot open the case file";
    case CaseFileResult::TooLarge:
      return "the file is too large for a case file";
    case CaseFileResult::NotCaseFile:
      return "not a case file";
    case CaseFileResult::BadVersion:
      return "case file of another version";
    case CaseFileResult::BadCount:
      return "a count in the case file does not match its contents";
    case CaseFileResult::BadValue:
      return "a value in the case file is malformed";
    case CaseFileResult::Missing:
      return "the case file is incomplete";
    case CaseFileResult::WriteFailed:
      return "the case file could not be written";
    case CaseFileResult::ReadOnly:
      return "the case file is read-only";
    case CaseFileResult::Changed:
      return "the case file was changed by someone else since it was loaded";
    default:
      return "unknown case-file result";
  }
}

namespace {

// Reads from the start of the file until `stop` has been seen (and the line it starts is
// complete enough to be recognised) or the file ends. An empty `stop` reads at most `limit`.
CaseFileResult ReadPrefix(const std::string& path, std::string_view stop, size_t limit,
                          std::string& out) {
  out.clear();
  if (path.empty()) return CaseFileResult::CannotOpen;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return CaseFileResult::CannotOpen;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return CaseFileResult::CannotOpen;
  }
  if (static_cast<uint64_t>(st.st_size) > awp::kMaxFileBytes) {
    ::close(fd);
    return CaseFileResult::TooLarge;
  }
  // Whole files in one read; prefixes in steps, looking for the stop text after each.
  const size_t kChunk =
      stop.empty() ? std::max<size_t>(64 * 1024, static_cast<size_t>(st.st_size) + 1) : 256 * 1024;
  size_t searched = 0;
  for (;;) {
    const size_t want = std::min(kChunk, limit - out.size());
    if (want == 0) break;
    const size_t at = out.size();
    out.resize(at + want);
    const ssize_t n = ::read(fd, out.data() + at, want);
    if (n < 0 && errno == EINTR) {
      out.resize(at);
      continue;
    }
    if (n < 0) {
      ::close(fd);
      out.clear();
      return CaseFileResult::CannotOpen;
    }
    out.resize(at + static_cast<size_t>(n));
    if (n == 0) break;
    if (!stop.empty()) {
      const size_t from = searched >= stop.size() ? searched - stop.size() : 0;
      if (out.find(stop, from) != std::string::npos) break;
      searched = out.size();
    }
  }
  ::close(fd);
  return CaseFileResult::Ok;
}

CaseFileResult ReadWhole(const std::string& path, std::string& out) {
  return ReadPrefix(path, {}, awp::kMaxFileBytes, out);
}

// Everything up to the SpO2 series (the whole file when it has none).
CaseFileResult ReadWithoutSamples(const std::string& path, std::string& out) {
  return ReadPrefix(path, awp::kSamplesMarker, awp::kMaxFileBytes, out);
}

// Reads the whole file for a save and sets base to the stamp the save must still find when
// it writes. A guarded save that already finds another file stops here: parsing someone
// else's file could only give a less telling code.
CaseFileResult ReadForSave(const std::string& path, const SaveGuard* guard, std::string& bytes,
                           FileStamp& base) {
  const FileStamp now = StampFile(path);
  if (guard && now.exists && now != guard->expected) return CaseFileResult::Changed;
  base = guard ? guard->expected : now;
  return ReadWhole(path, bytes);
}

// expected null: a new file, written whatever is there. Otherwise the file is replaced only
// while its stamp is still *expected; written (when given) receives the new stamp.
CaseFileResult WriteCaseFile(const std::string& path, std::string_view bytes,
                             const FileStamp* expected = nullptr, FileStamp* written = nullptr) {
  if (path.empty()) return CaseFileResult::CannotOpen;
  // The rename of the atomic write would replace a file that was marked read-only (and root
  // passes every permission test), so the mark is honoured here.
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 &&
      ((st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0))
    return CaseFileResult::ReadOnly;
  if (!expected)
    return fsutil::WriteFileAtomic(path, bytes) ? CaseFileResult::Ok : CaseFileResult::WriteFailed;
  switch (ReplaceIfUnchanged(path, bytes, *expected, written, nullptr)) {
    case SaveCheck::Saved:
      return CaseFileResult::Ok;
    case SaveCheck::ChangedUnderUs:
      return CaseFileResult::Changed;
    case SaveCheck::Failed:
      break;
  }
  return CaseFileResult::WriteFailed;
}

// A save's write under its guard: replaced only while the file is still base.
CaseFileResult WriteGuarded(const std::string& path, std::string_view bytes, const FileStamp& base,
                            SaveGuard* guard) {
  return WriteCaseFile(path, bytes, &base, guard ? &guard->written : nullptr);
}

// Minute stamp back to fields.
void FieldsFromStamp(int64_t stamp, int32_t& y, int32_t& mo, int32_t& d, int32_t& h, int32_t& mi) {
  int64_t days = stamp >= 0 ? stamp / 1440 : -((-stamp + 1439) / 1440);
  const int64_t minutes = stamp - days * 1440;
  int yy, mm, dd;
  CivilFromDays(days, yy, mm, dd);
  y = yy, mo = mm, d = dd;
  h = static_cast<int32_t>(minutes / 60);
  mi = static_cast<int32_t>(minutes % 60);
}

}  // namespace

CFilemanage::~CFilemanage() = default;

int32_t CFilemanage::GetFileVersion(const std::string& path, _SUB_VERSION& version) {
  std::string head;
  // [CASE FILE] opens every case file; 64 KiB leaves room for comments before it.
  if (CaseFileResult rc = ReadPrefix(path, "\n[DEVICE]", 64 * 1024, head); rc != CaseFileResult::Ok)
    return ToInt(rc);
  return ToInt(awp::ParseVersion(head, version));
}

std::unique_ptr<CFilemanage> CFilemanage::CreateFor(const std::string& path,
                                                    int32_t* versionResult) {
  _SUB_VERSION version;
  const int32_t r = GetFileVersion(path, version);
  if (versionResult) *versionResult = r;
  std::unique_ptr<CFilemanage> f;
  if (version.nMain == 2)
    f = std::make_unique<CFilemanage_2Ver>();
  else
    f = std::make_unique<CFilemanage_1Ver>();
  f->SetCaseFilePath(path);
  return f;
}

void CFilemanage::ProgressStart(int32_t total) {
  if (progressTotal_) *progressTotal_ = total;
  if (progressCurrent_) *progressCurrent_ = 0;
}

void CFilemanage::ProgressDone() {
  if (progressTotal_ && progressCurrent_) *progressCurrent_ = *progressTotal_;
}

CaseFileResult CFilemanage::TakeParsed(std::string_view bytes, bool withSamples) {
  _FILE_ALL_INFO info;
  if (CaseFileResult rc = awp::Parse(bytes, withSamples, version_, info); rc != CaseFileResult::Ok)
    return rc;
  info_ = std::move(info);
  return CaseFileResult::Ok;
}

int32_t CFilemanage::LoadAllInfo() {
  ProgressStart(100);
  std::string bytes;
  if (CaseFileResult rc = ReadWhole(path_, bytes); rc != CaseFileResult::Ok) return ToInt(rc);
  if (CaseFileResult rc = TakeParsed(bytes, true); rc != CaseFileResult::Ok) return ToInt(rc);
  ProgressDone();
  return ToInt(CaseFileResult::Ok);
}

CaseFileResult CFilemanage::LoadBPDataImpl() {
  ProgressStart(100);
  std::string bytes;
  if (CaseFileResult rc = ReadWithoutSamples(path_, bytes); rc != CaseFileResult::Ok) return rc;
  if (CaseFileResult rc = TakeParsed(bytes, false); rc != CaseFileResult::Ok) return rc;
  ProgressDone();
  return CaseFileResult::Ok;
}

int32_t CFilemanage::LoadExtraInfo() {
  return ToInt(LoadBPDataImpl());
}

CaseFileResult CFilemanage::SaveBPDataImpl() {
  return CaseFileResultOf(SaveBPDataWithHistory({}));
}

int32_t CFilemanage::LoadEditHistory(const std::string& path, std::vector<EditEntry>& out) {
  out.clear();
  std::string bytes;
  if (CaseFileResult rc = ReadWhole(path, bytes); rc != CaseFileResult::Ok) return ToInt(rc);
  _SUB_VERSION version;
  if (CaseFileResult rc = awp::ParseVersion(bytes, version); rc != CaseFileResult::Ok)
    return ToInt(rc);
  return ToInt(ParseHistory(bytes, out));
}

int32_t CFilemanage::SaveBPDataWithHistory(const std::vector<EditEntry>& entries) {
  ProgressStart(100);
  std::string bytes;
  FileStamp base;
  if (CaseFileResult rc = ReadForSave(path_, guard_, bytes, base); rc != CaseFileResult::Ok)
    return ToInt(rc);
  _FILE_ALL_INFO check;
  // Only a file that reads correctly is changed in place; the series after the readings is
  // carried over as it is.
  if (CaseFileResult rc = awp::Parse(bytes, false, version_, check); rc != CaseFileResult::Ok)
    return ToInt(rc);
  if (CaseFileResult rc =
          awp::ReplaceSection(bytes, "BP DATA", awp::SerializeBpData(info_.bpHead, info_.readings));
      rc != CaseFileResult::Ok)
    return ToInt(rc);
  if (CaseFileResult rc = AppendHistory(bytes, entries); rc != CaseFileResult::Ok) return ToInt(rc);
  if (CaseFileResult rc = WriteGuarded(path_, bytes, base, guard_); rc != CaseFileResult::Ok)
    return ToInt(rc);
  ProgressDone();
  return ToInt(CaseFileResult::Ok);
}

CaseFileResult CFilemanage::LoadPatientInfoImpl(int32_t version, const std::string& path,
                                                _PATIENT_INFO& out) {
  std::string bytes;
  if (CaseFileResult rc = ReadWithoutSamples(path, bytes); rc != CaseFileResult::Ok) return rc;
  _FILE_ALL_INFO info;
  if (CaseFileResult rc = awp::Parse(bytes, false, version, info); rc != CaseFileResult::Ok)
    return rc;
  out = std::move(info.patient);
  return CaseFileResult::Ok;
}

CaseFileResult CFilemanage::SavePatientInfoImpl(int32_t version, const std::string& path,
                                                const _PATIENT_INFO& patient,
                                                const EditStamp* stamp, SaveGuard* guard) {
  std::string bytes;
  FileStamp base;
  if (CaseFileResult rc = ReadForSave(path, guard, bytes, base); rc != CaseFileResult::Ok)
    return rc;
  _FILE_ALL_INFO check;
  if (CaseFileResult rc = awp::Parse(bytes, false, version, check); rc != CaseFileResult::Ok)
    return rc;
  if (stamp) {
    const std::vector<EditEntry> changes = DiffPatient(check.patient, patient, *stamp);
    if (changes.empty()) return CaseFileResult::Ok;
    if (CaseFileResult rc = AppendHistory(bytes, changes); rc != CaseFileResult::Ok) return rc;
  }
  if (CaseFileResult rc =
          awp::ReplaceSection(bytes, "PATIENT DATA", awp::SerializePatient(patient));
      rc != CaseFileResult::Ok)
    return rc;
  return WriteGuarded(path, bytes, base, guard);
}

int32_t CFilemanage_2Ver::SaveAllInfotoCaseFile() {
  ProgressStart(100);
  if (CaseFileResult rc = WriteCaseFile(path_, awp::Serialize(info_, 2)); rc != CaseFileResult::Ok)
    return ToInt(rc);
  ProgressDone();
  return ToInt(CaseFileResult::Ok);
}

int32_t CFilemanage::ChangeMeasuringTime(const OleDateTime& when) {
  DateParts target;
  if (!when.ToParts(target)) return ToInt(CaseFileResult::Failed);
  // The file is written anew; its edit history goes along unchanged.
  std::string old;
  FileStamp base;
  if (CaseFileResult rc = ReadForSave(path_, guard_, old, base); rc != CaseFileResult::Ok)
    return ToInt(rc);
  ProgressStart(100);
  // The bytes the save was checked against are the ones changed: a second read could meet
  // another file.
  if (CaseFileResult rc = TakeParsed(old, true); rc != CaseFileResult::Ok) return ToInt(rc);
  ProgressDone();
  const std::string history(HistorySectionText(old));
  int64_t anchor = 0;
  bool found = false;
  for (const _BP_RECORD& r : info_.readings) {
    if (IsValidDate(r.year, r.month, r.day, r.hour, r.minute, 0)) {
      anchor = MinuteStamp(r.year, r.month, r.day, r.hour, r.minute);
      found = true;
      break;
    }
  }
  int32_t* h = info_.spo2Head.v;
  const bool spo2Valid = IsValidDate(h[1], h[2], h[3], h[4], h[5], 0);
  if (!found && spo2Valid) {
    anchor = MinuteStamp(h[1], h[2], h[3], h[4], h[5]);
    found = true;
  }
  if (!found) return ToInt(CaseFileResult::Failed);
  const int64_t delta =
      MinuteStamp(target.year, target.month, target.day, target.hour, target.minute) - anchor;
  for (_BP_RECORD& r : info_.readings) {
    if (!IsValidDate(r.year, r.month, r.day, r.hour, r.minute, 0)) continue;
    int32_t y, mo, d, hh, mi;
    FieldsFromStamp(MinuteStamp(r.year, r.month, r.day, r.hour, r.minute) + delta, y, mo, d, hh,
                    mi);
    r.year = y;
    r.month = static_cast<int16_t>(mo);
    r.day = static_cast<int16_t>(d);
    r.hour = static_cast<int16_t>(hh);
    r.minute = static_cast<int16_t>(mi);
  }
  if (spo2Valid)
    FieldsFromStamp(MinuteStamp(h[1], h[2], h[3], h[4], h[5]) + delta, h[1], h[2], h[3], h[4],
                    h[5]);
  return ToInt(WriteGuarded(path_, awp::Serialize(info_, version_) + history, base, guard_));
}

int32_t CFilemanage::IsValidString(const uint8_t* bytes, size_t length) {
  if (!bytes) return length == 0 ? 1 : 0;
  size_t n = 0;
  while (n < length && bytes[n] != 0) ++n;
  for (size_t i = 0; i < n; ++i) {
    const uint8_t c = bytes[i];
    if (c >= 0x20 && c <= 0x7E) continue;
    // A double-byte character: lead 0x81-0xFE, trail 0x40-0xFE except 0x7F.
    if (c >= 0x81 && c <= 0xFE && i + 1 < n) {
      const uint8_t t = bytes[i + 1];
      if (t >= 0x40 && t <= 0xFE && t != 0x7F) {
        ++i;
        continue;
      }
    }
    return 0;
  }
  return 1;
}

namespace {

// A file that names no version is no case file; neither class is asked to guess.
CaseFileResult VersionOf(const std::string& path, _SUB_VERSION& version) {
  return CaseFileResultOf(CFilemanage::GetFileVersion(path, version));
}

}  // namespace

int32_t LoadPatientInfoOfFile(const std::string& path, _PATIENT_INFO& out) {
  _SUB_VERSION version;
  if (CaseFileResult rc = VersionOf(path, version); rc != CaseFileResult::Ok) return ToInt(rc);
  return version.nMain == 2 ? CFilemanage_2Ver::LoadPatientInfo(path, out)
                            : CFilemanage_1Ver::LoadPatientInfo(path, out);
}

int32_t SavePatientInfoOfFile(const std::string& path, const _PATIENT_INFO& info) {
  _SUB_VERSION version;
  if (CaseFileResult rc = VersionOf(path, version); rc != CaseFileResult::Ok) return ToInt(rc);
  return version.nMain == 2 ? CFilemanage_2Ver::SavePatientInfo(path, info)
                            : CFilemanage_1Ver::SavePatientInfo(path, info);
}

int32_t SavePatientInfoWithHistory(const std::string& path, const _PATIENT_INFO& info,
                                   const EditStamp& stamp, SaveGuard* guard) {
  _SUB_VERSION version;
  if (CaseFileResult rc = VersionOf(path, version); rc != CaseFileResult::Ok) return ToInt(rc);
  return CFilemanage::SavePatientWithHistory(version.nMain, path, info, stamp, guard);
}

}  // namespace vesk
