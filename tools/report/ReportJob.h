#pragma once
// The job the report command leaves in Cnf.start (section "START") and the data of the start
// folder, read into one model that every page paints from. Nothing here needs Qt, so the
// reading, the checks and the figures the pages add are tested without a screen.

#include <string>
#include <vector>

#include "analysis/CaseAnalysis.h"
#include "analysis/ClinicalIndices.h"
#include "analysis/DayNight.h"
#include "reports/ReportData.h"

namespace vesk::report {

struct ReportJob {
  std::string casePath;
  std::string reportPath;  // the PDF to write
  int reportPrint = 0;     // 1: print to deviceName without a window
  int paperSize = 10;      // the printer driver's paper number
  int orientation = 1;
  std::string deviceName;
  std::string language = "English";
};

enum class Paper { A4, Letter };
// Letter and Letter small are Letter; every other number prints on A4.
Paper PaperOf(int paperSize);

// Reads the job; false with a reason when the file is missing or names no PDF.
[[nodiscard]] bool LoadReportJob(const std::string& cnfPath, ReportJob& job, std::string& error);

// The mean of one clock hour of the analysed readings.
struct HourMean {
  int year = 0, month = 0, day = 0, hour = 0;
  int count = 0;
  double sys = 0, dia = 0, pr = 0, map = 0;
  bool asleep = false;  // the hour's first reading lies in the asleep period
};

// Clock hours in the order they occur; readings without a real date are left out.
std::vector<HourMean> HourlyMeans(const ReadingRefs& analysed, int asleepStart, int awakeStart);

// The report data and what the pages derive from it. Not copyable: the period lists borrow
// from `readings`.
struct ReportModel {
  ReportData data;
  std::vector<_BP_RECORD> readings;  // "Report.txt" readings with the comments of "45.rp"/"11.rp"
  PeriodRefs refs;
  RecordingQuality quality;
  std::vector<HourMean> hours;
  CaseAnalysis analysis;  // the chart records, filled from the page records
  std::vector<_SPO2_SAMPLE> samples;
  OleDateTime spo2Start, spo2End;
  std::string casePath;

  ReportModel() = default;
  ReportModel(const ReportModel&) = delete;
  ReportModel& operator=(const ReportModel&) = delete;

  bool Selected(int page) const { return data.main.pages[size_t(page)] != 0; }
};

// Fills everything beyond `data` (which must be complete).
void PrepareModel(ReportModel& model);

// Reads the data files of `folder` through the shared reader and prepares the model; false
// with the file and the reason when a file is missing, short or damaged.
[[nodiscard]] bool LoadReportModel(const std::string& folder, ReportModel& model,
                                   std::string& error);

}  // namespace vesk::report
