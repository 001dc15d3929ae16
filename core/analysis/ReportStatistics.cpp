#include "analysis/ReportStatistics.h"

#include <cmath>
#include <cstdint>

#include "analysis/Numeric.h"

namespace vesk {

namespace {
void Share(int32_t count, int32_t total, double& share) {
  if (total != 0) share = static_cast<double>(count) / total;
}

// Mean over population SD of a profile; false when the mean or the relative spread is near
// zero, so a flat or one-hour profile has no ratio.
bool ProfileRatio(const std::vector<int32_t>& profile, double& ratio) {
  if (profile.empty()) return false;
  const std::vector<double> x(profile.begin(), profile.end());
  const double m = Mean(x);
  if (std::fabs(m) < kNearZero) return false;
  const double s = PopulationSd(x);
  if (IsNearZero(s / m)) return false;
  ratio = m / s;
  return true;
}

void Spread(const ReadingRefs& list, SpreadFigures& sd, SpreadFigures& se, SpreadFigures& cv) {
  if (list.empty()) return;
  const Quantity qs[4] = {Quantity::Sys, Quantity::Dia, Quantity::Pr, Quantity::Map};
  double* sdOut[4] = {&sd.sys, &sd.dia, &sd.pr, &sd.map};
  double* seOut[4] = {&se.sys, &se.dia, &se.pr, &se.map};
  double* cvOut[4] = {&cv.sys, &cv.dia, &cv.pr, &cv.map};
  std::vector<double> x(list.size());
  const double rootN = std::sqrt(static_cast<double>(list.size()));
  for (int k = 0; k < 4; ++k) {
    for (size_t i = 0; i < list.size(); ++i) x[i] = ValueOf(*list[i], qs[k]);
    const double s = PopulationSd(x);
    const double m = Mean(x);
    *sdOut[k] = s;
    *seOut[k] = s / rootN;
    if (!IsNearZero(m)) *cvOut[k] = s / m;
  }
}

// The whole part of (v + 0.5), kept inside the int32 range.
int32_t RoundHalf(double v) {
  const double w = std::trunc(v + 0.5);
  if (!(w > -2147483648.0)) return INT32_MIN;
  if (!(w < 2147483647.0)) return INT32_MAX;
  return static_cast<int32_t>(w);
}

// True when every (SYS, DIA) pair lies on the line through the first two distinct pairs. With
// a 32-bit SYS and a 16-bit DIA each cross product stays below 2^50, exact in int64.
static_assert(sizeof(_BP_RECORD::dia) == 2, "the cross products below assume a 16-bit DIA");
bool OnOneLine(const ReadingRefs& list) {
  if (list.empty()) return true;
  const int64_t x0 = list.front()->sys, y0 = list.front()->dia;
  int64_t dx = 0, dy = 0;
  for (const _BP_RECORD* r : list) {
    const int64_t ex = int64_t{r->sys} - x0, ey = int64_t{r->dia} - y0;
    if (dx == 0 && dy == 0) {
      dx = ex;
      dy = ey;
    } else if (dx * ey != dy * ex) {
      return false;
    }
  }
  return true;
}
}  // namespace

void ComputeLoadsAndDips(const _BP_STATISTICS& st, _BP_REPORT_STATISTICS& out) {
  Share(st.awakeSysLoadCount, st.awakeCount, out.awakeSysLoad);
  Share(st.awakeDiaLoadCount, st.awakeCount, out.awakeDiaLoad);
  Share(st.asleepSysLoadCount, st.asleepCount, out.asleepSysLoad);
  Share(st.asleepDiaLoadCount, st.asleepCount, out.asleepDiaLoad);
  Share(st.sysLoadCount, st.analysedCount, out.wholeSysLoad);
  Share(st.diaLoadCount, st.analysedCount, out.wholeDiaLoad);

  const double awakeSys = st.awake[Quantity::Sys].mean;
  const double awakeDia = st.awake[Quantity::Dia].mean;
  // Without asleep readings there is nothing to compare: a dip against asleep means of 0
  // would report a 100 % fall for a recording that never saw the night.
  if (awakeSys != 0.0 && awakeDia != 0.0 && st.asleepCount > 0) {
    out.nightDipSys = (awakeSys - st.asleep[Quantity::Sys].mean) / awakeSys;
    out.nightDipDia = (awakeDia - st.asleep[Quantity::Dia].mean) / awakeDia;
    out.nightDipSet = true;
  }
}

void ComputeHourlyProfile(const ReadingRefs& readings, _BP_REPORT_STATISTICS& out) {
  out.hourlyHours.clear();
  out.hourlySys.clear();
  out.hourlyDia.clear();
  if (readings.empty()) return;
  int64_t sumSys[24] = {}, sumDia[24] = {};
  int64_t count[24] = {};
  for (const _BP_RECORD* r : readings) {
    if (r->hour < 0 || r->hour > 23) continue;
    sumSys[r->hour] += r->sys;
    sumDia[r->hour] += r->dia;
    ++count[r->hour];
  }
  for (int h = 0; h < 24; ++h) {
    if (count[h] == 0) continue;
    out.hourlyHours.push_back(h);
    out.hourlySys.push_back(static_cast<int32_t>(sumSys[h] / count[h]));
    out.hourlyDia.push_back(static_cast<int32_t>(sumDia[h] / count[h]));
  }
  out.hourlyRatioSysSet = ProfileRatio(out.hourlySys, out.hourlyRatioSys);
  out.hourlyRatioDiaSet = ProfileRatio(out.hourlyDia, out.hourlyRatioDia);
}

void ComputeReportIndices(const PeriodRefs& lists, _BP_REPORT_STATISTICS& out) {
  Spread(lists.awake, out.sdAwake, out.seAwake, out.cvAwake);
  Spread(lists.asleep, out.sdAsleep, out.seAsleep, out.cvAsleep);
  Spread(lists.analysed, out.sdWhole, out.seWhole, out.cvWhole);
  if (lists.analysed.empty()) return;

  std::vector<double> sys, dia;
  sys.reserve(lists.analysed.size());
  dia.reserve(lists.analysed.size());
  for (const _BP_RECORD* r : lists.analysed) {
    sys.push_back(r->sys);
    dia.push_back(r->dia);
  }
  LineFit line;
  if (FitLine(sys, dia, line)) {
    out.diaOnSysSlope = line.slope;
    out.diaOnSysIntercept = line.intercept;
    out.diaOnSysSet = true;
    // The stiffness index only means something when the line exists; 1 - 0 would be a
    // plausible-looking figure made from nothing.
    out.aasi = 1.0 - line.slope;
    out.aasiSet = true;
  }
  if (FitLine(dia, sys, line)) {
    out.sysOnDiaSlope = line.slope;
    out.sysOnDiaIntercept = line.intercept;
    out.sysOnDiaSet = true;
  }
  out.rSet = PearsonR(sys, dia, out.r);

  // Where DIA = d*SYS + c meets SYS = b*DIA + a. Without both lines there is no crossing.
  if (out.diaOnSysSet && out.sysOnDiaSet) {
    // Both least-squares lines pass through the point of means, so a + b*c = meanSys * D and
    // c + d*a = meanDia * D with D = 1 - b*d = 1 - r*r: dividing by D leaves the means for
    // every D > 0. Evaluating the quotient as written turns a D near rounding size into
    // noise, so the cancelled form is used. D is 0 exactly when the readings lie on one
    // straight line; that is decided in integers because a computed 1 - b*d of such readings
    // lands a hair either side of 0.
    if (!OnOneLine(lists.analysed)) {
      out.crossSys = RoundHalf(Mean(sys));
      out.crossDia = RoundHalf(Mean(dia));
      out.crossSet = true;
    }
  }
}

void ComputeReportStatistics(const PeriodRefs& lists, const _BP_STATISTICS& stats,
                             _BP_REPORT_STATISTICS& out) {
  out = _BP_REPORT_STATISTICS{};
  ComputeLoadsAndDips(stats, out);
  ComputeHourlyProfile(lists.analysed, out);
  ComputeReportIndices(lists, out);
}

void ComputeReportStatistics(std::span<const _BP_RECORD> readings, const _BP_STATISTICS& stats,
                             int asleepStart, int awakeStart, _BP_REPORT_STATISTICS& out) {
  ComputeReportStatistics(BuildPeriodRefs(readings, asleepStart, awakeStart), stats, out);
}

}  // namespace vesk
