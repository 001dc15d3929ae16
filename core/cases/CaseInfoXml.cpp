#include "cases/CaseInfoXml.h"

#include <tinyxml2.h>

#include <cstring>
#include <limits>

#include "platform/CodePage.h"
#include "platform/FileUtil.h"

namespace vesk {

namespace {

constexpr size_t kMaxBytes = size_t(1) << 20;

std::string_view Trim(std::string_view s) {
  while (!s.empty() &&
         (s.front() == ' ' || s.front() == '\t' || s.front() == '\r' || s.front() == '\n'))
    s.remove_prefix(1);
  while (!s.empty() &&
         (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
    s.remove_suffix(1);
  return s;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// The other program may write UTF-8 and say so; only then are the texts taken as they are.
// Everything else is read in the narrow code page, as the hand-over has always been written.
bool DeclaresUtf8(std::string_view bytes) {
  if (bytes.size() >= 3 && std::memcmp(bytes.data(), "\xEF\xBB\xBF", 3) == 0) return true;
  if (bytes.substr(0, 5) != "<?xml") return false;
  const size_t end = bytes.find("?>");
  const std::string_view decl = bytes.substr(0, end);
  const size_t at = decl.find("encoding");
  if (at == std::string_view::npos) return false;
  size_t q = decl.find_first_of("\"'", at);
  if (q == std::string_view::npos) return false;
  const size_t close = decl.find(decl[q], q + 1);
  if (close == std::string_view::npos) return false;
  const std::string_view name = decl.substr(q + 1, close - q - 1);
  return EqualsNoCase(name, "utf-8") || EqualsNoCase(name, "utf8");
}

enum class Kind { Text, Int, Birthday };
struct Field {
  const char* element;
  Kind kind;
  std::string _PATIENT_INFO::*text;
  int32_t _PATIENT_INFO::*number;
};

const Field kFields[] = {
    {"CaseID", Kind::Text, &_PATIENT_INFO::caseId, nullptr},
    {"Name", Kind::Text, &_PATIENT_INFO::name, nullptr},
    {"Sex", Kind::Int, nullptr, &_PATIENT_INFO::sex},
    {"Age", Kind::Int, nullptr, &_PATIENT_INFO::age},
    {"Tel", Kind::Text, &_PATIENT_INFO::tel, nullptr},
    {"Height", Kind::Int, nullptr, &_PATIENT_INFO::height},
    {"Weight", Kind::Int, nullptr, &_PATIENT_INFO::weight},
    {"InHosID", Kind::Text, &_PATIENT_INFO::inHosId, nullptr},
    {"DoorID", Kind::Text, &_PATIENT_INFO::doorId, nullptr},
    {"Office", Kind::Text, &_PATIENT_INFO::office, nullptr},
    {"BedID", Kind::Text, &_PATIENT_INFO::bedId, nullptr},
    {"Nation", Kind::Text, &_PATIENT_INFO::nation, nullptr},
    {"Birthday", Kind::Birthday, nullptr, nullptr},
    {"Email", Kind::Text, &_PATIENT_INFO::email, nullptr},
};

}  // namespace

int32_t LeadingInt(std::string_view text) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
    if (value > int64_t(std::numeric_limits<int32_t>::max()) + 1) {
      value = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    }
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max()) value = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(value);
}

OleDateTime ParseCaseInfoBirthday(std::string_view text) {
  text = Trim(text);
  OleDateTime invalid;
  invalid.status = OleDateTime::Invalid;
  if (text.size() < 10) return invalid;
  auto digits = [](std::string_view s, int& out) {
    out = 0;
    for (char c : s) {
      if (c < '0' || c > '9') return false;
      out = out * 10 + (c - '0');
    }
    return true;
  };
  int year, month, day;
  if (!digits(text.substr(0, 4), year) || !digits(text.substr(5, 2), month) ||
      !digits(text.substr(text.size() - 2), day))
    return invalid;
  return OleDateTime::FromParts(year, month, day, 0, 0, 0);
}

CaseInfoXmlResult ApplyCaseInfoXmlText(std::string_view bytes, _PATIENT_INFO& patient) {
  CaseInfoXmlResult result;
  tinyxml2::XMLDocument doc(true, tinyxml2::PRESERVE_WHITESPACE);
  if (doc.Parse(bytes.data(), bytes.size()) != tinyxml2::XML_SUCCESS) {
    result.error = std::string("not well-formed XML: ") + doc.ErrorStr();
    return result;
  }
  const tinyxml2::XMLElement* root = doc.RootElement();
  const tinyxml2::XMLElement* holder = root ? root->FirstChildElement() : nullptr;
  result.loaded = true;
  if (!holder) return result;

  const bool utf8 = DeclaresUtf8(bytes);
  // Work on a copy so that the record changes all at once.
  _PATIENT_INFO updated = patient;
  for (const tinyxml2::XMLElement* e = holder->FirstChildElement(); e;
       e = e->NextSiblingElement()) {
    const char* name = e->Name();
    const char* raw = e->GetText();
    const std::string_view value = raw ? raw : "";
    for (const Field& f : kFields) {
      if (std::strcmp(name, f.element) != 0) continue;
      switch (f.kind) {
        case Kind::Text:
          updated.*f.text =
              utf8 ? (codepage::IsValidUtf8(value) ? std::string(value) : codepage::FromAnsi(value))
                   : codepage::FromAnsi(value);
          break;
        case Kind::Int:
          updated.*f.number = LeadingInt(value);
          break;
        case Kind::Birthday: {
          const OleDateTime birthday = ParseCaseInfoBirthday(value);
          if (!birthday.IsValid()) {
            result.warnings.push_back("Birthday \"" + codepage::FromAnsi(value) +
                                      "\" is not a date (YYYY-MM-DD); kept the previous one");
            continue;
          }
          updated.birthday = birthday;
          break;
        }
      }
      ++result.fieldsSet;
    }
  }
  patient = std::move(updated);
  return result;
}

CaseInfoXmlResult ApplyCaseInfoXml(const std::string& path, _PATIENT_INFO& patient) {
  std::string bytes, error;
  if (!fsutil::ReadFile(path, bytes, &error, kMaxBytes)) {
    CaseInfoXmlResult result;
    result.error = path + ": " + error;
    return result;
  }
  return ApplyCaseInfoXmlText(bytes, patient);
}

}  // namespace vesk
