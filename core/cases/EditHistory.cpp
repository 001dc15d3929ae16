#include "cases/EditHistory.h"

#include <cstdio>

#include "cases/AwpText.h"
#include "cases/Filemanage.h"

namespace vesk {

namespace {

constexpr std::string_view kEol = "\r\n";
constexpr size_t kFields = 7;
// "E0=" and seven fields of which the kind and the reading number hold a digit each.
constexpr size_t kMinEntryLine = 11;

// Texts of an entry are escaped as every case-file text, and commas too, since the fields of
// one line are separated by them.
void AppendField(std::string& out, std::string_view text) {
  const std::string escaped = awp::Escape(text);
  for (char c : escaped) {
    if (c == ',')
      out.append("%2C");
    else
      out.push_back(c);
  }
}

const awp::Section* FindHistory(const awp::Scan& scan) {
  return scan.Find(kHistorySection);
}

bool ParseEntry(std::string_view line, EditEntry& e) {
  std::string_view parts[kFields];
  for (size_t i = 0; i < kFields; ++i) {
    const size_t comma = line.find(',');
    const bool last = i + 1 == kFields;
    if (last != (comma == std::string_view::npos)) return false;
    parts[i] = last ? line : line.substr(0, comma);
    if (!last) line.remove_prefix(comma + 1);
  }
  int64_t kind = 0, reading = 0;
  if (!awp::ParseInt(parts[2], 1, 8, kind)) return false;
  if (!awp::ParseInt(parts[3], INT32_MIN, INT32_MAX, reading)) return false;
  e.kind = static_cast<EditKind>(kind);
  e.reading = static_cast<int32_t>(reading);
  return awp::Unescape(parts[0], e.when) && awp::Unescape(parts[1], e.user) &&
         awp::Unescape(parts[4], e.field) && awp::Unescape(parts[5], e.oldValue) &&
         awp::Unescape(parts[6], e.newValue);
}

CaseFileResult ParseSection(const awp::Section& s, std::vector<EditEntry>& out) {
  const awp::Entry* count = s.Find("Entries");
  if (!count) return CaseFileResult::Missing;
  int64_t n = 0;
  if (!awp::ParseInt(count->value, 0, INT32_MAX, n)) return CaseFileResult::BadValue;
  if (static_cast<uint64_t>(n) * kMinEntryLine > s.end - s.begin) return CaseFileResult::BadCount;
  std::vector<std::string_view> lines(static_cast<size_t>(n));
  std::vector<bool> seen(lines.size(), false);
  for (const awp::Entry& e : s.entries) {
    // Only "E<number>" keys are entries; anything else in the section is left alone.
    int64_t k = 0;
    if (e.key.size() < 2 || (e.key[0] != 'E' && e.key[0] != 'e') || e.key[1] == '-' ||
        !awp::ParseInt(e.key.substr(1), 0, INT32_MAX, k))
      continue;
    if (k >= n) return CaseFileResult::BadCount;
    if (!seen[k]) {
      seen[k] = true;
      lines[k] = e.value;
    }
  }
  for (bool b : seen)
    if (!b) return CaseFileResult::BadCount;
  std::vector<EditEntry> entries(lines.size());
  for (size_t i = 0; i < lines.size(); ++i)
    if (!ParseEntry(lines[i], entries[i])) return CaseFileResult::BadValue;
  out = std::move(entries);
  return CaseFileResult::Ok;
}

std::string Two(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", v);
  return buf;
}

}  // namespace

std::string SerializeHistory(const std::vector<EditEntry>& entries) {
  std::string out;
  out.reserve(64 + entries.size() * 96);
  out.push_back('[');
  out.append(kHistorySection);
  out.push_back(']');
  out.append(kEol);
  out.append("Entries=");
  awp::AppendInt(out, static_cast<int64_t>(entries.size()));
  out.append(kEol);
  for (size_t i = 0; i < entries.size(); ++i) {
    const EditEntry& e = entries[i];
    out.push_back('E');
    awp::AppendInt(out, static_cast<int64_t>(i));
    out.push_back('=');
    AppendField(out, e.when);
    out.push_back(',');
    AppendField(out, e.user);
    out.push_back(',');
    awp::AppendInt(out, static_cast<int64_t>(e.kind));
    out.push_back(',');
    awp::AppendInt(out, e.reading);
    out.push_back(',');
    AppendField(out, e.field);
    out.push_back(',');
    AppendField(out, e.oldValue);
    out.push_back(',');
    AppendField(out, e.newValue);
    out.append(kEol);
  }
  return out;
}

CaseFileResult ParseHistory(std::string_view fileBytes, std::vector<EditEntry>& out) {
  out.clear();
  const awp::Scan scan = awp::ScanProfile(fileBytes);
  const awp::Section* s = FindHistory(scan);
  if (!s) return CaseFileResult::Ok;
  return ParseSection(*s, out);
}

CaseFileResult AppendHistory(std::string& fileBytes, const std::vector<EditEntry>& add) {
  if (add.empty()) return CaseFileResult::Ok;
  const awp::Scan scan = awp::ScanProfile(fileBytes);
  const awp::Section* s = FindHistory(scan);
  std::vector<EditEntry> all;
  if (s) {
    if (CaseFileResult rc = ParseSection(*s, all); rc != CaseFileResult::Ok) return rc;
  }
  all.insert(all.end(), add.begin(), add.end());
  const std::string text = SerializeHistory(all);
  if (s) {
    fileBytes.replace(s->begin, s->end - s->begin, text);
  } else {
    if (!fileBytes.empty() && fileBytes.back() != '\n') fileBytes.append(kEol);
    fileBytes.append(text);
  }
  return CaseFileResult::Ok;
}

std::string_view HistorySectionText(std::string_view fileBytes) {
  const awp::Scan scan = awp::ScanProfile(fileBytes);
  const awp::Section* s = FindHistory(scan);
  if (!s) return {};
  return fileBytes.substr(s->begin, s->end - s->begin);
}

std::string ReadingTimeText(const _BP_RECORD& r) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d", r.year, r.month, r.day, r.hour,
                r.minute);
  return buf;
}

std::string ReadingSummary(const _BP_RECORD& r) {
  char buf[128];
  std::snprintf(buf, sizeof buf, "%d/%d MAP %d PR %d ", r.sys, r.dia, r.map, r.pr);
  return buf + ReadingTimeText(r) + ":" + Two(r.seconds);
}

std::vector<EditEntry> DiffPatient(const _PATIENT_INFO& a, const _PATIENT_INFO& b,
                                   const EditStamp& stamp) {
  std::vector<EditEntry> out;
  auto add = [&](const char* field, const std::string& was, const std::string& now) {
    if (was == now) return;
    out.push_back(EditEntry{stamp.when, stamp.user, EditKind::Patient, -1, field, was, now});
  };
  auto num = [](int32_t v) { return std::to_string(v); };
  auto date = [](const OleDateTime& d) {
    DateParts p;
    if (!d.ToParts(p)) return std::string();
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", p.year, p.month, p.day);
    return std::string(buf);
  };
  add("Name", a.name, b.name);
  add("CaseID", a.caseId, b.caseId);
  add("Address", a.address, b.address);
  add("Tel", a.tel, b.tel);
  add("Nation", a.nation, b.nation);
  add("Sex", num(a.sex), num(b.sex));
  add("Birthday", date(a.birthday), date(b.birthday));
  add("Height", num(a.height), num(b.height));
  add("Weight", num(a.weight), num(b.weight));
  add("Age", num(a.age), num(b.age));
  static const char* const kTexts[5] = {"Text1", "Text2", "Text3", "Text4", "Text5"};
  for (int i = 0; i < 5; ++i) add(kTexts[i], a.extra[i], b.extra[i]);
  add("DoorID", a.doorId, b.doorId);
  add("InHosID", a.inHosId, b.inHosId);
  add("BedID", a.bedId, b.bedId);
  add("Office", a.office, b.office);
  add("Email", a.email, b.email);
  return out;
}

std::vector<EditEntry> EntriesOfReading(const std::vector<EditEntry>& entries, int32_t index) {
  std::vector<EditEntry> out;
  for (const EditEntry& e : entries)
    if (e.reading == index && e.kind != EditKind::Patient) out.push_back(e);
  return out;
}

}  // namespace vesk
