#pragma once
// Internal steps of BuildReportData, shared by its two source files.

#include <span>
#include <vector>

#include "analysis/CaseFigures.h"
#include "analysis/ClinicalIndices.h"
#include "analysis/Correlation.h"
#include "analysis/DayNight.h"
#include "analysis/Distribution.h"
#include "analysis/Extremes.h"
#include "analysis/ReportStatistics.h"
#include "analysis/Statistics.h"
#include "reports/ReportBuilder.h"

namespace vesk::reportbuild {

// Everything computed once from the case and read by several pages.
struct Computed {
  PeriodRefs refs;
  CaseFigures fig;  // the same record the statistics window and the CLI read
  Extremes extremes;
  PressureDistribution distribution;
  _BP_CORRELATION correlation;
  int32_t present = 0;  // ReportFigureBits
};

// Mean, SD, SE, CV, count, highest and lowest of a list of values.
ReportStatRow RowOf(std::span<const double> values);
std::vector<double> ValuesOf(const ReadingRefs& list, Quantity q);

void FillReadingsPage(const ReportCase& c, const ReportOptions& o, ReportReadingsPage& out);
void FillHistogramPages(const Computed& k, ReportHistogramPage& six, ReportThreeHistogramPage& ten);
void FillPiePage(const Computed& k, const RangeLimits& limits, ReportPiePage& out);
void FillCorrelationPage(const Computed& k, ReportCorrelationPage& out);
void FillHourlyPage(const ReportCase& c, const Computed& k, ReportHourlyPage& out);
void FillSpO2Page(const ReportCase& c, const ReportHead& head, const ReportOptions& o,
                  ReportSpO2Page& out);

}  // namespace vesk::reportbuild
