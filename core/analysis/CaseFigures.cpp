#include "analysis/CaseFigures.h"

namespace vesk {

void ComputeCaseFigures(const PeriodRefs& lists, int32_t readingCount, int asleepStart,
                        int awakeStart, const Thresholds& thresholds, CaseFigures& out) {
  ComputeStatistics(lists, readingCount, thresholds, out.statistics);
  ComputeReportStatistics(lists, out.statistics, out.report);
  out.surge = ComputeMorningSurge(lists, awakeStart);
  out.variability = ComputeVariability(lists, asleepStart, awakeStart);
  out.dipping = ComputeDipping(out.statistics, thresholds.lowCR, thresholds.highCR);
  out.quality = ComputeRecordingQuality(readingCount, lists);
  out.validCount = lists.validCount;
  out.thresholds = thresholds;
}

void ComputeSpO2Figures(std::span<const _SPO2_SAMPLE> samples, const EventParams& spo2Params,
                        const std::vector<EventRecord>& spo2Events, CaseFigures& out) {
  out.spo2 = SpO2Summary{};
  out.spo2Set = !samples.empty();
  if (out.spo2Set) out.spo2 = ComputeSpO2Summary(samples, &spo2Params, spo2Events);
}

StatFigureList StatFiguresOf(const CaseFigures& k) {
  using F = StatFigure;
  const _BP_REPORT_STATISTICS& rs = k.report;
  StatFigureList f;
  f[F::AwakeSysLoad] = rs.awakeSysLoad;
  f[F::AwakeDiaLoad] = rs.awakeDiaLoad;
  f[F::AsleepSysLoad] = rs.asleepSysLoad;
  f[F::AsleepDiaLoad] = rs.asleepDiaLoad;
  f[F::WholeSysLoad] = rs.wholeSysLoad;
  f[F::WholeDiaLoad] = rs.wholeDiaLoad;
  f[F::NightDipSys] = rs.nightDipSys;
  f[F::NightDipDia] = rs.nightDipDia;
  f[F::HourlyRatioSys] = rs.hourlyRatioSys;
  f[F::HourlyRatioDia] = rs.hourlyRatioDia;

  // Each spread group is four figures in a row: SYS, DIA, PR, MAP.
  const auto group = [&f](F first, const SpreadFigures& s) {
    const auto at = [first](int k) { return static_cast<F>(static_cast<int>(first) + k); };
    f[at(0)] = s.sys;
    f[at(1)] = s.dia;
    f[at(2)] = s.pr;
    f[at(3)] = s.map;
  };
  group(F::SdWholeSys, rs.sdWhole);
  group(F::SdAwakeSys, rs.sdAwake);
  group(F::SdAsleepSys, rs.sdAsleep);
  group(F::CvWholeSys, rs.cvWhole);
  group(F::CvAwakeSys, rs.cvAwake);
  group(F::CvAsleepSys, rs.cvAsleep);

  f[F::R] = rs.r;
  f[F::DiaOnSysSlope] = rs.diaOnSysSlope;
  f[F::DiaOnSysIntercept] = rs.diaOnSysIntercept;
  f[F::SysOnDiaSlope] = rs.sysOnDiaSlope;
  f[F::SysOnDiaIntercept] = rs.sysOnDiaIntercept;
  f[F::Aasi] = rs.aasi;
  f[F::SurgeSleepTrough] = k.surge.sleepTrough;
  return f;
}

}  // namespace vesk
