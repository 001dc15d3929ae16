#pragma once
// The sections and keys the program looks up in a language file, and a check of one file
// against them (used by the tests and by "vesk-cli lang check").

#include <string>
#include <string_view>
#include <vector>

namespace vesk {

struct LanguageSection {
  std::string_view name;
  std::vector<std::string_view> keys;
};

// The nine sections in their usual file order, each with its keys in ascending order.
const std::vector<LanguageSection>& RequiredLanguageKeys();
// Number of keys over all sections.
size_t RequiredLanguageKeyCount();

struct LanguageKeyRef {
  std::string section;
  std::string key;
  bool operator==(const LanguageKeyRef&) const = default;
};

struct LanguageFileCheck {
  bool readable = false;                // false: missing, unreadable or without any section
  std::vector<LanguageKeyRef> missing;  // required, but not in the file
  std::vector<LanguageKeyRef> extra;    // in the file, but never looked up by the program
  std::vector<LanguageKeyRef> empty;    // required and present, but with an empty text
  bool ok() const { return readable && missing.empty() && extra.empty() && empty.empty(); }
};

// Reads the file with the same rules as the program (exact, case-sensitive names) and
// compares it with the required list. A key of an extra section is listed with key "".
LanguageFileCheck CheckLanguageFile(const std::string& path);

}  // namespace vesk
