#pragma once
// Profile (INI) files read and written with the rules of the Windows private-profile
// functions, so that files written by earlier releases and by other programs of the family
// read alike. Text is UTF-8 in memory. Files may be UTF-8 (with or without BOM) or UTF-16LE
// with BOM; files we create are UTF-8 without BOM, and a file we rewrite keeps its encoding.
//
// Reading rules: lines are trimmed of blanks; a line starting with ';' is a comment; "[name]"
// opens a section (the name trimmed); "key=value" splits at the first '='; key and value are
// trimmed; a value enclosed in one pair of matching quotes (" or ') loses them; lookups of
// sections and keys ignore case (ASCII and Unicode letters alike); of duplicate sections and of
// duplicate keys within a section, the first wins. Lines before any section belong to no
// section and are never found.
//
// Writing keeps every other line of the file byte for byte, and replaces the file atomically:
// a temporary file in the same folder is written, flushed and fsynced, renamed over the old
// one, and the folder is fsynced. A crash leaves either the old file or the new one. A failed
// write returns false and leaves the old file. A file that was not text (NUL bytes, invalid
// encoding) is copied to the same name plus ".corrupt" before it is first rewritten.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vesk::profile {

enum class Encoding { Utf8, Utf8Bom, Utf16LeBom };

// The parsed lines of one profile file. Value semantics; no I/O.
class ProfileDocument {
 public:
  ProfileDocument();
  ~ProfileDocument();
  ProfileDocument(const ProfileDocument&);
  ProfileDocument& operator=(const ProfileDocument&);
  ProfileDocument(ProfileDocument&&) noexcept;
  ProfileDocument& operator=(ProfileDocument&&) noexcept;

  // Parses raw file bytes, detecting the encoding. Never throws on bad input: bytes that are
  // not valid text mark the document as not-text (see isText) and are read as far as they can.
  static ProfileDocument Parse(std::string_view bytes);

  // The value with the reading rules above, or nullopt when the section or key is missing.
  // A key line without '=' counts as present with an empty value.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  // Section names in file order, first occurrence only.
  std::vector<std::string> Sections() const;
  // Key names of the (first) section in file order, first occurrence only; empty if missing.
  std::vector<std::string> Keys(std::string_view section) const;

  // Replaces the value of the first occurrence of the key, or adds "key=value" after the last
  // key of the section, or appends a new section at the end of the document. A value that
  // would lose leading/trailing blanks or its own surrounding quotes to the reading rules is
  // written inside one more pair of quotes; line breaks in a value become blanks. Names the
  // format cannot hold (empty, a key with '=' or CR/LF or starting with '[' or ';', a section
  // with ']') change nothing.
  void Set(std::string_view section, std::string_view key, std::string_view value);
  // Removes the first section of that name and all its lines; false when absent.
  bool RemoveSection(std::string_view section);
  // Removes the first occurrence of the key; false when absent.
  bool RemoveKey(std::string_view section, std::string_view key);

  // The file bytes in the document's encoding. Lines read from the file keep their own line
  // ending (CR LF, LF or CR); added lines take the file's first ending, CR LF in a new file.
  std::string Serialize() const;

  Encoding encoding() const;
  void setEncoding(Encoding e);
  bool isText() const;  // false when the parsed bytes held NULs or invalid sequences

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// GetPrivateProfileIntW on a value that was found: leading blanks skipped, optional sign,
// "0x"/"0X" hexadecimal, otherwise decimal digits up to the first non-digit; no digits gives 0.
// Result wraps to 32 bits as the Windows function does.
int32_t ParseProfileInt(std::string_view value);

// Reads and writes one profile file on disk. Reading re-parses the file only when it changed
// on disk (size, modification time or inode), so many reads of one file are cheap. A missing
// file reads as empty and is not an error.
class ProfileFile {
 public:
  explicit ProfileFile(std::string path);

  const std::string& path() const { return path_; }

  std::optional<std::string> Get(std::string_view section, std::string_view key);
  std::string GetString(std::string_view section, std::string_view key, std::string_view def);
  int32_t GetInt(std::string_view section, std::string_view key, int32_t def);
  std::vector<std::string> Sections();
  std::vector<std::string> Keys(std::string_view section);

  // Each call writes the file at once (atomically), unless a batch is open. False when the
  // write failed (the file is then left as it was) or the names cannot be written. Removing
  // what is not there writes nothing and returns true. A file that exists but cannot be read
  // is never replaced by these calls.
  bool Set(std::string_view section, std::string_view key, std::string_view value);
  bool RemoveSection(std::string_view section);
  bool RemoveKey(std::string_view section, std::string_view key);

  // Between BeginBatch and CommitBatch, changes stay in memory and are written once, by
  // CommitBatch; its result tells whether that write succeeded. Batches nest.
  void BeginBatch();
  bool CommitBatch();

  // Writes the whole document (used to create an empty file or to truncate one).
  bool WriteDocument(const ProfileDocument& doc);
  bool Exists() const;

 private:
  struct Stamp;
  Stamp CurrentStamp() const;
  bool Refresh();
  bool Flush();
  bool SaveCorruptCopy();
  bool WriteBytes(const std::string& bytes);
  bool Change(const std::function<bool(ProfileDocument&)>& edit);

  std::string path_;
  ProfileDocument doc_;
  struct Stamp {
    bool exists = false;
    uint64_t size = 0, inode = 0;
    int64_t mtimeNs = 0;
    bool operator==(const Stamp&) const = default;
  } stamp_;
  bool loaded_ = false;
  bool corruptSaved_ = false;
  bool readFailed_ = false;
  int batchDepth_ = 0;
  bool dirty_ = false;
};

}  // namespace vesk::profile
