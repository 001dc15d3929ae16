#include "reports/ReportFiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/CodePage.h"
#include "platform/FileUtil.h"
#include "platform/ProgramDir.h"
#include "reports/ReportFields.h"

namespace vesk {

namespace {

class Writer {
 public:
  explicit Writer(std::string& out) : out_(out) {}
  void I32(const int32_t& v) { Put(static_cast<uint32_t>(v), 4); }
  void I16(const int16_t& v) { Put(static_cast<uint16_t>(v), 2); }
  void U8(const uint8_t& v) { out_.push_back(static_cast<char>(v)); }
  void I8(const int8_t& v) { out_.push_back(static_cast<char>(v)); }
  void F64(const double& v) {
    uint64_t bits = 0;
    std::memcpy(&bits, &v, 8);
    Put(bits, 8);
  }
  void Text(const std::string& s) {
    const std::u16string wide = codepage::Utf8ToUtf16(s);
    I32(static_cast<int32_t>(wide.size() * 2));
    for (char16_t c : wide) Put(c, 2);
  }
  void Reading56(const _BP_RECORD& r) {
    uint8_t block[kBpRecordWireSize];
    EncodeBpRecord56(r, block);
    out_.append(reinterpret_cast<const char*>(block), kBpRecordWireSize);
  }
  template <class T, class Fn>
  void List(std::vector<T>& items, size_t /*minSize*/, Fn fn) {
    I32(static_cast<int32_t>(items.size()));
    for (T& item : items) fn(*this, item);
  }
  bool ok() const { return true; }

 private:
  void Put(uint64_t v, int bytes) {
    char b[8];
    for (int i = 0; i < bytes; ++i) b[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    out_.append(b, size_t(bytes));
  }
  std::string& out_;
};

class Reader {
 public:
  explicit Reader(std::string_view in) : in_(in) {}
  void I32(int32_t& v) { v = static_cast<int32_t>(Get(4)); }
  void I16(int16_t& v) { v = static_cast<int16_t>(Get(2)); }
  void U8(uint8_t& v) { v = static_cast<uint8_t>(Get(1)); }
  void I8(int8_t& v) { v = static_cast<int8_t>(Get(1)); }
  void F64(double& v) {
    const uint64_t bits = Get(8);
    std::memcpy(&v, &bits, 8);
  }
  void Text(std::string& s) {
    int32_t bytes = 0;
    I32(bytes);
    s.clear();
    if (!ok_) return;
    if (bytes < 0 || bytes % 2 != 0 || size_t(bytes) > Left())
      return Fail("impossible text length " + std::to_string(bytes));
    std::u16string wide(size_t(bytes) / 2, u'\0');
    for (char16_t& c : wide) c = static_cast<char16_t>(Get(2));
    s = codepage::Utf16ToUtf8(wide);
  }
  void Reading56(_BP_RECORD& r) {
    if (Left() < kBpRecordWireSize) return Fail("file ends inside a reading block");
    r = DecodeBpRecord56(reinterpret_cast<const uint8_t*>(in_.data() + at_));
    at_ += kBpRecordWireSize;
  }
  template <class T, class Fn>
  void List(std::vector<T>& items, size_t minSize, Fn fn) {
    int32_t count = 0;
    I32(count);
    items.clear();
    if (!ok_) return;
    // A count the remaining bytes cannot hold is refused before anything is allocated.
    if (count < 0 || size_t(count) > Left() / minSize)
      return Fail("impossible count " + std::to_string(count));
    items.resize(size_t(count));
    for (T& item : items) {
      fn(*this, item);
      if (!ok_) return;
    }
  }
  bool ok() const { return ok_; }
  size_t Left() const { return in_.size() - at_; }
  size_t Offset() const { return at_; }
  const std::string& error() const { return error_; }
  void Fail(std::string why) {
    if (ok_) error_ = std::move(why) + " at byte " + std::to_string(at_);
    ok_ = false;
    at_ = in_.size();
  }

 private:
  uint64_t Get(int bytes) {
    if (!ok_) return 0;
    if (Left() < size_t(bytes)) {
      Fail("file ends early");
      return 0;
    }
    uint64_t v = 0;
    for (int i = 0; i < bytes; ++i)
      v |= uint64_t(static_cast<uint8_t>(in_[at_ + size_t(i)])) << (8 * i);
    at_ += size_t(bytes);
    return v;
  }
  std::string_view in_;
  size_t at_ = 0;
  bool ok_ = true;
  std::string error_;
};

// Calls fn with the record of `data` that the file holds.
template <class Data, class Fn>
void WithRecord(ReportFileId id, Data& d, Fn fn) {
  switch (ReportFileOf(id).record) {
    case ReportRecordId::None:
    case ReportRecordId::Main:
      return fn(d.main);
    case ReportRecordId::Patient:
      return fn(d.patient);
    case ReportRecordId::Statistics:
      return fn(d.statistics);
    case ReportRecordId::Summary:
      return fn(d.summary);
    case ReportRecordId::Readings:
      return fn(d.readingsPage);
    case ReportRecordId::Histogram:
      return fn(d.histogram);
    case ReportRecordId::Pie:
      return fn(d.pie);
    case ReportRecordId::Correlation:
      return fn(d.correlation);
    case ReportRecordId::Hourly:
      return fn(d.hourly);
    case ReportRecordId::ThreeHistogram:
      return fn(d.threeHistogram);
    case ReportRecordId::SpO2:
      return fn(d.spo2);
  }
}

// Replaces the file through a temporary file and a rename, so the report program never reads
// half a file and a failed write leaves none. Unlike case files these are rewritten for every
// report, so they are not synced to the disk: a dozen syncs would cost more than the report.
bool ReplaceFile(const std::string& path, const std::string& bytes, std::string& why) {
  const std::string temp = path + ".tmp" + std::to_string(::getpid());
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    why = std::strerror(errno);
    return false;
  }
  int err = 0;
  for (size_t done = 0; done < bytes.size() && err == 0;) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n > 0)
      done += size_t(n);
    else if (n == 0 || errno != EINTR)
      err = n == 0 ? EIO : errno;
  }
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err == 0 && ::rename(temp.c_str(), path.c_str()) != 0) err = errno;
  if (err != 0) {
    why = std::strerror(err);
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace

const char* ReportFileName(ReportFileId id) {
  // The names are literals, so the view ends at their terminator.
  return ReportFileOf(id).name.data();
}

std::vector<ReportFileId> ReportFilesFor(const std::array<int32_t, kReportHeadPageCount>& pages) {
  std::array<bool, kReportFileCount> wanted{};
  wanted[size_t(ReportFileId::Main)] = true;
  for (const ReportPageRow& row : ReportPages())
    if (row.hasFile && pages[size_t(PageIndex(row.id))] != 0) wanted[size_t(row.file)] = true;
  std::vector<ReportFileId> files;
  for (const ReportFileRow& f : ReportFiles())
    if (wanted[size_t(f.id)]) files.push_back(f.id);
  return files;
}

std::string EncodeReportFile(ReportFileId id, const ReportData& data) {
  std::string out;
  // The long lists decide the size; reserving for them saves most reallocations.
  out.reserve(4096 + 8 * (data.spo2.samples.size() + data.spo2.spo2Events.size()) +
              64 * data.main.readings.size());
  Writer w(out);
  // The writer only reads through the references the shared field walk hands it.
  WithRecord(id, const_cast<ReportData&>(data), [&](auto& rec) { reportfields::Fields(w, rec); });
  return out;
}

bool DecodeReportFile(ReportFileId id, std::string_view bytes, ReportData& out,
                      std::string* error) {
  Reader r(bytes);
  WithRecord(id, out, [&](auto& rec) { reportfields::Fields(r, rec); });
  if (r.ok() && r.Left() != 0) r.Fail(std::to_string(r.Left()) + " bytes left over");
  if (!r.ok() && error) *error = r.error();
  return r.ok();
}

ReportFilesResult WriteReportFiles(const std::string& folder, const ReportData& data) {
  ReportFilesResult result;
  if (!fsutil::CreateFolders(folder)) {
    result.failedPath = folder;
    result.detail = "the folder cannot be created";
    return result;
  }
  const std::vector<ReportFileId> files = ReportFilesFor(data.main.pages);
  for (ReportFileId id : files) {
    const std::string path = JoinPath(folder, ReportFileName(id));
    std::string why;
    if (!ReplaceFile(path, EncodeReportFile(id, data), why)) {
      result.failedPath = path;
      result.detail = why;
      return result;
    }
  }
  for (const ReportFileRow& f : ReportFiles()) {
    bool selected = false;
    for (ReportFileId id : files) selected = selected || f.id == id;
    if (!selected) ::unlink(JoinPath(folder, f.name).c_str());
  }
  result.ok = true;
  return result;
}

ReportFilesResult ReadReportFiles(const std::string& folder, ReportData& out) {
  ReportFilesResult result;
  auto readOne = [&](ReportFileId id) {
    const std::string path = JoinPath(folder, ReportFileName(id));
    std::string bytes, why;
    if (!fsutil::ReadFile(path, bytes, &why, size_t(256) << 20) ||
        !DecodeReportFile(id, bytes, out, &why)) {
      result.failedPath = path;
      result.detail = why;
      return false;
    }
    return true;
  };
  if (!readOne(ReportFileId::Main)) return result;
  out.head.pages = out.main.pages;
  out.head.spo2Variant = out.main.spo2Variant;
  out.head.aasi = out.main.aasi;
  out.head.smoothIndex = out.main.smoothIndex;
  out.head.morningSurge = out.main.morningSurge;
  out.head.title = out.main.title;
  out.head.recordingLength = out.main.recordingLength;
  for (ReportFileId id : ReportFilesFor(out.main.pages))
    if (id != ReportFileId::Main && !readOne(id)) return result;
  result.ok = true;
  return result;
}

}  // namespace vesk
