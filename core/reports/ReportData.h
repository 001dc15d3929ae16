#pragma once
// The report data: everything the report program reads from the start folder, one record per
// file, plus the few texts and figures the diagnosis XML takes from the same report. The
// records hold the values exactly as the files carry them, so that a file read back compares
// equal to the record it was written from. docs/report-data-files.md names every field.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/CaseFigures.h"
#include "analysis/Correlation.h"
#include "cases/CaseRecord.h"
#include "settings/ReportHead.h"

namespace vesk {

// Which of the five further patient texts holds what.
enum PatientExtraText : int {
  kExtraMedication = 0,
  kExtraDiagnosis = 1,
  kExtraAttendingPhysician = 2,
  kExtraAssistantPhysician = 3,
  kExtraPhysicianComments = 4,
};

// Bits of the "figures present" word of "1.rp" and "2.rp": a figure whose bit is clear could
// not be computed and is written as 0.
enum ReportFigureBits : int32_t {
  kFigNightDip = 1 << 0,
  kFigHourlyRatioSys = 1 << 1,
  kFigHourlyRatioDia = 1 << 2,
  kFigR = 1 << 3,
  kFigDiaOnSys = 1 << 4,
  kFigSysOnDia = 1 << 5,
  kFigAasi = 1 << 6,
  kFigCrossing = 1 << 7,
  kFigSurgeSleepTrough = 1 << 8,
  kFigSurgePreWaking = 1 << 9,
  kFigArv = 1 << 10,
  kFigWeightedSd = 1 << 11,
  kFigSmoothness = 1 << 12,
};

struct ReportTime {
  int32_t year = 0, month = 0, day = 0, hour = 0, minute = 0;
  bool operator==(const ReportTime&) const = default;
};

// "Report.txt".
struct ReportMainRecord {
  std::array<int32_t, kReportHeadPageCount> pages{};
  int32_t spo2Variant = -1;
  int32_t aasi = 0, smoothIndex = 0, morningSurge = 0;
  std::string patientName, patientId, title;
  ReportTime start, end;
  int32_t awakeStart = 0, asleepStart = 0;  // minutes of the day
  int32_t recordingLength = 1;
  std::vector<_BP_RECORD> readings;  // comments do not travel in this file
  bool operator==(const ReportMainRecord&) const = default;
};

struct ReportPeriodSummary {  // one period of "1.rp"
  int32_t startHour = 0, startMinute = 0, endHour = 0, endMinute = 0;
  int32_t sysThreshold = 0, diaThreshold = 0;
  double meanSys = 0.0, meanDia = 0.0, meanPr = 0.0;
  int32_t count = 0;
  bool operator==(const ReportPeriodSummary&) const = default;
};

struct ReportLoadSummary {  // one period's loads in "1.rp"
  int32_t sysLoadCount = 0, diaLoadCount = 0, loadLimitPercent = 0;
  bool operator==(const ReportLoadSummary&) const = default;
};

// "1.rp": the patient (demographics) page.
struct ReportPatientPage {
  std::string name, caseId, sexText;
  int32_t age = 0, height = 0, weight = 0;
  std::string birthdayText;  // "YYYY-MM-DD", empty when none was entered
  int32_t sex = 0, modelCode = 0, dataMode = 0;
  // address, telephone, nation, outpatient ID, in-hospital ID, bed ID, department, e-mail,
  // recorder model name
  std::array<std::string, 9> texts;
  ReportPeriodSummary awake, asleep;
  ReportLoadSummary awakeLoads, asleepLoads;
  int32_t lowCR = 0, highCR = 0;
  std::array<double, 3> wholeMeans{};          // SYS, DIA, PR
  std::array<double, 3> wholeSd{};             // SYS, DIA, PR
  std::array<double, 3> dipsAndAasi{};         // night dip SYS, night dip DIA, AASI
  std::array<double, 3> surgeAndSmoothness{};  // sleep-trough surge, pre-waking surge, smoothness
  int32_t dipClassSys = 0, dipClassDia = 0;
  int32_t readingCount = 0, analysedCount = 0;
  double wholeSysLoad = 0.0, wholeDiaLoad = 0.0, validShare = 0.0;
  int32_t figures = 0;
  int32_t birthYear = 0, birthMonth = 0, birthDay = 0;
  bool operator==(const ReportPatientPage&) const = default;
};

struct ReportStatRow {  // one row of "2.rp" and its value list
  double mean = 0.0, sd = 0.0, se = 0.0;
  int32_t count = 0;
  double cv = 0.0, highest = 0.0, lowest = 0.0;
  bool operator==(const ReportStatRow&) const = default;
};

inline constexpr int kStatRowCount = 14;

// "2.rp": the statistics page.
struct ReportStatisticsPage {
  int32_t analysedCount = 0, readingCount = 0, awakeCount = 0, asleepCount = 0, validCount = 0;
  int32_t sysLoadCount = 0, diaLoadCount = 0, awakeSysLoadCount = 0, awakeDiaLoadCount = 0;
  int32_t asleepSysLoadCount = 0, asleepDiaLoadCount = 0;
  int32_t awakeSysThreshold = 0, awakeDiaThreshold = 0;
  int32_t asleepSysThreshold = 0, asleepDiaThreshold = 0;
  // whole, awake, asleep x SYS, DIA, PR, MAP; then whole PP and whole SpO2 (1..99 only)
  std::array<ReportStatRow, kStatRowCount> rows{};
  double surgePreWaking = 0.0, arvSys = 0.0, arvDia = 0.0;
  int32_t figures = 0;
  double weightedSdSys = 0.0;
  // The figures in the order of StatFigure (analysis/CaseFigures.h), which names each one.
  std::array<double, kStatFigureCount> figuresList{};
  bool operator==(const ReportStatisticsPage&) const = default;
};

struct ReportRange {  // max, min, integer mean
  int32_t highest = 0, lowest = 0, mean = 0;
  bool operator==(const ReportRange&) const = default;
};

// "3.rp": the blood-pressure summary page.
struct ReportSummaryPage {
  int32_t analysedCount = 0;
  ReportRange sys, dia;
  double nightDipSys = 0.0, nightDipDia = 0.0;
  double hourlyRatioSys = 0.0, hourlyRatioDia = 0.0;
  ReportRange pr, map;
  int32_t awakeCount = 0, asleepCount = 0;
  std::string conclusion;
  bool operator==(const ReportSummaryPage&) const = default;
};

// One reading of "45.rp" and "11.rp", comment included.
struct ReportReadingItem {
  int32_t index = 0, year = 0;
  int16_t month = 0, day = 0, hour = 0, minute = 0, seconds = 0;
  int32_t sys = 0;
  uint8_t mark = 0;
  int32_t included = 0;
  int16_t dia = 0, map = 0, pr = 0, spo2 = 0, errorCode = 0;
  int32_t secondCode = 0;
  int32_t flags =
      0;  // bit 0 valid, bit 1 asleep, bit 2 awake-period load, bit 3 asleep-period load
  std::string comment;
  bool operator==(const ReportReadingItem&) const = default;
};

// "45.rp" (coloured and bar graphs) and "11.rp" (data page).
struct ReportReadingsPage {
  std::vector<ReportReadingItem> items;
  int32_t awakeStart = 0, asleepStart = 0;
  int32_t awakeSysThreshold = 0, awakeDiaThreshold = 0;
  int32_t asleepSysThreshold = 0, asleepDiaThreshold = 0;
  bool operator==(const ReportReadingsPage&) const = default;
};

// "6.rp": histograms of SYS, DIA and PR (shares of the analysed readings per class).
struct ReportHistogramPage {
  std::string patientName;
  std::array<double, 14> sys{};
  std::array<double, 15> dia{};
  std::array<double, 15> pr{};
  bool operator==(const ReportHistogramPage&) const = default;
};

struct ReportPieGroup {
  double below = 0.0, within = 0.0, above = 0.0;
  int32_t low = 0, high = 0, countBelow = 0, countWithin = 0, countAbove = 0, count = 0;
  int32_t mean = 0;
  double sd = 0.0;
  int32_t highest = 0, highestHour = 0, highestMinute = 0;
  int32_t lowest = 0, lowestHour = 0, lowestMinute = 0;
  bool operator==(const ReportPieGroup&) const = default;
};

// "7.rp": pie charts of SYS, DIA and PR against their ranges.
struct ReportPiePage {
  std::string patientName;
  ReportPieGroup sys, dia, pr;
  bool operator==(const ReportPiePage&) const = default;
};

// "8.rp": the SYS/DIA correlation.
struct ReportCorrelationPage {
  double diaOnSysSlope = 0.0, diaOnSysIntercept = 0.0;
  double sysOnDiaSlope = 0.0, sysOnDiaIntercept = 0.0, r = 0.0;
  std::vector<SysDiaPair> awake, asleep;  // 8 bytes each: SYS, DIA
  bool operator==(const ReportCorrelationPage&) const = default;
};

inline constexpr int kReportHours = 72;

// "9.rp": hour-by-hour means over the recording, from the clock hour of the first reading.
struct ReportHourlyPage {
  int32_t year = 0, month = 0, day = 0, hour = 0;  // the first hour
  int32_t hourCount = 0;                           // hours used, at most 72
  int32_t awakeStart = 0, asleepStart = 0;
  int32_t truncated = 0;  // 1: the recording runs beyond the 72 hours
  double hourlyRatioSys = 0.0, hourlyRatioDia = 0.0, arvSys = 0.0, arvDia = 0.0;
  // integer means of SYS, DIA, PR and the reading count of each hour; 0 for an empty hour
  std::array<int32_t, kReportHours> sys{}, dia{}, pr{}, count{};
  bool operator==(const ReportHourlyPage&) const = default;
};

inline constexpr int kClassCount36 = 36;
inline constexpr int kHistogramClassWidth = 5;

// "10.rp": histograms of PR, MAP and PP in 36 classes of 5.
struct ReportThreeHistogramPage {
  int32_t prStart = 30, mapStart = 40, ppStart = 0;
  std::array<double, kClassCount36> pr{}, map{}, pp{};
  bool operator==(const ReportThreeHistogramPage&) const = default;
};

// An SpO2 or pulse-rate event as "12.rp" carries it (8 bytes).
struct ReportEventItem {
  int32_t startSecond = 0;
  int16_t durationSeconds = 0;
  uint8_t startValue = 0;
  int8_t change = 0;
  bool operator==(const ReportEventItem&) const = default;
};

// "12.rp": the SpO2 page.
struct ReportSpO2Page {
  std::vector<_SPO2_SAMPLE> samples;
  std::vector<ReportEventItem> spo2Events;
  std::array<int32_t, 6> start{}, end{};  // year, month, day, hour, minute, second
  int32_t variant = -1, spo2EventCount = 0, prEventCount = 0, validSeconds = 0;
  std::vector<ReportEventItem> prEvents;
  std::array<int32_t, 8> spo2Params{}, prParams{};
  int32_t lowestSpO2 = 0, highestSpO2 = 0;
  int32_t secondsBelow90 = 0, figures = 0;  // figures: bit 0 ODI, bit 1 SpO2 values
  // mean SpO2, SD, ODI (events per hour), usable hours, shares below 90, 85 and 80
  std::array<double, 7> spo2Figures{};
  // mean PR, SD, PR events per hour, lowest, highest, shares above 100 and below 60
  std::array<double, 7> prFigures{};
  std::array<int32_t, 101> secondsAtValue{};  // SpO2 0..100
  bool operator==(const ReportSpO2Page&) const = default;
};

// What the diagnosis XML takes from the report besides the records above.
struct ReportDiagnosisFacts {
  std::string conclusion;
  std::string sexText, nation, hospitalId, outpatientId, tel, address, department, medication;
  int32_t age = 0, height = 0, weight = 0;
  double allSys = 0.0, allDia = 0.0, daySys = 0.0, dayDia = 0.0, nightSys = 0.0, nightDia = 0.0;
  int32_t maxSys = 0, minSys = 0, maxDia = 0, minDia = 0;
  ReportTime maxSysTime, minSysTime, maxDiaTime, minDiaTime;
  double dipSysPercent = 0.0, dipDiaPercent = 0.0;
  double cvAllSys = 0.0, cvAllDia = 0.0, cvDaySys = 0.0, cvDayDia = 0.0;
  double cvNightSys = 0.0, cvNightDia = 0.0, aasi = 0.0;
};

struct ReportData {
  ReportHead head;
  ReportMainRecord main;
  ReportPatientPage patient;                // "1.rp"
  ReportStatisticsPage statistics;          // "2.rp"
  ReportSummaryPage summary;                // "3.rp"
  ReportReadingsPage readingsPage;          // "45.rp" and "11.rp" alike
  ReportHistogramPage histogram;            // "6.rp"
  ReportPiePage pie;                        // "7.rp"
  ReportCorrelationPage correlation;        // "8.rp"
  ReportHourlyPage hourly;                  // "9.rp"
  ReportThreeHistogramPage threeHistogram;  // "10.rp"
  ReportSpO2Page spo2;                      // "12.rp"
  ReportDiagnosisFacts diagnosis;
};

}  // namespace vesk
