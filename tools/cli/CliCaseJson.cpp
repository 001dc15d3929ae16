#include "CliCaseJson.h"

#include <cstdio>
#include <initializer_list>
#include <limits>
#include <set>

#include "platform/CodePage.h"

namespace vesk::cli {

using Json = nlohmann::ordered_json;

namespace {

std::string NarrowField(const char* bytes, size_t size) {
  size_t n = 0;
  while (n < size && bytes[n] != '\0') ++n;
  return codepage::FromAnsi(std::string_view(bytes, n));
}

std::string FormatDate(const OleDateTime& t) {
  DateParts p;
  if (!t.ToParts(p)) return {};
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", p.year, p.month, p.day);
  return buf;
}

template <typename T, size_t N>
Json Array(const T (&values)[N]) {
  Json a = Json::array();
  for (const T& v : values) a.push_back(v);
  return a;
}

}  // namespace

Json CaseToJson(const _FILE_ALL_INFO& f, bool withSamples) {
  Json j;
  Json versions = Json::array();
  for (const _SUB_VERSION& v : f.version) versions.push_back({v.nMain, v.nSub});
  j["header"] = {{"modelCode", f.modelCode}, {"modelName", f.modelName},
                 {"dataMode", f.dataMode},   {"versions", versions},
                 {"locked", f.locked},       {"deviceByte", f.deviceByte},
                 {"protocol", f.protocol}};
  const _PATIENT_INFO& p = f.patient;
  Json birthday = nullptr;
  if (p.birthday.IsValid()) birthday = FormatDate(p.birthday);
  Json extra = Json::array();
  for (const std::string& e : p.extra) extra.push_back(e);
  j["patient"] = {
      {"name", p.name},       {"caseId", p.caseId}, {"address", p.address}, {"tel", p.tel},
      {"nation", p.nation},   {"sex", p.sex},       {"birthday", birthday}, {"height", p.height},
      {"weight", p.weight},   {"age", p.age},       {"extra", extra},       {"doorId", p.doorId},
      {"inHosId", p.inHosId}, {"bedId", p.bedId},   {"office", p.office},   {"email", p.email}};
  const _BP_TRANSPORT_INFO& n = f.plan;
  j["plan"] = {{"patientName", NarrowField(n.patientName, sizeof n.patientName)},
               {"patientId", NarrowField(n.patientId, sizeof n.patientId)},
               {"filler", n.filler},
               {"programmed", {n.year, n.month, n.day, n.hour, n.minute, n.second}},
               {"manualSet", n.manualSet},
               {"startKey", n.startKey},
               {"maxPressure", n.maxPressure},
               {"measureMode", n.measureMode},
               {"specialStart", {n.specialStartHour, n.specialStartMinute}},
               {"specialEnd", {n.specialEndHour, n.specialEndMinute}},
               {"specialInterval", n.specialInterval},
               {"awakeStart", {n.awakeHour, n.awakeMinute}},
               {"awakeInterval", n.awakeInterval},
               {"asleepStart", {n.asleepHour, n.asleepMinute}},
               {"asleepInterval", n.asleepInterval},
               {"awakeWarn", Array(n.awakeWarn)},
               {"asleepWarn", Array(n.asleepWarn)}};
  j["bpHead"] = Array(f.bpHead.v);
  Json readings = Json::array();
  for (const _BP_RECORD& r : f.readings) {
    readings.push_back({{"index", r.index},
                        {"year", r.year},
                        {"month", r.month},
                        {"day", r.day},
                        {"hour", r.hour},
                        {"minute", r.minute},
                        {"seconds", r.seconds},
                        {"sys", r.sys},
                        {"dia", r.dia},
                        {"map", r.map},
                        {"pr", r.pr},
                        {"spo2", r.spo2},
                        {"secondCode", r.secondCode},
                        {"reserved", r.reserved},
                        {"errorCode", r.errorCode},
                        {"mark", r.mark},
                        {"reserved2", Array(r.reserved2)},
                        {"included", r.included},
                        {"comment", r.comment},
                        {"valid", IsValidReading(r)}});
  }
  j["readings"] = std::move(readings);
  j["spo2Head"] = Array(f.spo2Head.v);
  Json spo2 = {{"count", f.samples.size()}};
  if (withSamples) {
    Json samples = Json::array();
    for (const _SPO2_SAMPLE& s : f.samples) {
      if (s.unused[0] || s.unused[1])
        samples.push_back({s.spo2, s.pr, s.offset, s.unused[0], s.unused[1]});
      else
        samples.push_back({s.spo2, s.pr, s.offset});
    }
    spo2["samples"] = std::move(samples);
  }
  j["spo2"] = std::move(spo2);
  j["tail"] = {{"int1", f.tailInt1},
               {"int2", f.tailInt2},
               {"text1", f.tailText1},
               {"text2", f.tailText2},
               {"int3", f.tailInt3}};
  return j;
}

namespace {

// Collects every problem with the path of the field, so that one run names them all.
class Checker {
 public:
  std::vector<std::string> errors;

  void Error(const std::string& path, const std::string& what) {
    if (errors.size() < 50)
      errors.push_back(path + ": " + what);
    else if (errors.size() == 50)
      errors.push_back("... more problems not shown");
  }

  const Json* Object(const Json& parent, const char* key, const std::string& path, bool required) {
    auto it = parent.find(key);
    if (it == parent.end()) {
      if (required) Error(path, "missing");
      return nullptr;
    }
    if (!it->is_object()) {
      Error(path, "must be an object");
      return nullptr;
    }
    return &*it;
  }

  void Keys(const Json& obj, const std::string& path, std::initializer_list<const char*> known,
            std::initializer_list<const char*> readOnly = {}) {
    std::set<std::string> names;
    for (const char* k : known) names.insert(k);
    for (const char* k : readOnly) names.insert(k);
    for (auto it = obj.begin(); it != obj.end(); ++it)
      if (!names.count(it.key())) Error(Join(path, it.key()), "unknown field");
  }

  static std::string Join(const std::string& path, const std::string& key) {
    return path.empty() ? key : path + "." + key;
  }

  // An integer that fits T; stays untouched when absent.
  template <typename T>
  bool Int(const Json& obj, const char* key, T& out, const std::string& path, bool required,
           int64_t lo = std::numeric_limits<T>::min(), int64_t hi = std::numeric_limits<T>::max()) {
    auto it = obj.find(key);
    const std::string at = Join(path, key);
    if (it == obj.end()) {
      if (required) Error(at, "missing");
      return false;
    }
    return Value(*it, out, at, lo, hi);
  }

  template <typename T>
  bool Value(const Json& v, T& out, const std::string& at,
             int64_t lo = std::numeric_limits<T>::min(),
             int64_t hi = std::numeric_limits<T>::max()) {
    if (!v.is_number_integer()) {
      Error(at, "must be a whole number");
      return false;
    }
    int64_t x = 0;
    if (v.is_number_unsigned()) {
      const uint64_t u = v.get<uint64_t>();
      if (u > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
        Error(at, "out of range");
        return false;
      }
      x = static_cast<int64_t>(u);
    } else {
      x = v.get<int64_t>();
    }
    if (x < lo || x > hi) {
      Error(at,
            std::to_string(x) + " is outside " + std::to_string(lo) + ".." + std::to_string(hi));
      return false;
    }
    out = static_cast<T>(x);
    return true;
  }

  bool Text(const Json& obj, const char* key, std::string& out, const std::string& path,
            bool required = false) {
    auto it = obj.find(key);
    const std::string at = Join(path, key);
    if (it == obj.end()) {
      if (required) Error(at, "missing");
      return false;
    }
    if (!it->is_string()) {
      Error(at, "must be a text");
      return false;
    }
    out = it->get<std::string>();
    return true;
  }

  template <typename T, size_t N>
  void IntArray(const Json& obj, const char* key, T (&out)[N], const std::string& path) {
    auto it = obj.find(key);
    const std::string at = Join(path, key);
    if (it == obj.end()) return;
    if (!it->is_array() || it->size() != N) {
      Error(at, "must be a list of " + std::to_string(N) + " whole numbers");
      return;
    }
    for (size_t i = 0; i < N; ++i) Value((*it)[i], out[i], at + "[" + std::to_string(i) + "]");
  }

  void Narrow(const Json& obj, const char* key, char* out, size_t size, const std::string& path) {
    std::string text;
    if (!Text(obj, key, text, path)) return;
    bool lossy = false;
    const std::string narrow = codepage::ToAnsi(text, &lossy);
    if (lossy) {
      Error(Join(path, key),
            "has characters the " + codepage::AnsiCodePage() + " code page cannot hold");
      return;
    }
    if (narrow.size() > size - 1) {
      Error(Join(path, key), "takes " + std::to_string(narrow.size()) + " bytes; at most " +
                                 std::to_string(size - 1) + " fit");
      return;
    }
    std::fill(out, out + size, '\0');
    std::copy(narrow.begin(), narrow.end(), out);
  }
};

void ReadHeader(Checker& c, const Json& j, _FILE_ALL_INFO& f) {
  const Json* h = c.Object(j, "header", "header", true);
  if (!h) return;
  c.Keys(*h, "header",
         {"modelCode", "modelName", "dataMode", "versions", "locked", "deviceByte", "protocol"});
  c.Int(*h, "modelCode", f.modelCode, "header", true, kTaloColor, kPexaC);
  f.modelName = ModelName(f.modelCode);
  c.Text(*h, "modelName", f.modelName, "header");
  f.dataMode = 1;
  c.Int(*h, "dataMode", f.dataMode, "header", false, 0, 7);
  c.Int(*h, "locked", f.locked, "header", false);
  c.Int(*h, "deviceByte", f.deviceByte, "header", false);
  c.Int(*h, "protocol", f.protocol, "header", false);
  auto v = h->find("versions");
  if (v != h->end()) {
    if (!v->is_array() || v->size() != 4) {
      c.Error("header.versions", "must be a list of 4 pairs [main, sub]");
    } else {
      for (size_t i = 0; i < 4; ++i) {
        const std::string at = "header.versions[" + std::to_string(i) + "]";
        const Json& pair = (*v)[i];
        if (!pair.is_array() || pair.size() != 2) {
          c.Error(at, "must be a pair [main, sub]");
          continue;
        }
        c.Value(pair[0], f.version[i].nMain, at + "[0]");
        c.Value(pair[1], f.version[i].nSub, at + "[1]");
      }
    }
  }
}

void ReadPatient(Checker& c, const Json& j, _FILE_ALL_INFO& f) {
  const Json* p = c.Object(j, "patient", "patient", false);
  if (!p) return;
  const std::string at = "patient";
  c.Keys(*p, at,
         {"name", "caseId", "address", "tel", "nation", "sex", "birthday", "height", "weight",
          "age", "extra", "doorId", "inHosId", "bedId", "office", "email"});
  _PATIENT_INFO& x = f.patient;
  c.Text(*p, "name", x.name, at);
  c.Text(*p, "caseId", x.caseId, at);
  c.Text(*p, "address", x.address, at);
  c.Text(*p, "tel", x.tel, at);
  c.Text(*p, "nation", x.nation, at);
  c.Int(*p, "sex", x.sex, at, false, 0, 1);
  c.Int(*p, "height", x.height, at, false);
  c.Int(*p, "weight", x.weight, at, false);
  c.Int(*p, "age", x.age, at, false);
  c.Text(*p, "doorId", x.doorId, at);
  c.Text(*p, "inHosId", x.inHosId, at);
  c.Text(*p, "bedId", x.bedId, at);
  c.Text(*p, "office", x.office, at);
  c.Text(*p, "email", x.email, at);
  auto b = p->find("birthday");
  if (b != p->end() && !b->is_null()) {
    int y = 0, m = 0, d = 0;
    char tail = 0;
    if (!b->is_string() ||
        std::sscanf(b->get<std::string>().c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail) != 3 ||
        !IsValidDate(y, m, d)) {
      c.Error("patient.birthday", "must be a date \"YYYY-MM-DD\" or null");
    } else {
      x.birthday = OleDateTime::FromParts(y, m, d);
    }
  }
  auto e = p->find("extra");
  if (e != p->end()) {
    if (!e->is_array() || e->size() > 5) {
      c.Error("patient.extra", "must be a list of at most 5 texts");
    } else {
      for (size_t i = 0; i < e->size(); ++i) {
        if ((*e)[i].is_string())
          x.extra[i] = (*e)[i].get<std::string>();
        else
          c.Error("patient.extra[" + std::to_string(i) + "]", "must be a text");
      }
    }
  }
}

void Pair(Checker& c, const Json& obj, const char* key, int32_t& a, int32_t& b) {
  int32_t v[2] = {a, b};
  c.IntArray(obj, key, v, "plan");
  a = v[0];
  b = v[1];
}

void ReadPlan(Checker& c, const Json& j, _FILE_ALL_INFO& f) {
  const Json* n = c.Object(j, "plan", "plan", false);
  if (!n) return;
  const std::string at = "plan";
  c.Keys(
      *n, at,
      {"patientName", "patientId", "filler", "programmed", "manualSet", "startKey", "maxPressure",
       "measureMode", "specialStart", "specialEnd", "specialInterval", "awakeStart",
       "awakeInterval", "asleepStart", "asleepInterval", "awakeWarn", "asleepWarn"});
  _BP_TRANSPORT_INFO& p = f.plan;
  c.Narrow(*n, "patientName", p.patientName, sizeof p.patientName, at);
  c.Narrow(*n, "patientId", p.patientId, sizeof p.patientId, at);
  c.Int(*n, "filler", p.filler, at, false);
  int32_t programmed[6] = {p.year, p.month, p.day, p.hour, p.minute, p.second};
  c.IntArray(*n, "programmed", programmed, at);
  p.year = programmed[0], p.month = programmed[1], p.day = programmed[2];
  p.hour = programmed[3], p.minute = programmed[4], p.second = programmed[5];
  c.Int(*n, "manualSet", p.manualSet, at, false);
  c.Int(*n, "startKey", p.startKey, at, false);
  c.Int(*n, "maxPressure", p.maxPressure, at, false);
  c.Int(*n, "measureMode", p.measureMode, at, false);
  Pair(c, *n, "specialStart", p.specialStartHour, p.specialStartMinute);
  Pair(c, *n, "specialEnd", p.specialEndHour, p.specialEndMinute);
  c.Int(*n, "specialInterval", p.specialInterval, at, false);
  Pair(c, *n, "awakeStart", p.awakeHour, p.awakeMinute);
  c.Int(*n, "awakeInterval", p.awakeInterval, at, false);
  Pair(c, *n, "asleepStart", p.asleepHour, p.asleepMinute);
  c.Int(*n, "asleepInterval", p.asleepInterval, at, false);
  c.IntArray(*n, "awakeWarn", p.awakeWarn, at);
  c.IntArray(*n, "asleepWarn", p.asleepWarn, at);
}

void ReadReadings(Checker& c, const Json& j, _FILE_ALL_INFO& f) {
  auto list = j.find("readings");
  if (list == j.end()) return;
  if (!list->is_array()) {
    c.Error("readings", "must be a list");
    return;
  }
  if (list->size() > 100000) {
    c.Error("readings", "more than 100000 readings");
    return;
  }
  f.readings.reserve(list->size());
  for (size_t i = 0; i < list->size(); ++i) {
    const std::string at = "readings[" + std::to_string(i) + "]";
    const Json& o = (*list)[i];
    if (!o.is_object()) {
      c.Error(at, "must be an object");
      continue;
    }
    c.Keys(
        o, at,
        {"index", "year", "month", "day", "hour", "minute", "seconds", "sys", "dia", "map", "pr",
         "spo2", "secondCode", "reserved", "errorCode", "mark", "reserved2", "included", "comment"},
        {"valid"});
    _BP_RECORD r;
    r.index = static_cast<int32_t>(i);
    c.Int(o, "index", r.index, at, false);
    c.Int(o, "year", r.year, at, true);
    c.Int(o, "month", r.month, at, true);
    c.Int(o, "day", r.day, at, true);
    c.Int(o, "hour", r.hour, at, true);
    c.Int(o, "minute", r.minute, at, true);
    c.Int(o, "seconds", r.seconds, at, false);
    c.Int(o, "sys", r.sys, at, true);
    c.Int(o, "dia", r.dia, at, true);
    // Sources without a mean pressure get the usual estimate, diastolic + pulse pressure / 3.
    if (!c.Int(o, "map", r.map, at, false) && !o.contains("map"))
      r.map = static_cast<int16_t>(r.dia + (int64_t{r.sys} - r.dia + 1) / 3);
    c.Int(o, "pr", r.pr, at, true);
    c.Int(o, "spo2", r.spo2, at, false);
    c.Int(o, "secondCode", r.secondCode, at, false);
    c.Int(o, "reserved", r.reserved, at, false);
    c.Int(o, "errorCode", r.errorCode, at, false);
    c.Int(o, "mark", r.mark, at, false);
    c.IntArray(o, "reserved2", r.reserved2, at);
    c.Int(o, "included", r.included, at, false);
    c.Text(o, "comment", r.comment, at);
    f.readings.push_back(std::move(r));
  }
}

void ReadSpo2(Checker& c, const Json& j, _FILE_ALL_INFO& f) {
  const Json* s = c.Object(j, "spo2", "spo2", false);
  if (!s) return;
  c.Keys(*s, "spo2", {"samples"}, {"count"});
  auto list = s->find("samples");
  if (list == s->end()) return;
  if (!list->is_array()) {
    c.Error("spo2.samples", "must be a list");
    return;
  }
  if (list->size() > 10'000'000) {
    c.Error("spo2.samples", "more than 10000000 samples");
    return;
  }
  f.samples.reserve(list->size());
  for (size_t i = 0; i < list->size(); ++i) {
    const Json& a = (*list)[i];
    const std::string at = "spo2.samples[" + std::to_string(i) + "]";
    if (!a.is_array() || (a.size() != 3 && a.size() != 5)) {
      c.Error(at, "must be [spo2, pulse, offset] or [spo2, pulse, offset, unused, unused]");
      continue;
    }
    _SPO2_SAMPLE x;
    c.Value(a[0], x.spo2, at + "[0]");
    c.Value(a[1], x.pr, at + "[1]");
    c.Value(a[2], x.offset, at + "[2]");
    if (a.size() == 5) {
      c.Value(a[3], x.unused[0], at + "[3]");
      c.Value(a[4], x.unused[1], at + "[4]");
    }
    f.samples.push_back(x);
  }
}

}  // namespace

bool CaseFromJson(const Json& j, _FILE_ALL_INFO& out, std::string* error) {
  Checker c;
  _FILE_ALL_INFO f;
  if (!j.is_object()) {
    c.Error("(top)", "must be an object");
  } else {
    c.Keys(j, "", {"header", "patient", "plan", "bpHead", "readings", "spo2Head", "spo2", "tail"},
           {"fileVersion", "file", "lists", "flags", "load"});
    ReadHeader(c, j, f);
    ReadPatient(c, j, f);
    ReadPlan(c, j, f);
    ReadReadings(c, j, f);
    ReadSpo2(c, j, f);
    f.bpHead.v[0] = static_cast<int32_t>(f.readings.size());
    c.IntArray(j, "bpHead", f.bpHead.v, "");
    if (f.bpHead.v[0] != static_cast<int32_t>(f.readings.size()))
      c.Error("bpHead[0]", "says " + std::to_string(f.bpHead.v[0]) + " readings but " +
                               std::to_string(f.readings.size()) + " are given");
    f.spo2Head.v[0] = static_cast<int32_t>(f.samples.size());
    c.IntArray(j, "spo2Head", f.spo2Head.v, "");
    if (f.spo2Head.v[0] != static_cast<int32_t>(f.samples.size()))
      c.Error("spo2Head[0]", "says " + std::to_string(f.spo2Head.v[0]) + " SpO2 samples but " +
                                 std::to_string(f.samples.size()) +
                                 " are given (show the case with --samples to include them)");
    if (const Json* t = c.Object(j, "tail", "tail", false)) {
      c.Keys(*t, "tail", {"int1", "int2", "text1", "text2", "int3"});
      c.Int(*t, "int1", f.tailInt1, "tail", false);
      c.Int(*t, "int2", f.tailInt2, "tail", false);
      c.Text(*t, "text1", f.tailText1, "tail");
      c.Text(*t, "text2", f.tailText2, "tail");
      c.Int(*t, "int3", f.tailInt3, "tail", false);
    }
  }
  if (!c.errors.empty()) {
    if (error) {
      error->clear();
      for (const std::string& e : c.errors) *error += e + "\n";
    }
    return false;
  }
  out = std::move(f);
  return true;
}

}  // namespace vesk::cli
