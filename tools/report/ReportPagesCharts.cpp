// The chart pages: the program's own chart renderers painted straight into the report, so
// the PDF holds vector drawings at the printer's resolution, and the few figures that have
// no screen chart (hour by hour, PR/MAP/PP classes) drawn here in the same style.
#include <QtGui/QFontMetricsF>
#include <QtGui/QPainterPath>
#include <algorithm>
#include <cmath>

#include "ReportPages.h"
#include "ReportPagesCharts.h"
#include "charts/ChartHost.h"
#include "charts/TrendMath.h"

namespace vesk::report {

ChartSource SourceOf(const ReportModel& m, const ReportTexts& t) {
  const ReportData& d = m.data;
  ChartSource s;
  s.readings = &m.readings;
  s.analysis = &m.analysis;
  s.samples = &m.samples;
  s.spo2Start = m.spo2Start;
  s.spo2End = m.spo2End;
  s.limits.awakeStart = d.main.awakeStart;
  s.limits.asleepStart = d.main.asleepStart;
  // The thresholds travel with several pages; any one that was written will do.
  if (m.Selected(PageIndex(ReportPageId::ColourGraph)) ||
      m.Selected(PageIndex(ReportPageId::BarGraph)) || m.Selected(PageIndex(ReportPageId::Data))) {
    const ReportReadingsPage& r = d.readingsPage;
    s.limits.awakeSys = r.awakeSysThreshold, s.limits.awakeDia = r.awakeDiaThreshold;
    s.limits.asleepSys = r.asleepSysThreshold, s.limits.asleepDia = r.asleepDiaThreshold;
  } else if (m.Selected(PageIndex(ReportPageId::Statistics))) {
    const ReportStatisticsPage& r = d.statistics;
    s.limits.awakeSys = r.awakeSysThreshold, s.limits.awakeDia = r.awakeDiaThreshold;
    s.limits.asleepSys = r.asleepSysThreshold, s.limits.asleepDia = r.asleepDiaThreshold;
  }
  s.multiDay = d.main.recordingLength == 1 && m.readings.size() > 1;
  s.language = &t.Language();
  s.period = Period::All;
  s.ranges.sysLow = d.pie.sys.low, s.ranges.sysHigh = d.pie.sys.high;
  s.ranges.diaLow = d.pie.dia.low, s.ranges.diaHigh = d.pie.dia.high;
  s.ranges.prLow = d.pie.pr.low, s.ranges.prHigh = d.pie.pr.high;
  return s;
}

namespace {

// Paints with the chart's own coordinates `scale` times larger than the box, so that a chart
// whose axis cannot be squeezed further still fits.
template <class Fn>
void Scaled(QPainter& p, const QRectF& box, double scale, Fn paint) {
  p.save();
  p.translate(box.topLeft());
  p.scale(1.0 / scale, 1.0 / scale);
  const QRect client(0, 0, int(box.width() * scale), int(box.height() * scale));
  // Captions the charts set just above their client stay visible.
  p.setClipRect(client.adjusted(0, -int(18 * scale), 0, 0));
  paint(client);
  p.restore();
}

void PaintKind(const ReportModel& m, const ReportTexts& t, QPainter& p, const QRectF& box, int kind,
               double scale = 1.0) {
  ChartHost host;
  host.SetCase(SourceOf(m, t));
  host.SetKind(kind);
  Scaled(p, box, scale, [&](const QRect& client) {
    p.fillRect(client, Qt::white);
    host.Paint(p, client, true);
  });
}

// Twelve hours a line: the hour, SYS/DIA and the number of readings.
void PaintHourGrid(PageContext& c, Canvas& k) {
  const std::vector<HourMean>& hours = c.m.hours;
  if (hours.empty()) return;
  k.Heading(c.t.T("IDS_HOURLY_MEANS"));
  constexpr int kPerLine = 12;
  const double cellW = k.Width() / kPerLine, cellH = 30;
  QPainter& p = c.p;
  p.save();
  const int lines = int((hours.size() + kPerLine - 1) / kPerLine);
  const bool manyDays = hours.front().day != hours.back().day ||
                        hours.front().month != hours.back().month ||
                        hours.front().year != hours.back().year;
  for (int line = 0; line < lines && k.Remaining() >= cellH; ++line) {
    const double y = k.Y();
    for (int i = 0; i < kPerLine; ++i) {
      const size_t at = size_t(line * kPerLine + i);
      if (at >= hours.size()) break;
      const HourMean& h = hours[at];
      const QRectF cell(k.Left() + i * cellW, y, cellW, cellH);
      p.fillRect(cell.adjusted(1, 1, -1, -1),
                 h.asleep ? QColor(226, 230, 245) : QColor(250, 244, 225));
      p.setPen(QColor(80, 80, 80));
      p.setFont(ReportFont(kSmallPx - 1));
      QString label = QStringLiteral("%1h (%2)").arg(h.hour, 2, 10, QLatin1Char('0')).arg(h.count);
      // Over several days the same hour comes back: the first hour of each day and of each
      // line shows its date instead of the count.
      const bool newDay = at == 0 || i == 0 || hours[at - 1].day != h.day;
      if (manyDays && newDay)
        label = QStringLiteral("%1-%2 %3h")
                    .arg(h.month, 2, 10, QLatin1Char('0'))
                    .arg(h.day, 2, 10, QLatin1Char('0'))
                    .arg(h.hour, 2, 10, QLatin1Char('0'));
      DrawFitted(p, QRectF(cell.left() + 3, y + 1, cellW - 6, 13), label);
      p.setPen(Qt::black);
      p.setFont(ReportFont(kSmallPx, true));
      DrawFitted(p, QRectF(cell.left() + 3, y + 14, cellW - 6, 14),
                 QStringLiteral("%1/%2").arg(std::lround(h.sys)).arg(std::lround(h.dia)));
    }
    k.Space(cellH);
  }
  p.restore();
}

// Minutes between the first and the last valid reading.
double SpanMinutes(const std::vector<_BP_RECORD>& readings) {
  const TrendScan scan = ScanReadings(readings);
  if (scan.validCount < 2) return 0.0;
  const OleDateTime a = ReadingTime(readings[size_t(scan.firstValid)]);
  const OleDateTime b = ReadingTime(readings[size_t(scan.lastValid)]);
  return std::abs(b.days - a.days) * 1440.0;
}

void AxisFrame(QPainter& p, const QRectF& plot, double lo, double hi, double step,
               const QString& unit) {
  p.setPen(QPen(QColor(200, 200, 200), 0.5));
  p.setFont(ReportFont(kSmallPx - 1));
  for (double v = lo; v <= hi + 1e-9; v += step) {
    const double y = plot.bottom() - (v - lo) / (hi - lo) * plot.height();
    p.setPen(QPen(QColor(215, 215, 215), 0.5));
    p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    p.setPen(QColor(60, 60, 60));
    p.drawText(QRectF(plot.left() - 36, y - 7, 32, 14), Qt::AlignRight | Qt::AlignVCenter,
               QString::number(v, 'f', 0));
  }
  p.setPen(QPen(Qt::black, 0.8));
  p.drawRect(plot);
  p.drawText(QRectF(plot.left() - 40, plot.top() - 16, 80, 14), Qt::AlignLeft, unit);
}

// Shares per class as bars, the x labels every few classes.
void ClassBars(QPainter& p, const QRectF& box, const QString& title, int start, int width,
               const double* shares, int n, const QColor& colour) {
  p.save();
  p.setFont(ReportFont(kBodyPx, true));
  p.setPen(Qt::black);
  DrawFitted(p, QRectF(box.left(), box.top(), box.width(), 16), title);
  const QRectF plot(box.left() + 40, box.top() + 34, box.width() - 50, box.height() - 56);
  double top = 0.0;
  for (int i = 0; i < n; ++i) top = std::max(top, shares[i]);
  const double hi = std::max(0.1, std::ceil(top * 10.0) / 10.0);
  AxisFrame(p, plot, 0, hi * 100, hi * 100 / 5, QStringLiteral("%"));
  const double bw = plot.width() / n;
  p.setPen(QPen(colour.darker(140), 0.5));
  p.setBrush(colour);
  p.setFont(ReportFont(kSmallPx - 1.5));
  for (int i = 0; i < n; ++i) {
    const double h = shares[i] / hi * plot.height();
    if (h > 0) p.drawRect(QRectF(plot.left() + i * bw + 1, plot.bottom() - h, bw - 2, h));
    if (i % 4 == 0) {
      p.setPen(QColor(60, 60, 60));
      p.drawText(QRectF(plot.left() + i * bw - 10, plot.bottom() + 2, 30, 12), Qt::AlignLeft,
                 QString::number(start + i * width));
      p.setPen(QPen(colour.darker(140), 0.5));
    }
  }
  p.restore();
}

}  // namespace

void PaintTrend(PageContext& c, Canvas& k, int mode) {
  const ReportModel& m = c.m;
  ChartHost host;
  const ChartSource source = SourceOf(m, c.t);
  host.SetCase(source);
  BpTrendChart& trend = host.Trend();
  trend.SetBackground(Qt::white);
  if (!source.multiDay) trend.SetDisplayMode(mode);
  const QRectF box = k.Take(std::min(430.0, k.Remaining() * 0.62));
  // The whole recording across the page: the time zoom that fits it, and where the chart
  // refuses so small a zoom, a larger chart painted smaller.
  const double span = SpanMinutes(m.readings);
  double scale = 1.0;
  if (span > 0 && trend.DisplayMode() != 3) {
    double zoom = (box.width() * 0.92 - 30) / span * 0.98;
    if (zoom < 0.21) {
      scale = 0.21 / zoom;
      zoom = 0.21;
    }
    if (!trend.SetTimeZoom(std::min(zoom, 10.0))) trend.SetTimeZoom(1.0);
  }
  Scaled(c.p, box, scale, [&](const QRect& client) {
    c.p.fillRect(client, Qt::white);
    host.Paint(c.p, client, true);
  });
  k.Space(6);
  PaintHourGrid(c, k);
}

void PaintHistogram(PageContext& c, Canvas& k) {
  PaintKind(c.m, c.t, c.p, k.Take(std::min(560.0, k.Remaining())), kChartHistogram);
}

void PaintPie(PageContext& c, Canvas& k) {
  // The pie legend is laid out for a window wider than a sheet: drawn larger and shrunk, its
  // five entries keep apart.
  PaintKind(c.m, c.t, c.p, k.Take(std::min(360.0, k.Remaining())), kChartPie, 1.4);
  const ReportPiePage& pie = c.m.data.pie;
  auto row = [&](const QString& name, const ReportPieGroup& g) {
    auto part = [&](int n, double share) {
      return QStringLiteral("%1 (%2)").arg(n).arg(Percent(share));
    };
    return std::vector<QString>{name,
                                QStringLiteral("%1 – %2").arg(g.low).arg(g.high),
                                part(g.countBelow, g.below),
                                part(g.countWithin, g.within),
                                part(g.countAbove, g.above),
                                QStringLiteral("%1 ± %2").arg(g.mean).arg(Num(g.sd))};
  };
  k.Space(8);
  k.Table({{c.t.T("IDS_VALUE"), 0.14, Qt::AlignLeft | Qt::AlignVCenter},
           {c.t.T("IDS_RANGE"), 0.14},
           {c.t.T("IDS_BELOW"), 0.18},
           {c.t.T("IDS_WITHIN"), 0.18},
           {c.t.T("IDS_ABOVE"), 0.18},
           {c.t.T("IDS_MEAN_SD"), 0.18}},
          {row(c.t.T("IDS_SYS"), pie.sys), row(c.t.T("IDS_DIA"), pie.dia),
           row(c.t.T("IDS_PR"), pie.pr)});
}

void PaintCorrelation(PageContext& c, Canvas& k) {
  const double side = std::min(k.Width(), k.Remaining() * 0.8);
  PaintKind(c.m, c.t, c.p, k.Take(side * 0.85), kChartCorrelation);
  const ReportCorrelationPage& r = c.m.data.correlation;
  const _BP_CORRELATION& cor = c.m.analysis.correlation;
  const QString none = c.t.T("IDS_NOT_AVAILABLE");
  k.Pairs(
      {{c.t.T("IDS_CORRELATION_R"), cor.rSet ? Num(r.r, 3) : none},
       {c.t.T("IDS_POINTS"), QStringLiteral("%1 / %2").arg(r.awake.size()).arg(r.asleep.size())}});
  const QString diaOnSys = QStringLiteral("DIA = %1 × SYS + %2")
                               .arg(Num(r.diaOnSysSlope, 3), Num(r.diaOnSysIntercept, 1));
  const QString sysOnDia = QStringLiteral("SYS = %1 × DIA + %2")
                               .arg(Num(r.sysOnDiaSlope, 3), Num(r.sysOnDiaIntercept, 1));
  k.Pairs({{c.t.T("IDS_DIA_ON_SYS"), cor.diaOnSysSet ? diaOnSys : none},
           {c.t.T("IDS_SYS_ON_DIA"), cor.sysOnDiaSet ? sysOnDia : none}},
          1);
}

void PaintHourByHour(PageContext& c, Canvas& k) {
  const ReportHourlyPage& h = c.m.data.hourly;
  QPainter& p = c.p;
  const QRectF box = k.Take(std::min(360.0, k.Remaining() * 0.55));
  const QRectF plot(box.left() + 40, box.top() + 22, box.width() - 50, box.height() - 44);
  p.save();
  AxisFrame(p, plot, 40, 220, 20, QStringLiteral("mmHg, /min"));
  const int n = std::max(1, h.hourCount);
  const double step = plot.width() / n;
  auto yOf = [&](double v) {
    return plot.bottom() - (std::clamp(v, 40.0, 220.0) - 40) / 180.0 * plot.height();
  };
  auto curve = [&](const std::array<int32_t, kReportHours>& values, const QColor& colour) {
    QPainterPath path;
    bool open = false;
    for (int i = 0; i < n; ++i) {
      if (h.count[size_t(i)] == 0) {
        open = false;
        continue;
      }
      const QPointF pt(plot.left() + (i + 0.5) * step, yOf(values[size_t(i)]));
      open ? path.lineTo(pt) : path.moveTo(pt);
      open = true;
      p.setPen(Qt::NoPen);
      p.setBrush(colour);
      p.drawEllipse(pt, 2.2, 2.2);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour, 1.4));
    p.drawPath(path);
  };
  curve(h.sys, QColor(200, 30, 30));
  curve(h.dia, QColor(30, 60, 200));
  curve(h.pr, QColor(30, 140, 60));
  p.setFont(ReportFont(kSmallPx - 1.5));
  p.setPen(QColor(60, 60, 60));
  const int labelEvery = n > 36 ? 6 : n > 18 ? 3 : 1;
  for (int i = 0; i < n; i += labelEvery)
    p.drawText(QRectF(plot.left() + i * step, plot.bottom() + 2, step * labelEvery, 12),
               Qt::AlignLeft, QStringLiteral("%1h").arg((h.hour + i) % 24));
  p.setFont(ReportFont(kSmallPx));
  const QString legend[3] = {c.t.T("IDS_SYS"), c.t.T("IDS_DIA"), c.t.T("IDS_PR")};
  const QColor colours[3] = {QColor(200, 30, 30), QColor(30, 60, 200), QColor(30, 140, 60)};
  for (int i = 0; i < 3; ++i) {
    const double x = plot.right() - 210 + i * 70;
    p.fillRect(QRectF(x, box.top() + 4, 10, 10), colours[i]);
    p.setPen(Qt::black);
    p.drawText(QRectF(x + 14, box.top() + 2, 54, 14), Qt::AlignLeft, legend[i]);
  }
  p.restore();
  const QString none = c.t.T("IDS_NOT_AVAILABLE");
  k.Pairs({{c.t.T("IDS_FIRST_HOUR"), QStringLiteral("%1-%2-%3 %4h")
                                         .arg(h.year)
                                         .arg(h.month, 2, 10, QLatin1Char('0'))
                                         .arg(h.day, 2, 10, QLatin1Char('0'))
                                         .arg(h.hour, 2, 10, QLatin1Char('0'))},
           {c.t.T("IDS_HOURS_USED"),
            QString::number(h.hourCount) + (h.truncated ? QStringLiteral(" (72+)") : QString())},
           {c.t.T("IDS_HOURLY_RATIO"),
            Num(h.hourlyRatioSys, 2) + QStringLiteral(" / ") + Num(h.hourlyRatioDia, 2)},
           {c.t.T("IDS_ARV"), Num(h.arvSys) + QStringLiteral(" / ") + Num(h.arvDia)}});
}

void PaintThreeHistogram(PageContext& c, Canvas& k) {
  const ReportThreeHistogramPage& h = c.m.data.threeHistogram;
  const double each = std::min(220.0, k.Remaining() / 3);
  ClassBars(c.p, k.Take(each), c.t.T("IDS_PR") + QStringLiteral(" (/min)"), h.prStart,
            kHistogramClassWidth, h.pr.data(), kClassCount36, QColor(90, 170, 100));
  ClassBars(c.p, k.Take(each), c.t.T("IDS_MAP") + QStringLiteral(" (mmHg)"), h.mapStart,
            kHistogramClassWidth, h.map.data(), kClassCount36, QColor(200, 140, 60));
  ClassBars(c.p, k.Take(each), c.t.T("IDS_PP") + QStringLiteral(" (mmHg)"), h.ppStart,
            kHistogramClassWidth, h.pp.data(), kClassCount36, QColor(110, 120, 200));
}

void PaintSpO2Trend(PageContext& c, const QRectF& box) {
  ChartHost host;
  host.SetCase(SourceOf(c.m, c.t));
  host.SetKind(kChartSpo2Trend);
  host.Spo2().Window().SetManualLength(0, 0, true);
  Scaled(c.p, box, 1.0, [&](const QRect& client) {
    c.p.fillRect(client, Qt::white);
    host.Paint(c.p, client, true);
  });
}

void PaintSpO2Histogram(PageContext& c, const QRectF& box) {
  const auto& at = c.m.data.spo2.secondsAtValue;
  double total = 0;
  for (int v = 0; v <= 100; ++v) total += at[size_t(v)];
  double shares[31] = {};
  for (int v = 70; v <= 100; ++v) shares[v - 70] = total > 0 ? at[size_t(v)] / total : 0.0;
  ClassBars(c.p, box, c.t.T("IDS_SPO2_TIME_AT"), 70, 1, shares, 31, QColor(60, 170, 200));
}

}  // namespace vesk::report
