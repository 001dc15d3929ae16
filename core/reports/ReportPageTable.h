#pragma once
// Every page a report can have, in page-flag order, with everything that is known about it in
// one row: its flag in the report head, the report-set key that selects it, the language key
// of its name, the data file it is written to and the record of ReportData that file holds.
// The report head carries thirteen flags, the report set only twelve 0/1 keys: the SpO2 page
// is chosen by the variant key "Spo2 Page" instead, and the head turns it on only for a case
// with SpO2 samples.

#include <cstdint>
#include <span>
#include <string_view>

#include "settings/ConfigKeys.h"
#include "settings/ReportHead.h"

namespace vesk {

// The page flags of the report head, by position.
enum class ReportPageId : int32_t {
  Demographics = 0,
  Statistics,
  Summary,
  ColourGraph,
  BarGraph,
  Histogram,
  Pie,
  Correlation,
  FrequencyHistogram,  // hour by hour
  ThreeHistogram,      // PR, MAP and PP
  Data,
  HourlySummary,
  SpO2,
};

// The data files in write order.
enum class ReportFileId : int32_t {
  Main,  // "Report.txt"
  Patient,
  Statistics,
  Summary,
  Graphs,  // "45.rp": page 3 or 4
  Histogram,
  Pie,
  Correlation,
  Hourly,
  ThreeHistogram,
  Data,  // "11.rp": page 10
  SpO2,  // "12.rp"
};

// The records of ReportData a file can hold; two files may share one.
enum class ReportRecordId : int32_t {
  None,  // the page is built from the readings of "Report.txt"
  Main,
  Patient,
  Statistics,
  Summary,
  Readings,
  Histogram,
  Pie,
  Correlation,
  Hourly,
  ThreeHistogram,
  SpO2,
};

struct ReportFileRow {
  ReportFileId id;
  std::string_view name;
  ReportRecordId record;
};

struct ReportPageRow {
  ReportPageId id;
  std::string_view settingsKey;  // key of the report set in the report configuration file
  std::string_view languageSection;
  std::string_view languageKey;  // the page's name in the language file
  bool hasFile;                  // false: no file of its own
  ReportFileId file;             // meaningful only with hasFile
  ReportRecordId record;         // what the page reads besides "Report.txt"
};

inline constexpr int kReportFileCount = 12;

// Thirteen rows, row i for page flag i.
std::span<const ReportPageRow> ReportPages();
// Twelve rows in write order, "Report.txt" first.
std::span<const ReportFileRow> ReportFiles();

const ReportPageRow& ReportPageOf(ReportPageId id);
const ReportFileRow& ReportFileOf(ReportFileId id);
// The row of a file name such as "45.rp"; null for a name no report writes.
const ReportFileRow* ReportFileNamed(std::string_view name);

inline constexpr int PageIndex(ReportPageId id) {
  return static_cast<int>(id);
}

static_assert(kReportHeadPageCount == kReportPageCount + 1,
              "the head holds every set page and the SpO2 page");
static_assert(PageIndex(ReportPageId::SpO2) == kSpo2ReportPage);
static_assert(PageIndex(ReportPageId::HourlySummary) == kHourlySummaryPage);

}  // namespace vesk
