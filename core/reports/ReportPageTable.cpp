#include "reports/ReportPageTable.h"

#include <array>

namespace vesk {

namespace {

using P = ReportPageId;
using F = ReportFileId;
using R = ReportRecordId;

constexpr std::array<ReportFileRow, kReportFileCount> kFiles{{
    {F::Main, "Report.txt", R::Main},
    {F::Patient, "1.rp", R::Patient},
    {F::Statistics, "2.rp", R::Statistics},
    {F::Summary, "3.rp", R::Summary},
    {F::Graphs, "45.rp", R::Readings},
    {F::Histogram, "6.rp", R::Histogram},
    {F::Pie, "7.rp", R::Pie},
    {F::Correlation, "8.rp", R::Correlation},
    {F::Hourly, "9.rp", R::Hourly},
    {F::ThreeHistogram, "10.rp", R::ThreeHistogram},
    {F::Data, "11.rp", R::Readings},
    {F::SpO2, "12.rp", R::SpO2},
}};

constexpr std::string_view kCase = "Case Setting";

constexpr std::string_view Key(int i) {
  return kReportPageKeys[size_t(i)];
}

constexpr std::array<ReportPageRow, kReportHeadPageCount> kPages{{
    {P::Demographics, Key(0), kCase, "IDS_PATIENT_STATISTICS", true, F::Patient, R::Patient},
    {P::Statistics, Key(1), kCase, "IDS_SUMMARY_STATISTICS", true, F::Statistics, R::Statistics},
    {P::Summary, Key(2), kCase, "IDS_TRENDS_PRESSPAGE", true, F::Summary, R::Summary},
    {P::ColourGraph, Key(3), kCase, "IDS_GRAPH_PAGE", true, F::Graphs, R::Readings},
    {P::BarGraph, Key(4), kCase, "IDS_LINE_PAGE", true, F::Graphs, R::Readings},
    {P::Histogram, Key(5), kCase, "IDS_BARGRAPH_PAGE", true, F::Histogram, R::Histogram},
    {P::Pie, Key(6), kCase, "IDS_CAKE_PAGE", true, F::Pie, R::Pie},
    {P::Correlation, Key(7), kCase, "IDS_COMBINE_PAGE", true, F::Correlation, R::Correlation},
    {P::FrequencyHistogram, Key(8), kCase, "IDS_RATE_BARGRAPH", true, F::Hourly, R::Hourly},
    {P::ThreeHistogram, Key(9), kCase, "IDS_THREE_PAGE", true, F::ThreeHistogram,
     R::ThreeHistogram},
    {P::Data, Key(10), kCase, "IDS_MEASURE_DATA", true, F::Data, R::Readings},
    {P::HourlySummary, Key(11), kCase, "IDS_HOURLY_DATA", false, F::Main, R::None},
    {P::SpO2, "Spo2 Page", "CorreLine", "IDS_SPO2_DATA", true, F::SpO2, R::SpO2},
}};

// The rows are looked up by position; a row out of place would silently mix two pages up.
constexpr bool InOrder() {
  for (size_t i = 0; i < kPages.size(); ++i)
    if (PageIndex(kPages[i].id) != int(i)) return false;
  for (size_t i = 0; i < kFiles.size(); ++i)
    if (static_cast<size_t>(kFiles[i].id) != i) return false;
  return true;
}
static_assert(InOrder());

}  // namespace

std::span<const ReportPageRow> ReportPages() {
  return kPages;
}

std::span<const ReportFileRow> ReportFiles() {
  return kFiles;
}

const ReportPageRow& ReportPageOf(ReportPageId id) {
  return kPages[size_t(PageIndex(id))];
}

const ReportFileRow& ReportFileOf(ReportFileId id) {
  return kFiles[static_cast<size_t>(id)];
}

const ReportFileRow* ReportFileNamed(std::string_view name) {
  for (const ReportFileRow& f : kFiles)
    if (f.name == name) return &f;
  return nullptr;
}

}  // namespace vesk
