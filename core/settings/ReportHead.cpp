#include "settings/ReportHead.h"

#include <cmath>

namespace vesk {

namespace {
// Days before the epoch keep the time of day as a positive fraction (-1.25 is 06:00 on 29 December
// 1899), so their difference must be taken on a linear scale.
double LinearDays(double days) {
  if (days >= 0) return days;
  const double whole = std::trunc(days);
  return whole - (days - whole);
}
}  // namespace

int64_t WholeHoursBetween(const OleDateTime& first, const OleDateTime& last) {
  const double span = LinearDays(last.days) - LinearDays(first.days);
  return static_cast<int64_t>(std::floor(span * 24.0 + 5.787037037037037e-6));
}

int32_t RecordingLengthFlag(size_t readingCount, const OleDateTime& first,
                            const OleDateTime& last) {
  if (readingCount <= 1 || !first.IsValid() || !last.IsValid()) return 1;
  const int64_t hours = WholeHoursBetween(first, last);
  return hours >= 1 && hours <= 72 ? 0 : 1;
}

ReportHead MakeReportHead(const CConfigFile& config, const CLanguage& language,
                          const ReportCaseFacts& facts) {
  const ReportSettings& set = config.report;
  ReportHead head;
  for (int i = 0; i < kReportPageCount; ++i) head.pages[size_t(i)] = set.pages[size_t(i)] != 0;
  if (set.Spo2PagePresent() && facts.hasSpO2) {
    head.pages[kSpo2ReportPage] = 1;
    head.spo2Variant = set.spo2Page;
  }
  head.aasi = set.aasi;
  head.smoothIndex = set.smoothIndex;
  head.morningSurge = set.morningSurge;
  head.title =
      config.currentReportName.empty() ? language.GetText("Title", "IDS_TITLE_RPT") : set.title;
  head.recordingLength =
      RecordingLengthFlag(facts.readingCount, facts.firstReading, facts.lastReading);
  return head;
}

}  // namespace vesk
