#pragma once
// Every figure of an analysed case in one record: the statistics, the report statistics with
// their indices, the clinical extras and the SpO2 summary. It is computed once per analysis
// of the case and read as it stands by the statistics window, the report builder and
// `vesk-cli case stats`, so the three can never disagree.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "analysis/ClinicalIndices.h"
#include "analysis/DayNight.h"
#include "analysis/EventDetector.h"
#include "analysis/ReportStatistics.h"
#include "analysis/SpO2Summary.h"
#include "analysis/Statistics.h"
#include "settings/ConfigTypes.h"

namespace vesk {

struct CaseFigures {
  _BP_STATISTICS statistics;
  _BP_REPORT_STATISTICS report;
  MorningSurge surge;
  Variability variability;
  Dipping dipping;  // with the "Low CR" and "High CR" of `thresholds`
  RecordingQuality quality;
  int32_t validCount = 0;  // valid readings, included or not
  Thresholds thresholds;   // what the loads and the dipping class were measured against
  // Only for a case with SpO2 samples; the summary follows the event list it was given.
  SpO2Summary spo2;
  bool spo2Set = false;
};

// The blood-pressure part of the record from lists already built (`readingCount`: all
// readings of the case, invalid and excluded ones too). The SpO2 part is left as it is: the
// samples do not change when readings or periods do.
void ComputeCaseFigures(const PeriodRefs& lists, int32_t readingCount, int asleepStart,
                        int awakeStart, const Thresholds& thresholds, CaseFigures& out);

// The SpO2 part: set from the samples and their desaturation events, cleared for a case
// without samples.
void ComputeSpO2Figures(std::span<const _SPO2_SAMPLE> samples, const EventParams& spo2Params,
                        const std::vector<EventRecord>& spo2Events, CaseFigures& out);

// The 41 figures of the report's statistics page, in the order its data file carries them.
enum class StatFigure : int32_t {
  AwakeSysLoad,
  AwakeDiaLoad,
  AsleepSysLoad,
  AsleepDiaLoad,
  WholeSysLoad,
  WholeDiaLoad,
  NightDipSys,
  NightDipDia,
  HourlyRatioSys,
  HourlyRatioDia,
  SdWholeSys,
  SdWholeDia,
  SdWholePr,
  SdWholeMap,
  SdAwakeSys,
  SdAwakeDia,
  SdAwakePr,
  SdAwakeMap,
  SdAsleepSys,
  SdAsleepDia,
  SdAsleepPr,
  SdAsleepMap,
  CvWholeSys,
  CvWholeDia,
  CvWholePr,
  CvWholeMap,
  CvAwakeSys,
  CvAwakeDia,
  CvAwakePr,
  CvAwakeMap,
  CvAsleepSys,
  CvAsleepDia,
  CvAsleepPr,
  CvAsleepMap,
  R,
  DiaOnSysSlope,
  DiaOnSysIntercept,
  SysOnDiaSlope,
  SysOnDiaIntercept,
  Aasi,
  SurgeSleepTrough,
  Count,
};

inline constexpr int kStatFigureCount = static_cast<int>(StatFigure::Count);
static_assert(kStatFigureCount == 41, "the statistics page file carries 41 figures");

struct StatFigureList {
  std::array<double, kStatFigureCount> values{};
  double& operator[](StatFigure f) { return values[static_cast<size_t>(f)]; }
  double operator[](StatFigure f) const { return values[static_cast<size_t>(f)]; }
};

// The 41 figures taken from the record by name.
[[nodiscard]] StatFigureList StatFiguresOf(const CaseFigures& figures);

}  // namespace vesk
