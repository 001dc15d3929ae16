#pragma once
// Access to the program's INI files (all but the language files), with the calling
// conventions the settings code has always used: results 1 for success and 0 for failure,
// defaults for anything missing, and line breaks inside a value kept on one line as "++".

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Profile.h"

namespace vesk {

class CIniFile {
 public:
  // Throws std::invalid_argument for an empty path. A missing file is created empty; with
  // truncate set an existing file is emptied. Failing to create the file is not fatal here:
  // reads then give the defaults and writes report 0.
  CIniFile(std::string path, bool truncate);

  const std::string& Path() const { return file_.path(); }

  // The value, or def when the section or key is missing; every "++" comes back as CR LF.
  // Values are returned whole, however long.
  std::string ReadString(std::string_view section, std::string_view key, std::string_view def);
  // Integer reading of the private-profile functions: def when missing or empty, otherwise
  // leading blanks, sign, "0x" hexadecimal or decimal digits up to the first other character.
  int32_t ReadInt(std::string_view section, std::string_view key, int32_t def);

  // Every line break (CR LF, or a lone CR or LF) is stored as "++". 0 when the section or
  // key is empty or cannot be written, or the file could not be written.
  int WriteString(std::string_view section, std::string_view key, std::string_view value);
  int WriteInt(std::string_view section, std::string_view key, int32_t value);

  // 1 when the section or key is gone afterwards (also when it was never there).
  int DeleteSection(std::string_view section);
  int DeleteKey(std::string_view section, std::string_view key);

  std::vector<std::string> SectionNames();
  std::vector<std::string> KeyNames(std::string_view section);

  // Collects the writes in between and writes the file once; CommitBatch returns 1 when that
  // write succeeded (or nothing changed). Batches nest.
  void BeginBatch();
  int CommitBatch();

 private:
  profile::ProfileFile file_;
};

}  // namespace vesk
