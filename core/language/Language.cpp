#include "language/Language.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/FileUtil.h"
#include "platform/Profile.h"
#include "platform/ProgramDir.h"

namespace vesk {

namespace {

constexpr const char* kDefaultLanguage = "English";
constexpr const char* kConfigFile = "\\MreConfig.ini";
constexpr const char* kLanguageFolder = "\\Language";
constexpr const char* kPreviousConfig = "Previous Config";
// A language file is a few hundred short texts; anything far beyond that is not one.
constexpr size_t kMaxLanguageFileBytes = size_t(64) << 20;

// Decodes one UTF-8 sequence at s[i]; returns its length (1 for a byte that does not start
// a well-formed sequence, so that broken text still advances).
size_t DecodeUtf8(std::string_view s, size_t i, char32_t& cp) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  size_t len = b0 < 0x80           ? 1
               : (b0 >> 5) == 0x6  ? 2
               : (b0 >> 4) == 0xE  ? 3
               : (b0 >> 3) == 0x1E ? 4
                                   : 0;
  if (len == 0 || i + len > s.size()) {
    cp = b0;
    return 1;
  }
  cp = len == 1 ? b0 : len == 2 ? (b0 & 0x1F) : len == 3 ? (b0 & 0x0F) : (b0 & 0x07);
  for (size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) {
      cp = b0;
      return 1;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  return len;
}

size_t Utf16Units(std::string_view s) {
  size_t units = 0;
  for (size_t i = 0; i < s.size();) {
    char32_t cp;
    i += DecodeUtf8(s, i, cp);
    units += cp >= 0x10000 ? 2 : 1;
  }
  return units;
}

// Cuts to at most maxUnits UTF-16 units, between characters.
std::string CutToUnits(std::string s, size_t maxUnits) {
  size_t units = 0;
  for (size_t i = 0; i < s.size();) {
    char32_t cp;
    size_t len = DecodeUtf8(s, i, cp);
    size_t need = cp >= 0x10000 ? 2 : 1;
    if (units + need > maxUnits) {
      s.resize(i);
      break;
    }
    units += need;
    i += len;
  }
  return s;
}

// Keeps the names that fit into a list buffer of kLanguageNameListLimit units, each name
// followed by its terminator and the list by one more.
std::vector<std::string> FitNameList(std::vector<std::string> names) {
  size_t used = 1;
  size_t kept = 0;
  for (; kept < names.size(); ++kept) {
    size_t need = Utf16Units(names[kept]) + 1;
    if (used + need > kLanguageNameListLimit) break;
    used += need;
  }
  names.resize(kept);
  return names;
}

// Simple case folding for comparing language names: ASCII, Latin-1, Greek and Cyrillic
// capitals, which covers the names languages are known by.
char32_t FoldCase(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 32;
  if (c >= 0x410 && c <= 0x42F) return c + 32;
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  return c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    char32_t ca, cb;
    i += DecodeUtf8(a, i, ca);
    j += DecodeUtf8(b, j, cb);
    if (FoldCase(ca) != FoldCase(cb)) return false;
  }
  return i == a.size() && j == b.size();
}

// Files below folder in a stable order: each folder's entries sorted by name, sub-folders
// searched where they are met. Folders whose names begin with '.' are skipped, and linked
// folders are not followed, so a link loop cannot make the search endless.
void CollectFiles(const std::filesystem::path& folder, std::vector<std::string>& names) {
  std::error_code ec;
  std::vector<std::filesystem::directory_entry> entries;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    entries.push_back(*it);
  std::sort(entries.begin(), entries.end(),
            [](const auto& a, const auto& b) { return a.path().filename() < b.path().filename(); });
  for (const auto& entry : entries) {
    std::string name = entry.path().filename().string();
    if (entry.is_directory(ec) && !entry.is_symlink(ec)) {
      if (!name.empty() && name[0] != '.') CollectFiles(entry.path(), names);
      continue;
    }
    if (entry.is_directory(ec)) continue;  // a link to a folder is neither searched nor a file
    names.push_back(std::move(name));
  }
}

}  // namespace

void CLanguage::ScanLanguageFolder(const std::string& folder) {
  list_.clear();
  std::vector<std::string> files;
  CollectFiles(std::filesystem::path(folder), files);
  uint32_t ordinal = 0;
  for (const std::string& file : files) {
    std::string name = file.substr(0, file.find('.'));
    // A file such as ".directory" has no name to offer; listing it would show an empty
    // entry in the language dialog.
    if (name.empty()) continue;
    list_[name] = ++ordinal;
  }
}

std::vector<std::string> CLanguage::Languages() const {
  std::vector<std::string> names;
  names.reserve(list_.size());
  for (const auto& entry : list_) names.push_back(entry.first);
  return names;
}

bool CLanguage::HasLanguage(std::string_view name) const {
  for (const auto& entry : list_)
    if (EqualsIgnoringCase(entry.first, name)) return true;
  return false;
}

std::string CLanguage::GetLanguage() {
  profile::ProfileFile config(ProgramPath(kConfigFile));
  return config.GetString(kPreviousConfig, "Language", kDefaultLanguage);
}

void CLanguage::SetLanguage(std::string name) {
  if (name.empty()) name = kDefaultLanguage;
  folder_ = ProgramPath(kLanguageFolder);
  std::string fileName = kDefaultLanguage;
  for (const auto& entry : list_) {
    if (EqualsIgnoringCase(entry.first, name)) {
      fileName = entry.first;
      break;
    }
  }
  filePath_ = JoinPath(folder_, fileName + ".lng");
  profile::ProfileFile config(ProgramPath(kConfigFile));
  config.Set(kPreviousConfig, "Language", name);
}

bool CLanguage::Load() {
  return LoadFile(filePath_);
}

bool CLanguage::LoadFile(const std::string& path) {
  tables_.clear();
  std::string bytes;
  if (path.empty() || !fsutil::ReadFile(path, bytes, nullptr, kMaxLanguageFileBytes)) return false;
  const profile::ProfileDocument doc = profile::ProfileDocument::Parse(bytes);
  bytes = std::string();

  const std::vector<std::string> sections = FitNameList(doc.Sections());
  if (sections.empty()) return false;
  for (const std::string& section : sections) {
    auto& table = tables_[section];
    for (const std::string& key : FitNameList(doc.Keys(section)))
      table.emplace(key,
                    CutToUnits(doc.Get(section, key).value_or(std::string()), kLanguageTextLimit));
  }
  return true;
}

const std::string& CLanguage::GetText(std::string_view section, std::string_view key) const {
  static const std::string kEmpty;
  auto table = tables_.find(section);
  if (table == tables_.end()) return kEmpty;
  auto text = table->second.find(key);
  return text == table->second.end() ? kEmpty : text->second;
}

LanguageStartup ChooseLanguageAtStartup(CLanguage& language, IMessageSink& sink,
                                        std::string_view title) {
  // The folder is named as it is everywhere else; on a case-sensitive file system a
  // differently spelled name would find no language at all.
  language.ScanLanguageFolder(ProgramPath(kLanguageFolder));
  LanguageStartup result;
  result.language = CLanguage::GetLanguage();
  if (result.language.empty()) result.language = kDefaultLanguage;
  language.SetLanguage(result.language);
  // SetLanguage falls back to the English file for a name it does not find. At start-up
  // that would show English while the configuration and the report program keep the stored
  // name, so a language without its file is treated as unreadable and the user is asked.
  const bool isDefault = EqualsIgnoringCase(result.language, kDefaultLanguage);
  if ((isDefault || language.HasLanguage(result.language)) && language.Load()) {
    result.proceed = true;
    return result;
  }

  auto tell = [&](std::string text, MessageIcon icon, MessageButtons buttons) {
    Message message;
    message.text = std::move(text);
    message.title = std::string(title);
    message.icon = icon;
    message.buttons = buttons;
    return sink.Show(message);
  };
  const std::string quoted = "\"" + result.language + "\"";
  if (isDefault) {
    tell("There has an error in reading " + quoted +
             " language file.Please reinstall this application.",
         MessageIcon::Error, MessageButtons::Ok);
    return result;
  }
  MessageAnswer answer =
      tell("There has an error in reading " + quoted +
               " language file.Whether to switch to the default(English) language?",
           MessageIcon::Question, MessageButtons::YesNo);
  if (answer != MessageAnswer::Yes) return result;

  result.language = kDefaultLanguage;
  language.SetLanguage(result.language);
  if (language.Load()) {
    result.proceed = true;
    return result;
  }
  tell("There has an error in reading \"English\" language file.", MessageIcon::Error,
       MessageButtons::Ok);
  return result;
}

}  // namespace vesk
