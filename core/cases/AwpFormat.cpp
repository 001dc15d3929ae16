#include "cases/AwpFormat.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "cases/AwpFields.h"
#include "cases/AwpText.h"

// The layout of the whole file: section order, the counted and numbered lines of the readings
// and the SpO2 series, and the version check. The keys inside the sections are AwpFields'.

namespace vesk::awp {

namespace {

// Shortest possible reading line ("R0=" and 19 one-digit numbers with their commas): a count
// that needs more bytes than the section has is refused before anything is allocated for it.
constexpr size_t kMinReadingLine = 41;
constexpr size_t kSampleHexChars = 16;

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

CaseFileResult ReadBpData(const Section* s, _FILE_ALL_INFO& f) {
  int32_t count = 0;
  if (CaseFileResult rc = ReadCountedHead(s, "Readings", f.bpHead.v, count);
      rc != CaseFileResult::Ok)
    return rc;
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

CaseFileResult ReadSamples(const Section* s, _FILE_ALL_INFO& f) {
  int32_t count = 0;
  if (CaseFileResult rc = ReadCountedHead(s, "Samples", f.spo2Head.v, count);
      rc != CaseFileResult::Ok)
    return rc;
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
  WritePatient(out, p);
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
    WriteReading(out, r);
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
