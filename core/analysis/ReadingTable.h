#pragma once
// The data table of an open case without a screen: the texts of every cell, the rows of the
// three views, and the edits the table allows (exclusion, comment, edit, add, delete, moving
// the start). It works on its own copy of the readings; the caller takes the result back
// into the document only when the user confirms, together with the history entries of what
// changed.

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/HourlyAverages.h"
#include "cases/CaseRecord.h"
#include "cases/EditHistory.h"
#include "platform/DateTime.h"

namespace vesk {

class CaseDocument;

enum class TableView : int { All = 0, PerHour = 1, Averages = 2 };

inline constexpr int kTableColumns = 11;
inline constexpr int kDefaultAveragingMinutes = 60;
using RowCells = std::array<std::string, kTableColumns>;

struct TableRow {
  int32_t reading = -1;  // position in Readings(); -1 for a row of averages
  RowCells cells;
};

// Cell texts of a reading in the all-readings and one-per-hour views; column 0 is "*" for an
// excluded reading.
RowCells ReadingCells(const _BP_RECORD& r);
// Cell texts of one averaged period.
RowCells AveragedCells(const AveragedPeriod& p);
// "*=excluded/total(percent%)" with one decimal; 0 readings give 0.0 percent.
std::string ExclusionSummary(int excluded, int total);
// Pulse pressure: SYS - DIA when both are above 0 and DIA < MAP < SYS, else "---".
std::string PulsePressureText(const _BP_RECORD& r);
// The reading number: index + 1 followed by "+" or "++" for marks 1 and 2.
std::string ReadingNumberText(const _BP_RECORD& r);

// The values of the reading editor.
struct ReadingInput {
  int32_t sys = 0, dia = 0, map = 0, pr = 0;
  int32_t year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
  std::string comment;
  bool operator==(const ReadingInput&) const = default;
};

// The editor's two checks, in this order.
enum class PressureCheck { Ok, MapNotBelowSys, MapNotAboveDia };
PressureCheck CheckPressures(const ReadingInput& in);

// Texts of the table and the editor that are not in the language tables: the Chinese
// originals under Chinese, the same message in English under every other language.
enum class FixedText { SelectRowFirst, EditTitle, AddTitle, MapNotBelowSys, MapNotAboveDia };
const char* FixedTextOf(FixedText text, bool chinese);
// Whether a language name (the file name without extension) is Chinese, ignoring case.
bool IsChineseLanguage(std::string_view languageName);

// The dates the table's pickers accept.
inline constexpr int kFirstPickerYear = 2000;
inline constexpr int kLastPickerYear = 2099;

class ReadingTable {
 public:
  explicit ReadingTable(std::vector<_BP_RECORD> readings);

  TableView View() const { return view_; }
  bool ShowExcluded() const { return showExcluded_; }
  int Interval() const { return interval_; }
  // Each of these refills the rows. The averages view never lists excluded readings.
  void SetView(TableView view);
  void SetShowExcluded(bool show);
  void SetInterval(int minutes);
  void Refill();

  const std::vector<TableRow>& Rows() const { return rows_; }
  // Heading of column 0: the exclusion summary of the rows' view.
  const std::string& Heading() const { return heading_; }
  int ExcludedCount() const { return excluded_; }

  // Edit, add and delete work in the all-readings view only.
  bool EditingAllowed() const { return view_ == TableView::All; }
  int ReadingOfRow(int row) const;
  int RowOfReading(int reading) const;

  // Column 0: excludes an included reading, includes an excluded one when it is valid. The
  // row keeps its place until the next refill. False when nothing changed (an invalid
  // reading stays excluded; averaged rows have no reading).
  bool ToggleExclusion(int row);
  bool SetComment(int row, const std::string& comment);

  // What the editor starts with: the reading's values, or for a new reading the selected
  // reading's pressures one minute after it (row -1: after the last reading). Times outside
  // the pickers' range start at the first reading that is inside it, else 2000-01-01.
  ReadingInput EditProposal(int row) const;
  ReadingInput AddProposal(int row) const;
  // Both return the row that shows the reading afterwards (-1 when not shown), or -1 without
  // change when editing is not allowed or the row is not a reading. An edited or added
  // reading moves to its place in time when the other readings are in time order; a reading
  // that fails the validity rule is excluded.
  int ReplaceReading(int row, const ReadingInput& in);
  int AddReading(int row, const ReadingInput& in);
  // Removes the reading of the row. The last reading of a case is kept, so the case stays a
  // recording; false then and when editing is not allowed.
  bool DeleteReading(int row);
  // Moves every reading with a valid date and time by the minutes from the first such reading
  // to the new start (seconds unchanged). 0 when there is no such reading or the new start is
  // not a valid time.
  int MoveStart(const DateParts& start);

  // Readings added from now on get an index field of at least `index`, so that a new reading
  // never takes the number (and with it the history) of one deleted earlier.
  void ReserveIndicesBelow(int32_t index) { indexFloor_ = std::max(indexFloor_, index); }

  const std::vector<_BP_RECORD>& Readings() const { return readings_; }
  bool Changed() const { return !Changes({}).empty(); }
  // What differs from the readings the table was given, as history entries.
  std::vector<EditEntry> Changes(const EditStamp& stamp) const;

 private:
  int PlaceByTime(size_t pos);
  void FillReadings();
  void FillAverages();

  std::vector<_BP_RECORD> original_;
  std::vector<_BP_RECORD> readings_;
  std::vector<int32_t> origin_;  // position in original_ of each reading; -1 when added
  int64_t shiftMinutes_ = 0;
  int32_t indexFloor_ = 0;
  TableView view_ = TableView::All;
  bool showExcluded_ = true;
  int interval_ = kDefaultAveragingMinutes;
  std::vector<TableRow> rows_;
  std::string heading_;
  int excluded_ = 0;
  int walked_ = 0;  // readings the view went through (the summary's total)
};

// The confirm of the table: its readings go into the document and, with their history
// entries, into the case file in one atomic write; the reading count of the BP data header
// follows the readings. Without a change nothing is written (1). On failure the document
// keeps its readings, the file is unchanged, and the library's code is returned.
[[nodiscard]] CaseFileResult SaveTableToCase(CaseDocument& doc, const ReadingTable& table,
                                             const EditStamp& stamp);

}  // namespace vesk
