#include "analysis/Correlation.h"

#include "analysis/Numeric.h"

namespace vesk {

int ComputeCorrelation(const ReadingRefs& analysed, int asleepStart, int awakeStart,
                       _BP_CORRELATION& out) {
  if (analysed.empty()) return 0;
  out = _BP_CORRELATION{};
  std::vector<double> sys, dia;
  sys.reserve(analysed.size());
  dia.reserve(analysed.size());
  int64_t sumSys = 0, sumDia = 0;
  for (const _BP_RECORD* r : analysed) {
    const SysDiaPair pair{r->sys, r->dia};
    (IsAsleep(*r, asleepStart, awakeStart) ? out.asleepPairs : out.awakePairs).push_back(pair);
    sys.push_back(r->sys);
    dia.push_back(r->dia);
    sumSys += r->sys;
    sumDia += r->dia;
  }
  LineFit line;
  if (FitLine(sys, dia, line)) {
    out.diaOnSysSlope = line.slope;
    out.diaOnSysIntercept = line.intercept;
    out.diaOnSysSet = true;
  }
  if (FitLine(dia, sys, line)) {
    out.sysOnDiaSlope = line.slope;
    out.sysOnDiaIntercept = line.intercept;
    out.sysOnDiaSet = true;
  }
  const int64_t n = static_cast<int64_t>(analysed.size());
  out.meanSys = static_cast<int32_t>(sumSys / n);
  out.meanDia = static_cast<int32_t>(sumDia / n);
  out.rSet = PearsonR(sys, dia, out.r);
  return 1;
}

int ComputeCorrelation(std::span<const _BP_RECORD> analysed, int asleepStart, int awakeStart,
                       _BP_CORRELATION& out) {
  return ComputeCorrelation(RefsOf(analysed), asleepStart, awakeStart, out);
}

}  // namespace vesk
