// The graph, histogram, correlation, hourly and SpO2 pages of the report data.
#include <algorithm>
#include <cmath>

#include "analysis/Numeric.h"
#include "analysis/SpO2Summary.h"
#include "reports/ReportBuildSteps.h"

namespace vesk::reportbuild {

namespace {

int16_t Clamp16(int64_t v) {
  return static_cast<int16_t>(std::clamp<int64_t>(v, -32768, 32767));
}

bool IsLoad(const _BP_RECORD& r, int32_t sysThr, int32_t diaThr) {
  return r.sys > sysThr || r.dia > diaThr;
}

// Count, sums and extremes of small integer values; the sums stay exact in 64 bits for any
// series the recorders can hold, so the SD needs no second pass over a kept copy.
struct Moments {
  int64_t n = 0, sum = 0, sumSq = 0;
  int32_t lowest = 0, highest = 0;
  void Add(int32_t v) {
    if (n == 0 || v < lowest) lowest = v;
    if (n == 0 || v > highest) highest = v;
    ++n, sum += v, sumSq += int64_t(v) * v;
  }
  double Mean() const { return n ? double(sum) / double(n) : 0.0; }
  double Sd() const {
    if (n == 0) return 0.0;
    return std::sqrt(double(n * sumSq - sum * sum)) / double(n);
  }
};

ReportEventItem EventItemOf(const EventRecord& e) {
  ReportEventItem item;
  item.startSecond = e.startTime / 1000;
  item.durationSeconds = Clamp16((int64_t(e.endTime) - e.startTime) / 1000);
  item.startValue = static_cast<uint8_t>(std::clamp(e.startValue, 0, 255));
  item.change = static_cast<int8_t>(std::clamp(e.change, -128, 127));
  return item;
}

std::array<int32_t, 6> PartsOf(const OleDateTime& t) {
  DateParts p;
  if (!t.ToParts(p)) return {};
  return {p.year, p.month, p.day, p.hour, p.minute, p.second};
}

std::array<int32_t, 8> ParamsOf(const EventParams& e) {
  return {e.maxTime,  e.minTime,   e.leastChange, e.rateLimit,
          e.lowValid, e.highValid, e.swing,       e.criterion};
}

// Share of the analysed readings in each class of `width` from `start`.
template <size_t N>
void Classes(const ReadingRefs& list, Quantity q, int32_t start, std::array<double, N>& out) {
  out.fill(0.0);
  if (list.empty()) return;
  for (const _BP_RECORD* r : list) {
    const int32_t v = ValueOf(*r, q);
    if (v <= start) continue;
    const int64_t k = (int64_t{v} - start - 1) / kHistogramClassWidth;
    if (k < int64_t(N)) out[size_t(k)] += 1.0;
  }
  for (double& share : out) share /= double(list.size());
}

ReportPieGroup PieOf(const ExtremeGroup& g, int32_t low, int32_t high, double sd,
                     const ReadingRefs& list, Quantity q) {
  ReportPieGroup p;
  p.below = g.below, p.within = g.within, p.above = g.above;
  p.low = low, p.high = high;
  for (const _BP_RECORD* r : list) {
    const int32_t v = ValueOf(*r, q);
    ++(v < low ? p.countBelow : v > high ? p.countAbove : p.countWithin);
  }
  p.count = static_cast<int32_t>(list.size());
  p.mean = g.mean;
  p.sd = sd;
  p.highest = g.maxValue, p.highestHour = g.maxHour, p.highestMinute = g.maxMinute;
  p.lowest = g.minValue, p.lowestHour = g.minHour, p.lowestMinute = g.minMinute;
  return p;
}

}  // namespace

void FillReadingsPage(const ReportCase& c, const ReportOptions& o, ReportReadingsPage& out) {
  const Thresholds& t = o.thresholds;
  out.items.clear();
  out.items.reserve(c.readings.size());
  for (const _BP_RECORD& r : c.readings) {
    ReportReadingItem i;
    i.index = r.index, i.year = r.year;
    i.month = r.month, i.day = r.day, i.hour = r.hour, i.minute = r.minute, i.seconds = r.seconds;
    i.sys = r.sys, i.mark = r.mark, i.included = r.included;
    i.dia = r.dia, i.map = r.map, i.pr = r.pr, i.spo2 = r.spo2, i.errorCode = r.errorCode;
    i.secondCode = r.secondCode;
    const bool valid = IsValidReading(r);
    const bool asleep = IsAsleep(r, c.asleepStart, c.awakeStart);
    i.flags = (valid ? 1 : 0) | (asleep ? 2 : 0);
    if (valid && r.included) {
      if (!asleep && IsLoad(r, t.awakeSys, t.awakeDia)) i.flags |= 4;
      if (asleep && IsLoad(r, t.asleepSys, t.asleepDia)) i.flags |= 8;
    }
    i.comment = r.comment;
    out.items.push_back(std::move(i));
  }
  out.awakeStart = c.awakeStart, out.asleepStart = c.asleepStart;
  out.awakeSysThreshold = t.awakeSys, out.awakeDiaThreshold = t.awakeDia;
  out.asleepSysThreshold = t.asleepSys, out.asleepDiaThreshold = t.asleepDia;
}

void FillHistogramPages(const Computed& k, ReportHistogramPage& six,
                        ReportThreeHistogramPage& ten) {
  six.sys = k.distribution.sys;
  six.dia = k.distribution.dia;
  six.pr = k.distribution.pr;
  Classes(k.refs.analysed, Quantity::Pr, ten.prStart, ten.pr);
  Classes(k.refs.analysed, Quantity::Map, ten.mapStart, ten.map);
  Classes(k.refs.analysed, Quantity::Pp, ten.ppStart, ten.pp);
}

void FillPiePage(const Computed& k, const RangeLimits& l, ReportPiePage& out) {
  const ReadingRefs& a = k.refs.analysed;
  out.sys = PieOf(k.extremes.sys, l.sysLow, l.sysHigh, k.fig.report.sdWhole.sys, a, Quantity::Sys);
  out.dia = PieOf(k.extremes.dia, l.diaLow, l.diaHigh, k.fig.report.sdWhole.dia, a, Quantity::Dia);
  out.pr = PieOf(k.extremes.pr, l.prLow, l.prHigh, k.fig.report.sdWhole.pr, a, Quantity::Pr);
}

void FillCorrelationPage(const Computed& k, ReportCorrelationPage& out) {
  const _BP_CORRELATION& c = k.correlation;
  out.diaOnSysSlope = c.diaOnSysSlope, out.diaOnSysIntercept = c.diaOnSysIntercept;
  out.sysOnDiaSlope = c.sysOnDiaSlope, out.sysOnDiaIntercept = c.sysOnDiaIntercept;
  out.r = c.r;
  out.awake = c.awakePairs;
  out.asleep = c.asleepPairs;
}

void FillHourlyPage(const ReportCase& c, const Computed& k, ReportHourlyPage& out) {
  out.awakeStart = c.awakeStart, out.asleepStart = c.asleepStart;
  out.hourlyRatioSys = k.fig.report.hourlyRatioSys,
  out.hourlyRatioDia = k.fig.report.hourlyRatioDia;
  out.arvSys = k.fig.variability.arvSys, out.arvDia = k.fig.variability.arvDia;
  const _BP_RECORD* first = nullptr;
  for (const _BP_RECORD* r : k.refs.analysed)
    if (IsValidDate(r->year, r->month, r->day, r->hour, r->minute)) {
      first = r;
      break;
    }
  if (!first) return;
  out.year = first->year, out.month = first->month, out.day = first->day, out.hour = first->hour;
  const int64_t origin = MinuteStamp(first->year, first->month, first->day, first->hour, 0);
  std::array<int64_t, kReportHours> sys{}, dia{}, pr{};
  for (const _BP_RECORD* r : k.refs.analysed) {
    if (!IsValidDate(r->year, r->month, r->day, r->hour, r->minute)) continue;
    // Readings moved before the first one by a clock reset belong to no hour of the page.
    const int64_t minutes = MinuteStamp(r->year, r->month, r->day, r->hour, r->minute) - origin;
    if (minutes < 0) continue;
    const int64_t h = minutes / 60;
    if (h >= kReportHours) {
      out.truncated = 1;
      continue;
    }
    sys[size_t(h)] += r->sys, dia[size_t(h)] += r->dia, pr[size_t(h)] += r->pr;
    ++out.count[size_t(h)];
    out.hourCount = std::max<int32_t>(out.hourCount, int32_t(h) + 1);
  }
  for (size_t h = 0; h < size_t(kReportHours); ++h) {
    if (out.count[h] == 0) continue;
    out.sys[h] = int32_t(sys[h] / out.count[h]);
    out.dia[h] = int32_t(dia[h] / out.count[h]);
    out.pr[h] = int32_t(pr[h] / out.count[h]);
  }
}

void FillSpO2Page(const ReportCase& c, const ReportHead& head, const ReportOptions& o,
                  ReportSpO2Page& out) {
  out.samples.assign(c.samples.begin(), c.samples.end());
  std::vector<EventRecord> spo2Events, prEvents;
  if (head.spo2Variant == 3 || !o.spo2Events)
    DetectSpO2Events(c.samples, &o.spo2Params, spo2Events);
  else
    spo2Events = *o.spo2Events;
  if (head.spo2Variant == 3 || !o.prEvents)
    DetectPulseRateEvents(c.samples, &o.prParams, prEvents);
  else
    prEvents = *o.prEvents;
  for (const EventRecord& e : spo2Events) out.spo2Events.push_back(EventItemOf(e));
  for (const EventRecord& e : prEvents) out.prEvents.push_back(EventItemOf(e));
  out.start = PartsOf(c.spo2Start);
  if (!c.samples.empty()) out.end = PartsOf(c.spo2Start.AddSeconds(c.samples.back().offset));
  out.variant = head.spo2Variant;
  out.spo2EventCount = static_cast<int32_t>(spo2Events.size());
  out.prEventCount = static_cast<int32_t>(prEvents.size());
  out.spo2Params = ParamsOf(o.spo2Params);
  out.prParams = ParamsOf(o.prParams);

  const SpO2Summary sum = ComputeSpO2Summary(c.samples, &o.spo2Params, spo2Events);
  out.validSeconds = sum.validSeconds;
  out.lowestSpO2 = sum.lowest;
  out.secondsBelow90 = sum.secondsBelow90;
  out.figures = (sum.odiSet ? 1 : 0) | (sum.valuesSet ? 2 : 0);

  Moments spo2, pr;
  int32_t below85 = 0, below80 = 0, prHigh = 0, prLow = 0;
  ForEachGridSample(c.samples, [&](int32_t, const _SPO2_SAMPLE& s) {
    if (s.spo2 <= 100) ++out.secondsAtValue[s.spo2];
    if (s.spo2 >= o.spo2Params.lowValid && s.spo2 <= o.spo2Params.highValid) {
      spo2.Add(s.spo2);
      below85 += s.spo2 < 85, below80 += s.spo2 < 80;
    }
    if (s.pr >= o.prParams.lowValid && s.pr <= o.prParams.highValid) {
      pr.Add(s.pr);
      prHigh += s.pr > 100, prLow += s.pr < 60;
    }
  });
  out.highestSpO2 = spo2.highest;
  const double n = double(spo2.n);
  out.spo2Figures = {sum.mean,
                     spo2.Sd(),
                     sum.odi,
                     sum.validHours,
                     sum.shareBelow90,
                     n > 0 ? below85 / n : 0.0,
                     n > 0 ? below80 / n : 0.0};
  if (pr.n > 0) {
    const double m = double(pr.n);
    out.prFigures = {pr.Mean(),
                     pr.Sd(),
                     out.prEventCount / (m / 3600.0),
                     double(pr.lowest),
                     double(pr.highest),
                     prHigh / m,
                     prLow / m};
  }
}

}  // namespace vesk::reportbuild
