#include "settings/IniFile.h"

#include <stdexcept>

namespace vesk {

namespace {

// "++" marks a line break because a profile value cannot span lines.
std::string EncodeBreaks(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (size_t i = 0; i < value.size(); ++i) {
    char c = value[i];
    if (c == '\r' || c == '\n') {
      out += "++";
      if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

std::string DecodeBreaks(std::string_view value) {
  std::string out;
  out.reserve(value.size() + 8);
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '+' && i + 1 < value.size() && value[i + 1] == '+') {
      out += "\r\n";
      ++i;
    } else {
      out += value[i];
    }
  }
  return out;
}

}  // namespace

CIniFile::CIniFile(std::string path, bool truncate)
    : file_(path.empty() ? throw std::invalid_argument("CIniFile: empty path") : std::move(path)) {
  if (truncate || !file_.Exists()) file_.WriteDocument(profile::ProfileDocument());
}

std::string CIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view def) {
  auto value = file_.Get(section, key);
  return DecodeBreaks(value ? *value : def);
}

int32_t CIniFile::ReadInt(std::string_view section, std::string_view key, int32_t def) {
  return file_.GetInt(section, key, def);
}

int CIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  if (section.empty() || key.empty()) return 0;
  return file_.Set(section, key, EncodeBreaks(value)) ? 1 : 0;
}

int CIniFile::WriteInt(std::string_view section, std::string_view key, int32_t value) {
  return WriteString(section, key, std::to_string(value));
}

int CIniFile::DeleteSection(std::string_view section) {
  if (section.empty()) return 0;
  return file_.RemoveSection(section) ? 1 : 0;
}

int CIniFile::DeleteKey(std::string_view section, std::string_view key) {
  if (section.empty() || key.empty()) return 0;
  return file_.RemoveKey(section, key) ? 1 : 0;
}

std::vector<std::string> CIniFile::SectionNames() {
  return file_.Sections();
}

std::vector<std::string> CIniFile::KeyNames(std::string_view section) {
  return file_.Keys(section);
}

void CIniFile::BeginBatch() {
  file_.BeginBatch();
}

int CIniFile::CommitBatch() {
  return file_.CommitBatch() ? 1 : 0;
}

}  // namespace vesk
