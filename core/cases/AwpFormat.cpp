#include "cases/AwpFormat.h"

#include <cstdio>
#include <cstring>

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

// Reads the values of one section by key, remembering the first failure.
class Reader {
 public:
  Reader(const Section* s, int32_t& result) : s_(s), result_(result) {}
  std::string_view Raw(std::string_view key) {
    const Entry* e = s_ ? s_->Find(key) : nullptr;
    if (!e) {
      Fail(kCaseFileMissing);
      return {};
    }
    return e->value;
  }
  bool Has(std::string_view key) const { return s_ && s_->Find(key); }
  template <typename T>
  void Int(std::string_view key, T& out) {
    int64_t v = 0;
    std::string_view raw = Raw(key);
    if (result_ != kCaseFileOk) return;
    if (!ParseInt(raw, INT32_MIN, INT32_MAX, v)) return Fail(kCaseFileBadValue);
    out = static_cast<T>(v);
  }
  void Ints(std::string_view key, int32_t* out, size_t n) {
    std::string_view raw = Raw(key);
    if (result_ != kCaseFileOk) return;
    if (!ParseInt32List(raw, out, n)) Fail(kCaseFileBadValue);
  }
  void Text(std::string_view key, std::string& out) {
    std::string_view raw = Raw(key);
    if (result_ != kCaseFileOk) return;
    if (!Unescape(raw, out)) Fail(kCaseFileBadValue);
  }
  void Fixed(std::string_view key, char* out, size_t n) {
    std::string text;
    Text(key, text);
    if (result_ != kCaseFileOk) return;
    if (text.size() > n) return Fail(kCaseFileBadValue);
    std::memset(out, 0, n);
    std::memcpy(out, text.data(), text.size());
  }
  void Fail(int32_t code) {
    if (result_ == kCaseFileOk) result_ = code;
  }
  bool ok() const { return result_ == kCaseFileOk; }

 private:
  const Section* s_;
  int32_t& result_;
};

void WriteDevice(std::string& out, const _FILE_ALL_INFO& f, int32_t version) {
  Header(out, "DEVICE");
  LineInt(out, "ModelCode", f.modelCode);
  LineText(out, "ModelName", f.modelName);
  LineInt(out, "DataMode", f.dataMode);
  LineInt(out, "Locked", f.locked);
  LineInt(out, "DeviceByte", f.deviceByte);
  LineInt(out, "Protocol", f.protocol);
  if (version >= 2) {
    for (int i = 0; i < 4; ++i) {
      const int32_t pair[2] = {f.version[i].nMain, f.version[i].nSub};
      const char key[] = {'I', 't', 'e', 'm', static_cast<char>('1' + i), '\0'};
      LineInts(out, key, pair, 2);
    }
  }
}

void WritePlan(std::string& out, const _BP_TRANSPORT_INFO& p) {
  Header(out, "PLAN");
  LineText(out, "PatientName", FixedField(p.patientName, sizeof p.patientName), true);
  LineText(out, "PatientID", FixedField(p.patientId, sizeof p.patientId), true);
  LineInt(out, "Filler", p.filler);
  const int32_t clock[6] = {p.year, p.month, p.day, p.hour, p.minute, p.second};
  LineInts(out, "Clock", clock, 6);
  LineInt(out, "ManualSet", p.manualSet);
  LineInt(out, "StartKey", p.startKey);
  LineInt(out, "MaxPressure", p.maxPressure);
  LineInt(out, "MeasureMode", p.measureMode);
  const int32_t special[4] = {p.specialStartHour, p.specialStartMinute, p.specialEndHour,
                              p.specialEndMinute};
  LineInts(out, "Special", special, 4);
  LineInt(out, "SpecialInterval", p.specialInterval);
  const int32_t awake[3] = {p.awakeHour, p.awakeMinute, p.awakeInterval};
  LineInts(out, "Awake", awake, 3);
  const int32_t asleep[3] = {p.asleepHour, p.asleepMinute, p.asleepInterval};
  LineInts(out, "Asleep", asleep, 3);
  LineInts(out, "AwakeWarn", p.awakeWarn, 7);
  LineInts(out, "AsleepWarn", p.asleepWarn, 7);
}

void WriteTail(std::string& out, const _FILE_ALL_INFO& f) {
  Header(out, "TAIL");
  LineInt(out, "Int1", f.tailInt1);
  LineInt(out, "Int2", f.tailInt2);
  LineText(out, "Text1", f.tailText1);
  LineText(out, "Text2", f.tailText2);
  LineInt(out, "Int3", f.tailInt3);
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

int32_t ReadDevice(const Section* s, int32_t version, _FILE_ALL_INFO& f) {
  int32_t result = kCaseFileOk;
  Reader r(s, result);
  r.Int("ModelCode", f.modelCode);
  r.Text("ModelName", f.modelName);
  r.Int("DataMode", f.dataMode);
  r.Int("Locked", f.locked);
  r.Int("DeviceByte", f.deviceByte);
  r.Int("Protocol", f.protocol);
  if (version >= 2) {
    for (int i = 0; i < 4; ++i) {
      const char key[] = {'I', 't', 'e', 'm', static_cast<char>('1' + i), '\0'};
      int32_t pair[2] = {-1, -1};
      r.Ints(key, pair, 2);
      f.version[i] = _SUB_VERSION{pair[0], pair[1]};
    }
  }
  return result;
}

int32_t ReadPatient(const Section* s, _PATIENT_INFO& p) {
  int32_t result = kCaseFileOk;
  Reader r(s, result);
  r.Text("Name", p.name);
  r.Text("CaseID", p.caseId);
  r.Text("Address", p.address);
  r.Text("Tel", p.tel);
  r.Text("Nation", p.nation);
  r.Int("Sex", p.sex);
  // The exact stored value when present; files written by hand may carry the marker only.
  if (r.Has("BirthdayDays") && r.Has("BirthdayStatus")) {
    if (!ParseDoubleBits(r.Raw("BirthdayDays"), p.birthday.days)) r.Fail(kCaseFileBadValue);
    r.Int("BirthdayStatus", p.birthday.status);
  } else {
    ParseBirthday(r.Raw("Birthday"), p.birthday);
  }
  r.Int("Height", p.height);
  r.Int("Weight", p.weight);
  r.Int("Age", p.age);
  for (int i = 0; i < 5; ++i) r.Text(kPatientTextKeys[i], p.extra[i]);
  r.Text("DoorID", p.doorId);
  r.Text("InHosID", p.inHosId);
  r.Text("BedID", p.bedId);
  r.Text("Office", p.office);
  r.Text("Email", p.email);
  return result;
}

int32_t ReadPlan(const Section* s, _BP_TRANSPORT_INFO& p) {
  int32_t result = kCaseFileOk;
  Reader r(s, result);
  r.Fixed("PatientName", p.patientName, sizeof p.patientName);
  r.Fixed("PatientID", p.patientId, sizeof p.patientId);
  int32_t filler = 0;
  r.Int("Filler", filler);
  if (r.ok() && (filler < 0 || filler > 255)) r.Fail(kCaseFileBadValue);
  p.filler = static_cast<uint8_t>(filler);
  int32_t clock[6] = {};
  r.Ints("Clock", clock, 6);
  p.year = clock[0], p.month = clock[1], p.day = clock[2];
  p.hour = clock[3], p.minute = clock[4], p.second = clock[5];
  r.Int("ManualSet", p.manualSet);
  r.Int("StartKey", p.startKey);
  r.Int("MaxPressure", p.maxPressure);
  r.Int("MeasureMode", p.measureMode);
  int32_t special[4] = {-1, -1, -1, -1};
  r.Ints("Special", special, 4);
  p.specialStartHour = special[0], p.specialStartMinute = special[1];
  p.specialEndHour = special[2], p.specialEndMinute = special[3];
  r.Int("SpecialInterval", p.specialInterval);
  int32_t awake[3] = {}, asleep[3] = {};
  r.Ints("Awake", awake, 3);
  r.Ints("Asleep", asleep, 3);
  p.awakeHour = awake[0], p.awakeMinute = awake[1], p.awakeInterval = awake[2];
  p.asleepHour = asleep[0], p.asleepMinute = asleep[1], p.asleepInterval = asleep[2];
  r.Ints("AwakeWarn", p.awakeWarn, 7);
  r.Ints("AsleepWarn", p.asleepWarn, 7);
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
int32_t NumberedLines(const Section& s, char letter, size_t count,
                      std::vector<std::string_view>& lines) {
  lines.assign(count, std::string_view{});
  std::vector<bool> seen(count, false);
  for (const Entry& e : s.entries) {
    const int64_t n = NumberedKey(e.key, letter);
    if (n < 0) continue;
    if (static_cast<uint64_t>(n) >= count) return kCaseFileBadCount;
    if (!seen[n]) {
      seen[n] = true;
      lines[n] = e.value;
    }
  }
  for (bool b : seen)
    if (!b) return kCaseFileBadCount;
  return kCaseFileOk;
}

bool ParseReading(std::string_view line, _BP_RECORD& r) {
  int64_t v[19];
  static const int64_t kLo[19] = {INT32_MIN, INT32_MIN, INT16_MIN, INT16_MIN, INT16_MIN,
                                  INT16_MIN, INT16_MIN, INT32_MIN, INT16_MIN, INT16_MIN,
                                  INT16_MIN, INT16_MIN, INT16_MIN, INT16_MIN, INT16_MIN,
                                  0,         INT32_MIN, INT32_MIN, INT32_MIN};
  static const int64_t kHi[19] = {INT32_MAX, INT32_MAX, INT16_MAX, INT16_MAX, INT16_MAX,
                                  INT16_MAX, INT16_MAX, INT32_MAX, INT16_MAX, INT16_MAX,
                                  INT16_MAX, INT16_MAX, INT16_MAX, INT16_MAX, INT16_MAX,
                                  255,       INT32_MAX, INT32_MAX, INT32_MAX};
  for (int i = 0; i < 19; ++i) {
    const size_t comma = line.find(',');
    if (comma == std::string_view::npos) return false;
    if (!ParseInt(line.substr(0, comma), kLo[i], kHi[i], v[i])) return false;
    line.remove_prefix(comma + 1);
  }
  if (!Unescape(line, r.comment)) return false;
  r.index = static_cast<int32_t>(v[0]);
  r.year = static_cast<int32_t>(v[1]);
  r.month = static_cast<int16_t>(v[2]);
  r.day = static_cast<int16_t>(v[3]);
  r.hour = static_cast<int16_t>(v[4]);
  r.minute = static_cast<int16_t>(v[5]);
  r.seconds = static_cast<int16_t>(v[6]);
  r.sys = static_cast<int32_t>(v[7]);
  r.dia = static_cast<int16_t>(v[8]);
  r.map = static_cast<int16_t>(v[9]);
  r.pr = static_cast<int16_t>(v[10]);
  r.spo2 = static_cast<int16_t>(v[11]);
  r.secondCode = static_cast<int16_t>(v[12]);
  r.reserved = static_cast<int16_t>(v[13]);
  r.errorCode = static_cast<int16_t>(v[14]);
  r.mark = static_cast<uint8_t>(v[15]);
  r.reserved2[0] = static_cast<int32_t>(v[16]);
  r.reserved2[1] = static_cast<int32_t>(v[17]);
  r.included = static_cast<int32_t>(v[18]);
  return true;
}

int32_t ReadBpData(const Section* s, _FILE_ALL_INFO& f) {
  int32_t result = kCaseFileOk;
  Reader r(s, result);
  r.Ints("Head", f.bpHead.v, 8);
  int32_t count = 0;
  r.Int("Readings", count);
  if (!r.ok()) return result;
  if (count < 0 || static_cast<uint64_t>(count) * kMinReadingLine > s->end - s->begin)
    return kCaseFileBadCount;
  std::vector<std::string_view> lines;
  if (int32_t rc = NumberedLines(*s, 'R', static_cast<size_t>(count), lines); rc != kCaseFileOk)
    return rc;
  f.readings.assign(lines.size(), _BP_RECORD{});
  for (size_t i = 0; i < lines.size(); ++i)
    if (!ParseReading(lines[i], f.readings[i])) return kCaseFileBadValue;
  return kCaseFileOk;
}

int32_t ReadTail(const Section* s, _FILE_ALL_INFO& f) {
  int32_t result = kCaseFileOk;
  Reader r(s, result);
  r.Int("Int1", f.tailInt1);
  r.Int("Int2", f.tailInt2);
  r.Text("Text1", f.tailText1);
  r.Text("Text2", f.tailText2);
  r.Int("Int3", f.tailInt3);
  return result;
}

int32_t ReadSamples(const Section* s, _FILE_ALL_INFO& f) {
  int32_t result = kCaseFileOk;
  Reader r(s, result);
  r.Ints("Head", f.spo2Head.v, 8);
  int32_t count = 0;
  r.Int("Samples", count);
  if (!r.ok()) return result;
  if (count < 0 || static_cast<uint64_t>(count) * kSampleHexChars > s->end - s->begin)
    return kCaseFileBadCount;
  const size_t n = static_cast<size_t>(count);
  std::vector<std::string_view> lines;
  if (int32_t rc = NumberedLines(*s, 'S', (n + kSamplesPerLine - 1) / kSamplesPerLine, lines);
      rc != kCaseFileOk)
    return rc;
  f.samples.resize(n);
  for (size_t line = 0; line < lines.size(); ++line) {
    const size_t first = line * kSamplesPerLine;
    const size_t inLine = std::min(kSamplesPerLine, n - first);
    const std::string_view hex = lines[line];
    if (hex.size() != inLine * kSampleHexChars) return kCaseFileBadCount;
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
    if (bad & 0xF0) return kCaseFileBadValue;
  }
  return kCaseFileOk;
}

int32_t ReadVersion(const Scan& scan, _SUB_VERSION& version) {
  const Section* head = scan.Find("CASE FILE");
  const Entry* format = head ? head->Find("Format") : nullptr;
  if (!format || format->value != kFormatName) return kCaseFileNotCaseFile;
  const Entry* main = head->Find("Version");
  const Entry* sub = head->Find("SubVersion");
  int32_t m = 0, s = 0;
  if (!main || !sub) return kCaseFileMissing;
  if (!ParseInt32(main->value, m) || !ParseInt32(sub->value, s)) return kCaseFileBadValue;
  if (m != 1 && m != 2) return kCaseFileBadVersion;
  version = _SUB_VERSION{m, s};
  return kCaseFileOk;
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

int32_t ParseVersion(std::string_view bytes, _SUB_VERSION& version) {
  if (bytes.size() > kMaxFileBytes) return kCaseFileTooLarge;
  if (std::memchr(bytes.data(), '\0', bytes.size())) return kCaseFileNotCaseFile;
  const Scan scan = ScanProfile(bytes, "DEVICE");
  return ReadVersion(scan, version);
}

int32_t Parse(std::string_view bytes, bool withSamples, int32_t expectVersion, _FILE_ALL_INFO& out,
              int32_t* versionOut) {
  if (bytes.size() > kMaxFileBytes) return kCaseFileTooLarge;
  if (std::memchr(bytes.data(), '\0', bytes.size())) return kCaseFileNotCaseFile;
  const Scan scan = ScanProfile(bytes, withSamples ? std::string_view{} : kSamplesSection);
  _SUB_VERSION v;
  if (int32_t rc = ReadVersion(scan, v); rc != kCaseFileOk) return rc;
  const int32_t version = v.nMain;
  if (expectVersion != 0 && expectVersion != version) return kCaseFileBadVersion;
  if (versionOut) *versionOut = version;

  out = _FILE_ALL_INFO{};
  const Section* device = scan.Find("DEVICE");
  const Section* patient = scan.Find("PATIENT DATA");
  const Section* plan = scan.Find("PLAN");
  const Section* bp = scan.Find("BP DATA");
  if (!device || !patient || !plan || !bp) return kCaseFileMissing;
  if (int32_t rc = ReadDevice(device, version, out); rc != kCaseFileOk) return rc;
  if (int32_t rc = ReadPatient(patient, out.patient); rc != kCaseFileOk) return rc;
  if (int32_t rc = ReadPlan(plan, out.plan); rc != kCaseFileOk) return rc;
  if (int32_t rc = ReadBpData(bp, out); rc != kCaseFileOk) return rc;
  if (version >= 2) {
    // The tail sits between the readings and the series: its presence shows that the readings
    // arrived whole even when the series is not read.
    const Section* tail = scan.Find("TAIL");
    if (!tail) return kCaseFileMissing;
    if (int32_t rc = ReadTail(tail, out); rc != kCaseFileOk) return rc;
    if (!withSamples) return scan.stopped ? kCaseFileOk : kCaseFileMissing;
    const Section* samples = scan.Find(kSamplesSection);
    if (!samples) return kCaseFileMissing;
    if (int32_t rc = ReadSamples(samples, out); rc != kCaseFileOk) return rc;
  }
  return scan.Find("END") ? kCaseFileOk : kCaseFileMissing;
}

std::string SerializePatient(const _PATIENT_INFO& p) {
  std::string out;
  out.reserve(512);
  Header(out, "PATIENT DATA");
  LineText(out, "Name", p.name);
  LineText(out, "CaseID", p.caseId);
  LineText(out, "Address", p.address);
  LineText(out, "Tel", p.tel);
  LineText(out, "Nation", p.nation);
  LineInt(out, "Sex", p.sex);
  Key(out, "Birthday");
  out.append(FormatBirthday(p.birthday));
  out.append(kEol);
  Key(out, "BirthdayDays");
  AppendDoubleBits(out, p.birthday.days);
  out.append(kEol);
  LineInt(out, "BirthdayStatus", p.birthday.status);
  LineInt(out, "Height", p.height);
  LineInt(out, "Weight", p.weight);
  LineInt(out, "Age", p.age);
  for (int i = 0; i < 5; ++i) LineText(out, kPatientTextKeys[i], p.extra[i]);
  LineText(out, "DoorID", p.doorId);
  LineText(out, "InHosID", p.inHosId);
  LineText(out, "BedID", p.bedId);
  LineText(out, "Office", p.office);
  LineText(out, "Email", p.email);
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
    const int64_t v[19] = {r.index,  r.year,         r.month,        r.day,      r.hour,
                           r.minute, r.seconds,      r.sys,          r.dia,      r.map,
                           r.pr,     r.spo2,         r.secondCode,   r.reserved, r.errorCode,
                           r.mark,   r.reserved2[0], r.reserved2[1], r.included};
    for (int64_t x : v) {
      AppendInt(out, x);
      out.push_back(',');
    }
    AppendEscaped(out, r.comment);
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

int32_t ReplaceSection(std::string& bytes, std::string_view name, std::string_view text) {
  const Scan scan =
      ScanProfile(bytes, name == kSamplesSection ? std::string_view{} : kSamplesSection);
  const Section* s = scan.Find(name);
  if (!s) return kCaseFileMissing;
  bytes.replace(s->begin, s->end - s->begin, text);
  return kCaseFileOk;
}

}  // namespace vesk::awp
