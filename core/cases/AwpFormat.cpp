#include "cases/AwpFormat.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <limits>

#include "cases/AwpText.h"
#include "cases/Filemanage.h"

namespace vesk::awp {

namespace {

constexpr std::string_view kEol = "\r\n";
// Shortest possible reading line ("R0=" and 19 one-digit numbers with their commas): a count
// that needs more bytes than the section has is refused before anything is allocated for it.
constexpr size_t kMinReadingLine = 41;
constexpr size_t kSampleHexChars = 16;

const char* const kPatientTextKeys[5] = {"Text1", "Text2", "Text3", "Text4", "Text5"};
const char kHexUpper[] = "0123456789ABCDEF";

// Hex digit values; 0xFF marks every other byte so that one OR over a line finds any of them.
// A plain array: the series decoding must stay fast in unoptimised builds too.
struct HexTable {
  uint8_t v[256];
  constexpr HexTable() : v{} {
    for (auto& x : v) x = 0xFF;
    for (int c = 0; c < 10; ++c) v['0' + c] = static_cast<uint8_t>(c);
    for (int c = 0; c < 6; ++c) v['A' + c] = v['a' + c] = static_cast<uint8_t>(10 + c);
  }
};
constexpr HexTable kHexTable;

void Key(std::string& out, std::string_view key) {
  out.append(key);
  out.push_back('=');
}
void LineInt(std::string& out, std::string_view key, int64_t v) {
  Key(out, key);
  AppendInt(out, v);
  out.append(kEol);
}
void LineInts(std::string& out, std::string_view key, const int32_t* v, size_t n) {
  Key(out, key);
  AppendIntList(out, v, n);
  out.append(kEol);
}
void LineText(std::string& out, std::string_view key, std::string_view text, bool raw = false) {
  Key(out, key);
  AppendEscaped(out, text, raw);
  out.append(kEol);
}
void Header(std::string& out, std::string_view name) {
  out.push_back('[');
  out.append(name);
  out.push_back(']');
  out.append(kEol);
}

// The used part of a zero-filled narrow field: up to its last non-zero byte.
std::string_view FixedField(const char* p, size_t n) {
  while (n > 0 && p[n - 1] == '\0') --n;
  return {p, n};
}

// ---- The field table ----------------------------------------------------------------------
// The keys of the key=value sections and the numbers of a reading line, in file order, walked
// by the writer and by the reader alike: a field is added, moved or renamed in one place only.
// An archive offers Int, Group (several numbers on one key), Byte, Text, Fixed (a zero-filled
// narrow field), Birthday, and for reading lines Num and Comment.

template <class A>
void DeviceFields(A& a, _FILE_ALL_INFO& f, int32_t version) {
  a.Int("ModelCode", f.modelCode);
  a.Text("ModelName", f.modelName);
  a.Int("DataMode", f.dataMode);
  a.Int("Locked", f.locked);
  a.Int("DeviceByte", f.deviceByte);
  a.Int("Protocol", f.protocol);
  if (version >= 2) {
    for (int i = 0; i < 4; ++i) {
      const char key[] = {'I', 't', 'e', 'm', static_cast<char>('1' + i), '\0'};
      a.Group(key, {&f.version[i].nMain, &f.version[i].nSub});
    }
  }
}

template <class A>
void PatientFields(A& a, _PATIENT_INFO& p) {
  a.Text("Name", p.name);
  a.Text("CaseID", p.caseId);
  a.Text("Address", p.address);
  a.Text("Tel", p.tel);
  a.Text("Nation", p.nation);
  a.Int("Sex", p.sex);
  a.Birthday(p.birthday);  // "Birthday", "BirthdayDays", "BirthdayStatus"
  a.Int("Height", p.height);
  a.Int("Weight", p.weight);
  a.Int("Age", p.age);
  for (int i = 0; i < 5; ++i) a.Text(kPatientTextKeys[i], p.extra[i]);
  a.Text("DoorID", p.doorId);
  a.Text("InHosID", p.inHosId);
  a.Text("BedID", p.bedId);
  a.Text("Office", p.office);
  a.Text("Email", p.email);
}

template <class A>
void PlanFields(A& a, _BP_TRANSPORT_INFO& p) {
  a.Fixed("PatientName", p.patientName, sizeof p.patientName);
  a.Fixed("PatientID", p.patientId, sizeof p.patientId);
  a.Byte("Filler", p.filler);
  a.Group("Clock", {&p.year, &p.month, &p.day, &p.hour, &p.minute, &p.second});
  a.Int("ManualSet", p.manualSet);
  a.Int("StartKey", p.startKey);
  a.Int("MaxPressure", p.maxPressure);
  a.Int("MeasureMode", p.measureMode);
  a.Group("Special",
          {&p.specialStartHour, &p.specialStartMinute, &p.specialEndHour, &p.specialEndMinute});
  a.Int("SpecialInterval", p.specialInterval);
  a.Group("Awake", {&p.awakeHour, &p.awakeMinute, &p.awakeInterval});
  a.Group("Asleep", {&p.asleepHour, &p.asleepMinute, &p.asleepInterval});
  a.Ints("AwakeWarn", p.awakeWarn, 7);
  a.Ints("AsleepWarn", p.asleepWarn, 7);
}

template <class A>
void TailFields(A& a, _FILE_ALL_INFO& f) {
  a.Int("Int1", f.tailInt1);
  a.Int("Int2", f.tailInt2);
  a.Text("Text1", f.tailText1);
  a.Text("Text2", f.tailText2);
  a.Int("Int3", f.tailInt3);
}

// "R<n>=" then these, each followed by a comma, then the escaped comment. Each number is
// refused outside the range of its field's type.
template <class A>
void ReadingFields(A& a, _BP_RECORD& r) {
  a.Num(r.index), a.Num(r.year), a.Num(r.month), a.Num(r.day), a.Num(r.hour);
  a.Num(r.minute), a.Num(r.seconds), a.Num(r.sys), a.Num(r.dia), a.Num(r.map);
  a.Num(r.pr), a.Num(r.spo2), a.Num(r.secondCode), a.Num(r.reserved), a.Num(r.errorCode);
  a.Num(r.mark), a.Num(r.reserved2[0]), a.Num(r.reserved2[1]), a.Num(r.included);
  a.Comment(r.comment);
}

// Writes the lines of a section, or the numbers of a reading line.
class Writer {
 public:
  explicit Writer(std::string& out) : out_(out) {}
  template <typename T>
  void Int(std::string_view key, T v) {
    LineInt(out_, key, v);
  }
  void Ints(std::string_view key, const int32_t* v, size_t n) { LineInts(out_, key, v, n); }
  void Group(std::string_view key, std::initializer_list<int32_t*> fields) {
    int32_t v[8] = {};
    size_t n = 0;
    for (int32_t* p : fields) v[n++] = *p;
    LineInts(out_, key, v, n);
  }
  void Byte(std::string_view key, uint8_t v) { LineInt(out_, key, v); }
  void Text(std::string_view key, const std::string& text) { LineText(out_, key, text); }
  void Fixed(std::string_view key, const char* p, size_t n) {
    LineText(out_, key, FixedField(p, n), true);
  }
  void Birthday(const OleDateTime& birthday) {
    Key(out_, "Birthday");
    out_.append(FormatBirthday(birthday));
    out_.append(kEol);
    Key(out_, "BirthdayDays");
    AppendDoubleBits(out_, birthday.days);
    out_.append(kEol);
    LineInt(out_, "BirthdayStatus", birthday.status);
  }
  template <typename T>
  void Num(T v) {
    AppendInt(out_, static_cast<int64_t>(v));
    out_.push_back(',');
  }
  void Comment(const std::string& text) { AppendEscaped(out_, text); }

 private:
  std::string& out_;
};

// The writer only reads the record; the table takes it by reference for the reader's sake.
template <class T>
T& Walked(const T& record) {
  return const_cast<T&>(record);
}

// Reads the values of one section by key, remembering the first failure.
class Reader {
 public:
  Reader(const Section* s, CaseFileResult& result) : s_(s), result_(result) {}
  std::string_view Raw(std::string_view key) {
    const Entry* e = s_ ? s_->Find(key) : nullptr;
    if (!e) {
      Fail(CaseFileResult::Missing);
      return {};
    }
    return e->value;
  }
  bool Has(std::string_view key) const { return s_ && s_->Find(key); }
  template <typename T>
  void Int(std::string_view key, T& out) {
    int64_t v = 0;
    std::string_view raw = Raw(key);
    if (result_ != CaseFileResult::Ok) return;
    if (!ParseInt(raw, INT32_MIN, INT32_MAX, v)) return Fail(CaseFileResult::BadValue);
    out = static_cast<T>(v);
  }
  void Ints(std::string_view key, int32_t* out, size_t n) {
    std::string_view raw = Raw(key);
    if (result_ != CaseFileResult::Ok) return;
    if (!ParseInt32List(raw, out, n)) Fail(CaseFileResult::BadValue);
  }
  void Group(std::string_view key, std::initializer_list<int32_t*> fields) {
    int32_t v[8] = {};
    Ints(key, v, fields.size());
    if (!ok()) return;
    size_t i = 0;
    for (int32_t* p : fields) *p = v[i++];
  }
  void Byte(std::string_view key, uint8_t& out) {
    int32_t v = 0;
    Int(key, v);
    if (ok() && (v < 0 || v > 255)) Fail(CaseFileResult::BadValue);
    if (ok()) out = static_cast<uint8_t>(v);
  }
  void Text(std::string_view key, std::string& out) {
    std::string_view raw = Raw(key);
    if (result_ != CaseFileResult::Ok) return;
    if (!Unescape(raw, out)) Fail(CaseFileResult::BadValue);
  }
  void Fixed(std::string_view key, char* out, size_t n) {
    std::string text;
    Text(key, text);
    if (result_ != CaseFileResult::Ok) return;
    if (text.size() > n) return Fail(CaseFileResult::BadValue);
    std::memset(out, 0, n);
    std::memcpy(out, text.data(), text.size());
  }
  // The exact stored value when present; files written by hand may carry the marker only.
  void Birthday(OleDateTime& birthday) {
    if (Has("BirthdayDays") && Has("BirthdayStatus")) {
      if (!ParseDoubleBits(Raw("BirthdayDays"), birthday.days)) Fail(CaseFileResult::BadValue);
      Int("BirthdayStatus", birthday.status);
    } else {
      ParseBirthday(Raw("Birthday"), birthday);
    }
  }
  void Fail(CaseFileResult code) {
    if (result_ == CaseFileResult::Ok) result_ = code;
  }
  bool ok() const { return result_ == CaseFileResult::Ok; }

 private:
  const Section* s_;
  CaseFileResult& result_;
};

// Reads the numbers of one reading line in table order, then its comment.
class LineReader {
 public:
  explicit LineReader(std::string_view line) : line_(line) {}
  template <typename T>
  void Num(T& out) {
    if (!ok_) return;
    const size_t comma = line_.find(',');
    int64_t v = 0;
    if (comma == std::string_view::npos ||
        !ParseInt(line_.substr(0, comma), std::numeric_limits<T>::min(),
                  std::numeric_limits<T>::max(), v)) {
      ok_ = false;
      return;
    }
    out = static_cast<T>(v);
    line_.remove_prefix(comma + 1);
  }
  void Comment(std::string& out) {
    if (ok_ && !Unescape(line_, out)) ok_ = false;
  }
  bool ok() const { return ok_; }

 private:
  std::string_view line_;
  bool ok_ = true;
};

void WriteDevice(std::string& out, const _FILE_ALL_INFO& f, int32_t version) {
  Header(out, "DEVICE");
  Writer w(out);
  DeviceFields(w, Walked(f), version);
}

void WritePlan(std::string& out, const _BP_TRANSPORT_INFO& p) {
  Header(out, "PLAN");
  Writer w(out);
  PlanFields(w, Walked(p));
}

void WriteTail(std::string& out, const _FILE_ALL_INFO& f) {
  Header(out, "TAIL");
  Writer w(out);
  TailFields(w, Walked(f));
}

void WriteSamples(std::string& out, const _SPO2_DATA_HEAD& head,
                  const std::vector<_SPO2_SAMPLE>& samples) {
  Header(out, kSamplesSection);
  LineInts(out, "Head", head.v, 8);
  LineInt(out, "Samples", static_cast<int64_t>(samples.size()));
  const size_t lines = (samples.size() + kSamplesPerLine - 1) / kSamplesPerLine;
  out.reserve(out.size() + samples.size() * kSampleHexChars + lines * 12 + 16);
  for (size_t line = 0; line < lines; ++line) {
    out.push_back('S');
    AppendInt(out, static_cast<int64_t>(line));
    out.push_back('=');
    const size_t end = std::min(samples.size(), (line + 1) * kSamplesPerLine);
    const size_t at = out.size();
    out.resize(at + (end - line * kSamplesPerLine) * kSampleHexChars);
    char* p = out.data() + at;
    for (size_t i = line * kSamplesPerLine; i < end; ++i) {
      const _SPO2_SAMPLE& s = samples[i];
      const uint8_t bytes[4] = {s.spo2, s.pr, s.unused[0], s.unused[1]};
      for (uint8_t b : bytes) {
        *p++ = kHexUpper[b >> 4];
        *p++ = kHexUpper[b & 15];
      }
      const uint32_t off = static_cast<uint32_t>(s.offset);
      for (int shift = 28; shift >= 0; shift -= 4) *p++ = kHexUpper[(off >> shift) & 15];
    }
    out.append(kEol);
  }
}

CaseFileResult ReadDevice(const Section* s, int32_t version, _FILE_ALL_INFO& f) {
  CaseFileResult result = CaseFileResult::Ok;
  Reader r(s, result);
  DeviceFields(r, f, version);
  return result;
}

CaseFileResult ReadPatient(const Section* s, _PATIENT_INFO& p) {
  CaseFileResult result = CaseFileResult::Ok;
  Reader r(s, result);
  PatientFields(r, p);
  return result;
}

CaseFileResult ReadPlan(const Section* s, _BP_TRANSPORT_INFO& p) {
  CaseFileResult result = CaseFileResult::Ok;
  Reader r(s, result);
  PlanFields(r, p);
  return result;
}

// "R<n>" / "S<n>": the n, or -1 for any other key.
int64_t NumberedKey(std::string_view key, char letter) {
  if (key.size() < 2 || (key[0] != letter && key[0] != letter + 32)) return -1;
  int64_t n = 0;
  if (!ParseInt(key.substr(1), 0, INT32_MAX, n) || key[1] == '-') return -1;
  return n;
}

// Collects the numbered lines 0..count-1 of a section; the first of duplicates wins as in
// every profile reader. Any other numbered key or a gap is a count error.
CaseFileResult NumberedLines(const Section& s, char letter, size_t count,
                             std::vector<std::string_view>& lines) {
  lines.assign(count, std::string_view{});
  std::vector<bool> seen(count, false);
  for (const Entry& e : s.entries) {
    const int64_t n = NumberedKey(e.key, letter);
    if (n < 0) continue;
    if (static_cast<uint64_t>(n) >= count) return CaseFileResult::BadCount;
    if (!seen[n]) {
      seen[n] = true;
      lines[n] = e.value;
    }
  }
  for (bool b : seen)
    if (!b) return CaseFileResult::BadCount;
  return CaseFileResult::Ok;
}

bool ParseReading(std::string_view line, _BP_RECORD& r) {
  LineReader reader(line);
  ReadingFields(reader, r);
  return reader.ok();
}

CaseFileResult ReadBpData(const Section* s, _FILE_ALL_INFO& f) {
  CaseFileResult result = CaseFileResult::Ok;
  Reader r(s, result);
  r.Ints("Head", f.bpHead.v, 8);
  int32_t count = 0;
  r.Int("Readings", count);
  if (!r.ok()) return result;
  if (count < 0 || static_cast<uint64_t>(count) * kMinReadingLine > s->end - s->begin)
    return CaseFileResult::BadCount;
  std::vector<std::string_view> lines;
  if (CaseFileResult rc = NumberedLines(*s, 'R', static_cast<size_t>(count), lines);
      rc != CaseFileResult::Ok)
    return rc;
  f.readings.assign(lines.size(), _BP_RECORD{});
  for (size_t i = 0; i < lines.size(); ++i)
    if (!ParseReading(lines[i], f.readings[i])) return CaseFileResult::BadValue;
  return CaseFileResult::Ok;
}

CaseFileResult ReadTail(const Section* s, _FILE_ALL_INFO& f) {
  CaseFileResult result = CaseFileResult::Ok;
  Reader r(s, result);
  TailFields(r, f);
  return result;
}

CaseFileResult ReadSamples(const Section* s, _FILE_ALL_INFO& f) {
  CaseFileResult result = CaseFileResult::Ok;
  Reader r(s, result);
  r.Ints("Head", f.spo2Head.v, 8);
  int32_t count = 0;
  r.Int("Samples", count);
  if (!r.ok()) return result;
  if (count < 0 || static_cast<uint64_t>(count) * kSampleHexChars > s->end - s->begin)
    return CaseFileResult::BadCount;
  const size_t n = static_cast<size_t>(count);
  std::vector<std::string_view> lines;
  if (CaseFileResult rc =
          NumberedLines(*s, 'S', (n + kSamplesPerLine - 1) / kSamplesPerLine, lines);
      rc != CaseFileResult::Ok)
    return rc;
  f.samples.resize(n);
  for (size_t line = 0; line < lines.size(); ++line) {
    const size_t first = line * kSamplesPerLine;
    const size_t inLine = std::min(kSamplesPerLine, n - first);
    const std::string_view hex = lines[line];
    if (hex.size() != inLine * kSampleHexChars) return CaseFileResult::BadCount;
    const auto* p = reinterpret_cast<const uint8_t*>(hex.data());
    const uint8_t* t = kHexTable.v;
    _SPO2_SAMPLE* out = f.samples.data() + first;
    uint8_t bad = 0;
    for (size_t i = 0; i < inLine; ++i, p += kSampleHexChars, ++out) {
      uint8_t b[8];
      for (int k = 0; k < 8; ++k) {
        const uint8_t hi = t[p[2 * k]], lo = t[p[2 * k + 1]];
        bad |= hi | lo;
        b[k] = static_cast<uint8_t>(hi << 4 | lo);
      }
      out->spo2 = b[0];
      out->pr = b[1];
      out->unused[0] = b[2];
      out->unused[1] = b[3];
      out->offset = static_cast<int32_t>(uint32_t(b[4]) << 24 | uint32_t(b[5]) << 16 |
                                         uint32_t(b[6]) << 8 | b[7]);
    }
    if (bad & 0xF0) return CaseFileResult::BadValue;
  }
  return CaseFileResult::Ok;
}

CaseFileResult ReadVersion(const Scan& scan, _SUB_VERSION& version) {
  const Section* head = scan.Find("CASE FILE");
  const Entry* format = head ? head->Find("Format") : nullptr;
  if (!format || format->value != kFormatName) return CaseFileResult::NotCaseFile;
  const Entry* main = head->Find("Version");
  const Entry* sub = head->Find("SubVersion");
  int32_t m = 0, s = 0;
  if (!main || !sub) return CaseFileResult::Missing;
  if (!ParseInt32(main->value, m) || !ParseInt32(sub->value, s)) return CaseFileResult::BadValue;
  if (m != 1 && m != 2) return CaseFileResult::BadVersion;
  version = _SUB_VERSION{m, s};
  return CaseFileResult::Ok;
}

}  // namespace

std::string FormatBirthday(const OleDateTime& birthday) {
  DateParts d;
  if (!birthday.ToParts(d)) return std::string(kNoBirthday);
  char buf[40];
  std::snprintf(buf, sizeof buf, "%d-%d-%d", d.year, d.month, d.day);
  return buf;
}

bool ParseBirthday(std::string_view text, OleDateTime& out) {
  out = OleDateTime{};
  int32_t parts[3] = {};
  for (int i = 0; i < 3; ++i) {
    const size_t dash = text.find('-');
    const bool last = i == 2;
    if (last != (dash == std::string_view::npos)) return false;
    std::string_view field = last ? text : text.substr(0, dash);
    int64_t v = 0;
    if (field.empty() || field[0] == '-' || !ParseInt(field, 0, 99999, v)) return false;
    parts[i] = static_cast<int32_t>(v);
    if (!last) text.remove_prefix(dash + 1);
  }
  out = OleDateTime::FromParts(parts[0], parts[1], parts[2]);
  if (!out.IsValid()) out = OleDateTime{};
  return out.IsValid();
}

CaseFileResult ParseVersion(std::string_view bytes, _SUB_VERSION& version) {
  if (bytes.size() > kMaxFileBytes) return CaseFileResult::TooLarge;
  if (std::memchr(bytes.data(), '\0', bytes.size())) return CaseFileResult::NotCaseFile;
  const Scan scan = ScanProfile(bytes, "DEVICE");
  return ReadVersion(scan, version);
}

CaseFileResult Parse(std::string_view bytes, bool withSamples, int32_t expectVersion,
                     _FILE_ALL_INFO& out, int32_t* versionOut) {
  if (bytes.size() > kMaxFileBytes) return CaseFileResult::TooLarge;
  if (std::memchr(bytes.data(), '\0', bytes.size())) return CaseFileResult::NotCaseFile;
  const Scan scan = ScanProfile(bytes, withSamples ? std::string_view{} : kSamplesSection);
  _SUB_VERSION v;
  if (CaseFileResult rc = ReadVersion(scan, v); rc != CaseFileResult::Ok) return rc;
  const int32_t version = v.nMain;
  if (expectVersion != 0 && expectVersion != version) return CaseFileResult::BadVersion;
  if (versionOut) *versionOut = version;

  out = _FILE_ALL_INFO{};
  const Section* device = scan.Find("DEVICE");
  const Section* patient = scan.Find("PATIENT DATA");
  const Section* plan = scan.Find("PLAN");
  const Section* bp = scan.Find("BP DATA");
  if (!device || !patient || !plan || !bp) return CaseFileResult::Missing;
  if (CaseFileResult rc = ReadDevice(device, version, out); rc != CaseFileResult::Ok) return rc;
  if (CaseFileResult rc = ReadPatient(patient, out.patient); rc != CaseFileResult::Ok) return rc;
  if (CaseFileResult rc = ReadPlan(plan, out.plan); rc != CaseFileResult::Ok) return rc;
  if (CaseFileResult rc = ReadBpData(bp, out); rc != CaseFileResult::Ok) return rc;
  if (version >= 2) {
    // The tail sits between the readings and the series: its presence shows that the readings
    // arrived whole even when the series is not read.
    const Section* tail = scan.Find("TAIL");
    if (!tail) return CaseFileResult::Missing;
    if (CaseFileResult rc = ReadTail(tail, out); rc != CaseFileResult::Ok) return rc;
    if (!withSamples) return scan.stopped ? CaseFileResult::Ok : CaseFileResult::Missing;
    const Section* samples = scan.Find(kSamplesSection);
    if (!samples) return CaseFileResult::Missing;
    if (CaseFileResult rc = ReadSamples(samples, out); rc != CaseFileResult::Ok) return rc;
  }
  return scan.Find("END") ? CaseFileResult::Ok : CaseFileResult::Missing;
}

std::string SerializePatient(const _PATIENT_INFO& p) {
  std::string out;
  out.reserve(512);
  Header(out, "PATIENT DATA");
  Writer w(out);
  PatientFields(w, Walked(p));
  return out;
}

std::string SerializeBpData(const _BP_DATA_HEAD& head, const std::vector<_BP_RECORD>& readings) {
  std::string out;
  out.reserve(64 + readings.size() * 96);
  Header(out, "BP DATA");
  LineInts(out, "Head", head.v, 8);
  LineInt(out, "Readings", static_cast<int64_t>(readings.size()));
  for (size_t i = 0; i < readings.size(); ++i) {
    const _BP_RECORD& r = readings[i];
    out.push_back('R');
    AppendInt(out, static_cast<int64_t>(i));
    out.push_back('=');
    Writer w(out);
    ReadingFields(w, Walked(r));
    out.append(kEol);
  }
  return out;
}

std::string Serialize(const _FILE_ALL_INFO& f, int32_t version) {
  std::string out;
  out.reserve(2048 + f.readings.size() * 96 + f.samples.size() * kSampleHexChars * 11 / 10);
  out.append("; Case file of one blood-pressure recording. Edit with care: counts must match.");
  out.append(kEol);
  Header(out, "CASE FILE");
  LineText(out, "Format", kFormatName);
  LineInt(out, "Version", version);
  LineInt(out, "SubVersion", kCurrentSubVersion);
  WriteDevice(out, f, version);
  out.append(SerializePatient(f.patient));
  WritePlan(out, f.plan);
  out.append(SerializeBpData(f.bpHead, f.readings));
  if (version >= 2) {
    WriteTail(out, f);
    WriteSamples(out, f.spo2Head, f.samples);
  }
  Header(out, "END");
  return out;
}

CaseFileResult ReplaceSection(std::string& bytes, std::string_view name, std::string_view text) {
  const Scan scan =
      ScanProfile(bytes, name == kSamplesSection ? std::string_view{} : kSamplesSection);
  const Section* s = scan.Find(name);
  if (!s) return CaseFileResult::Missing;
  bytes.replace(s->begin, s->end - s->begin, text);
  return CaseFileResult::Ok;
}

}  // namespace vesk::awp
