#pragma once
// The edit history of a case file: who changed which reading or patient field, when, from
// what to what. It lives in its own section after [END], so readers that do not know it skip
// it, and a file that was never edited carries none. Entries are only ever appended.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cases/CaseFileResult.h"
#include "cases/CaseRecord.h"

namespace vesk {

enum class EditKind : int32_t {
  Excluded = 1,    // a reading taken out of the analysis
  Included = 2,    // a reading taken back into it
  Values = 3,      // pressures, pulse rate or time of a reading changed
  Added = 4,       // a reading entered by hand
  Deleted = 5,     // a reading removed
  StartMoved = 6,  // the whole recording moved to a new start time
  Comment = 7,     // the comment of a reading
  Patient = 8,     // one field of the patient data
};

struct EditEntry {
  std::string when;  // "YYYY-MM-DD HH:MM:SS", the editor's wall clock
  std::string user;
  EditKind kind = EditKind::Values;
  int32_t reading = -1;  // index field of the reading; -1 for the whole case
  std::string field;     // patient field name; empty for readings
  std::string oldValue;
  std::string newValue;
  bool operator==(const EditEntry&) const = default;
};

// Who makes the edits now being saved, and when.
struct EditStamp {
  std::string user;
  std::string when;
};

inline constexpr std::string_view kHistorySection = "EDIT HISTORY";

// The section text, header line included.
[[nodiscard]] std::string SerializeHistory(const std::vector<EditEntry>& entries);

// Reads the history section of a whole case file. A file without one has an empty history
// (result 1). A damaged section gives CaseFileResult::BadCount or CaseFileResult::BadValue and no
// entries.
[[nodiscard]] CaseFileResult ParseHistory(std::string_view fileBytes, std::vector<EditEntry>& out);

// Adds the entries to the file's history: the section is rewritten in place when there is
// one, else appended at the very end of the file. Nothing to add leaves the bytes alone. A
// damaged history is refused (its code) rather than overwritten, so no entry is ever lost.
[[nodiscard]] CaseFileResult AppendHistory(std::string& fileBytes,
                                           const std::vector<EditEntry>& add);

// The raw history section of a file (empty when it has none), to carry it into a file that
// is written anew.
std::string_view HistorySectionText(std::string_view fileBytes);

// A reading as the history shows it: "120/80 MAP 95 PR 70 2024-03-30 08:05:00".
std::string ReadingSummary(const _BP_RECORD& r);
// "YYYY-MM-DD HH:MM" of a reading's fields, whatever they hold.
std::string ReadingTimeText(const _BP_RECORD& r);

// One entry per patient field whose value differs, in record order.
std::vector<EditEntry> DiffPatient(const _PATIENT_INFO& before, const _PATIENT_INFO& after,
                                   const EditStamp& stamp);

// The entries of one reading (by its index field), oldest first.
std::vector<EditEntry> EntriesOfReading(const std::vector<EditEntry>& entries, int32_t index);

}  // namespace vesk
