#include "cases/AwpFields.h"

#include <cstring>
#include <initializer_list>
#include <limits>

#include "cases/AwpFormat.h"

namespace vesk::awp {

namespace {

const char* const kPatientTextKeys[5] = {"Text1", "Text2", "Text3", "Text4", "Text5"};

void Key(std::string& out, std::string_view key) {
  out.append(key);
  out.push_back('=');
}

// The used part of a zero-filled narrow field: up to its last non-zero byte.
std::string_view FixedField(const char* p, size_t n) {
  while (n > 0 && p[n - 1] == '\0') --n;
  return {p, n};
}

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

template <class Walk>
void WriteSection(std::string& out, std::string_view name, Walk walk) {
  Header(out, name);
  Writer w(out);
  walk(w);
}

// The first failure of the walk, or Ok.
template <class Walk>
CaseFileResult ReadSection(const Section* s, Walk walk) {
  CaseFileResult result = CaseFileResult::Ok;
  Reader r(s, result);
  walk(r);
  return result;
}

}  // namespace

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
void LineText(std::string& out, std::string_view key, std::string_view text, bool raw) {
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

void WriteDevice(std::string& out, const _FILE_ALL_INFO& f, int32_t version) {
  WriteSection(out, "DEVICE", [&](Writer& w) { DeviceFields(w, Walked(f), version); });
}

void WritePatient(std::string& out, const _PATIENT_INFO& p) {
  WriteSection(out, "PATIENT DATA", [&](Writer& w) { PatientFields(w, Walked(p)); });
}

void WritePlan(std::string& out, const _BP_TRANSPORT_INFO& p) {
  WriteSection(out, "PLAN", [&](Writer& w) { PlanFields(w, Walked(p)); });
}

void WriteTail(std::string& out, const _FILE_ALL_INFO& f) {
  WriteSection(out, "TAIL", [&](Writer& w) { TailFields(w, Walked(f)); });
}

void WriteReading(std::string& out, const _BP_RECORD& r) {
  Writer w(out);
  ReadingFields(w, Walked(r));
}

CaseFileResult ReadDevice(const Section* s, int32_t version, _FILE_ALL_INFO& f) {
  return ReadSection(s, [&](Reader& r) { DeviceFields(r, f, version); });
}

CaseFileResult ReadPatient(const Section* s, _PATIENT_INFO& p) {
  return ReadSection(s, [&](Reader& r) { PatientFields(r, p); });
}

CaseFileResult ReadPlan(const Section* s, _BP_TRANSPORT_INFO& p) {
  return ReadSection(s, [&](Reader& r) { PlanFields(r, p); });
}

CaseFileResult ReadTail(const Section* s, _FILE_ALL_INFO& f) {
  return ReadSection(s, [&](Reader& r) { TailFields(r, f); });
}

CaseFileResult ReadCountedHead(const Section* s, std::string_view countKey, int32_t (&head)[8],
                               int32_t& count) {
  return ReadSection(s, [&](Reader& r) {
    r.Ints("Head", head, 8);
    r.Int(countKey, count);
  });
}

bool ParseReading(std::string_view line, _BP_RECORD& r) {
  LineReader reader(line);
  ReadingFields(reader, r);
  return reader.ok();
}

}  // namespace vesk::awp
