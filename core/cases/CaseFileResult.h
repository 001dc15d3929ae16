#pragma once
// The case-file library's result codes: 1 success, 0 a failure without a more precise reason,
// otherwise the step that failed. The library's operations carry them as int32 (the numbers
// are the interface); everything of ours passes them typed. Scoped, so that they cannot be
// compared with a device code or a bare int by mistake.

#include <cstdint>

namespace vesk {

enum class CaseFileResult : int32_t {
  Failed = 0,  // generic failure (e.g. nothing to change)
  Ok = 1,
  CannotOpen = 2,    // missing, unreadable, a folder, or no path set
  TooLarge = 3,      // larger than any case file can be
  NotCaseFile = 5,   // no case-file header: not a case file, binary, empty
  BadVersion = 6,    // a case file of a version this class does not read
  BadCount = 7,      // a count that disagrees with the lines present, or is impossible
  BadValue = 8,      // a number, escape or hex run that does not parse or fit its field
  Missing = 9,       // a required section or key is missing (truncated file)
  WriteFailed = 10,  // the new file could not be written; the old one is unchanged
  ReadOnly = 15,     // the file is marked read-only and is left as it is
  Changed = 16,      // the file is no longer the one loaded: nothing was written
};

// The code as the library's int32 operations carry it.
constexpr int32_t ToInt(CaseFileResult r) {
  return static_cast<int32_t>(r);
}
// A code that came out of one of the library's int32 operations.
constexpr CaseFileResult CaseFileResultOf(int32_t code) {
  return static_cast<CaseFileResult>(code);
}

// A short English description of a library result, for logs and the command-line tool.
const char* CaseFileResultText(CaseFileResult result);

}  // namespace vesk
