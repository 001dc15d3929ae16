#pragma once
// The language tables: every visible text of the program is looked up at run time by section
// and key in the language file the user chose ("<program folder>/Language/<name>.lng").

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/MessageSink.h"

namespace vesk {

class CLanguage {
 public:
  // Rebuilds the language list from the file names below the folder (recursively, every file
  // whatever its extension; the name is the part before the first '.'; the n-th file found
  // gets ordinal n and a name found again keeps the later ordinal).
  void ScanLanguageFolder(const std::string& folder);
  // Names of the language list, ordered by case-sensitive comparison of the names.
  std::vector<std::string> Languages() const;
  // The list itself: name -> ordinal (position in which the file was found, from 1).
  const std::map<std::string, uint32_t>& LanguageList() const { return list_; }
  // Whether the list holds the name, compared ignoring case as SetLanguage does.
  bool HasLanguage(std::string_view name) const;

  // "Language" of "Previous Config" in <program folder>/MreConfig.ini, default "English".
  static std::string GetLanguage();
  // Chooses the file (case-insensitive match in the list, else English) and records the name
  // in MreConfig.ini.
  void SetLanguage(std::string name);
  // Reads the chosen file into the tables; false when it has no section (which includes a
  // missing or unreadable file). The tables are emptied first, whatever the outcome.
  bool Load();
  // Load from a given file, leaving the chosen path alone (checks of language files).
  bool LoadFile(const std::string& path);
  // The text, or the empty text. Exact, case-sensitive lookup of both names.
  const std::string& GetText(std::string_view section, std::string_view key) const;

  const std::string& FilePath() const { return filePath_; }

  // Whole tables, for checks of the language files.
  const std::map<std::string, std::map<std::string, std::string, std::less<>>, std::less<>>&
  Tables() const {
    return tables_;
  }

 private:
  std::map<std::string, uint32_t> list_;
  std::string folder_;
  std::string filePath_;
  std::map<std::string, std::map<std::string, std::string, std::less<>>, std::less<>> tables_;
};

// Longest text of one value, in UTF-16 units as the profile functions count them; a longer
// value is cut there, never inside a character.
inline constexpr size_t kLanguageTextLimit = 1023;
// Room for the list of section names of one file, and for the key names of one section, in
// UTF-16 units including one terminator per name; names that do not fit are not read.
inline constexpr size_t kLanguageNameListLimit = 0x14000;

// The start-up choice of the language: scan, read the stored name, set and load it, and
// when that fails tell or ask through the sink (the program turns that into message boxes
// titled with title; empty means the program's title) in fixed English, since no language
// may be loaded then. Start-up goes on only when the result says so.
struct LanguageStartup {
  bool proceed = false;
  std::string language;  // the name finally chosen
};
LanguageStartup ChooseLanguageAtStartup(CLanguage& language, IMessageSink& sink,
                                        std::string_view title = {});

}  // namespace vesk
