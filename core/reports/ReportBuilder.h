#pragma once
// Filling the report data from an opened case, the head of the current report set and the
// configuration's thresholds: every statistic is computed afresh from the case's readings,
// so the report shows exactly what its own readings say.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "analysis/EventDetector.h"
#include "analysis/Extremes.h"
#include "cases/CaseRecord.h"
#include "language/Language.h"
#include "reports/ReportData.h"
#include "settings/ConfigTypes.h"

namespace vesk {

class CaseDocument;

// The parts of an opened case a report reads. The spans borrow from the case.
struct ReportCase {
  std::string casePath;
  _PATIENT_INFO patient;
  int32_t modelCode = 0, dataMode = 0;
  std::string modelName;
  std::span<const _BP_RECORD> readings;  // all readings in file order
  std::span<const _SPO2_SAMPLE> samples;
  OleDateTime spo2Start;
  int32_t awakeStart = 7 * 60, asleepStart = 22 * 60;  // minutes of the day
};

ReportCase ReportCaseOf(const CaseDocument& doc);
// A case record as a case file holds it: the periods from its plan, the SpO2 start from its
// SpO2 head.
ReportCase ReportCaseOf(const _FILE_ALL_INFO& info);

// What the report head needs of the case: the first and last reading with a real date.
ReportCaseFacts FactsOf(const ReportCase& c);

struct ReportOptions {
  Thresholds thresholds = kDefaultThresholds;
  RangeLimits limits;  // ranges of the pie page
  EventParams spo2Params;
  EventParams prParams{255, 10, 10, 8, 20, 220, 0, 0};
  // Events already found for the open case; the SpO2 variant 3 and a missing list make the
  // report detect them itself.
  const std::vector<EventRecord>* spo2Events = nullptr;
  const std::vector<EventRecord>* prEvents = nullptr;
};

// Sex 0 is "IDS_MAN", 1 "IDS_WOMAN" (section "Global Setting"); other values give "".
std::string SexText(int32_t sex, const CLanguage& language);

ReportData BuildReportData(const ReportCase& c, const ReportHead& head, const ReportOptions& o,
                           const CLanguage& language);

}  // namespace vesk
