// Painting of the blood-pressure trend chart.

#include <QtGui/QFontMetrics>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>
#include <algorithm>
#include <cmath>

#include "charts/AreaBetween.h"
#include "charts/BpTrendChart.h"
#include "charts/ChartText.h"

namespace vesk {

namespace {

constexpr size_t kMaxCurvePoints = 2048;
constexpr size_t kMaxLimitPoints = 1024;
const QColor kBarGrey(128, 128, 128);
const QColor kAboveRed(255, 0, 0);
const QColor kBelowGreen(0, 130, 0);
const QColor kLimitYellow(255, 255, 0);
const QColor kPulseBlue(0, 0, 255);
const QColor kInfoGrey(188, 188, 188);

QFont LabelFont() {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPixelSize(11);
  return f;
}

int64_t FirstSecondOfDay(const TimeAxis& axis) {
  DateParts p;
  if (!axis.First().ToParts(p)) return 0;
  return p.hour * 3600 + p.minute * 60 + p.second;
}

// Area between a curve and a limit line by path intersection: the side of the curve toward
// `curveSide` (far y) intersected with the side of the limit toward `limitSide`. Only for a
// curve whose times run backwards somewhere; sorted lines take the much faster band polygons.
QPainterPath IntersectedArea(const QPolygonF& curve, const QPolygonF& limit, double curveSide,
                             double limitSide) {
  QPolygonF c = curve;
  c << QPointF(curve.last().x(), curveSide) << QPointF(curve.first().x(), curveSide);
  QPolygonF l = limit;
  l << QPointF(limit.last().x(), limitSide) << QPointF(limit.first().x(), limitSide);
  QPainterPath a, b;
  a.addPolygon(c);
  a.closeSubpath();
  b.addPolygon(l);
  b.closeSubpath();
  return a.intersected(b);
}

}  // namespace

void BpTrendChart::Paint(QPainter& p, const QRect& client, bool dataChanged) {
  if (source_ == nullptr || source_->readings == nullptr) return;
  Recount();
  if (dataChanged || rescale_) Rescale();
  if (source_->readings->empty()) return;
  ApplyLayout(client);
  const QRect& plot = layout_.plot;
  if (plot.width() <= 0 || plot.height() <= 0) return;

  p.save();
  p.setFont(LabelFont());
  p.fillRect(plot, background_);
  PaintCaptions(p);
  if (mode_ == 0) PlanScrollBars();
  if (value_.IsValid()) PaintValueLabels(p);
  PaintTimeLabels(p);

  p.save();
  p.setClipRect(plot);
  if (value_.IsValid()) {
    if (mode_ == 0)
      PaintLimitAreas(p);
    else
      PaintBars(p);
  }
  p.setPen(QPen(Qt::black, 1));
  p.drawLine(plot.topLeft(), plot.bottomLeft());
  p.drawLine(plot.topRight(), plot.bottomRight());
  if (mode_ == 3 && value_.IsValid()) PaintPulseLine(p);
  if (value_.IsValid()) PaintGrid(p);
  p.restore();

  if (infoShown_ && hovered_ >= 0) PaintInfoBox(p);
  p.restore();
}

void BpTrendChart::PaintCaptions(QPainter& p) const {
  const QRect& plot = layout_.plot;
  const QRect& client = layout_.client;
  const QFontMetrics fm(p.font());
  p.setPen(Qt::black);
  const int bandTop = plot.bottom() + 1;
  const int bandBottom = client.y() + client.height();
  const QRect timeBand(plot.left(), bandTop + (bandBottom - bandTop) / 2, plot.width(),
                       (bandBottom - bandTop) / 2);
  p.drawText(timeBand, Qt::AlignRight | Qt::AlignVCenter, timeCaption_);
  const QRect caption = ValueCaptionRect();
  p.drawText(QPoint(caption.left(), plot.top() - 2 * fm.height()), valueCaption_);
}

QRect BpTrendChart::ValueCaptionRect() const {
  const QFontMetrics fm(LabelFont());
  const QRect& plot = layout_.plot;
  const int width = fm.horizontalAdvance(valueCaption_);
  const int left = std::max(layout_.client.x(), plot.left() - width / 2);
  return QRect(left, plot.top() - 2 * fm.height() - fm.ascent(), width, fm.height());
}

void BpTrendChart::PaintValueLabels(QPainter& p) {
  const QRect& strip = layout_.valueStrip;
  const QFontMetrics fm(p.font());
  const int right = strip.right() + 1;
  const int stripTop = strip.top(), stripBottom = strip.bottom() + 1;
  value_.firstLabelled = value_.lastLabelled = -1;
  p.setPen(Qt::black);
  for (int v = value_.Minimum() - 10; v <= value_.Maximum() + 10; ++v) {
    const int y = value_.YOf(v);
    if (y <= stripTop) break;
    if (y >= stripBottom || v % 5 != 0) continue;
    if (v % 10 == 0) {
      p.drawLine(right - strip.width() / 5, y, right, y);
      const QRect box(strip.left(), y - fm.height() / 2, strip.width() - 5, fm.height());
      p.drawText(box, Qt::AlignRight | Qt::AlignVCenter, QString::asprintf("%d", v));
      if (value_.firstLabelled < 0) value_.firstLabelled = v;
      value_.lastLabelled = v;
    } else {
      p.drawLine(right - strip.width() / 10, y, right, y);
    }
  }
}

void BpTrendChart::PaintTimeLabels(QPainter& p) const {
  const QRect& strip = layout_.timeStrip;
  const QFontMetrics fm(p.font());
  const int left = strip.left(), width = strip.width(), top = strip.top();
  p.setPen(Qt::black);
  if (time_.EqualSpacing()) {
    DateParts a, b;
    if (time_.First().ToParts(a))
      p.drawText(QPoint(left, top + fm.height() + 2),
                 QString::asprintf("%d-%d-%d", a.year, a.month, a.day));
    if (time_.Last().ToParts(b)) {
      const QString text = QString::asprintf("%d-%d-%d", b.year, b.month, b.day);
      p.drawText(QPoint(left + width - fm.horizontalAdvance(text), top + fm.height() + 2), text);
    }
    return;
  }
  const double scale = time_.Scale();
  if (!time_.IsValid() || scale <= 0.0) return;
  const int64_t firstOfDay = FirstSecondOfDay(time_);
  const double start = time_.VisibleStartSeconds();
  int64_t t = static_cast<int64_t>(std::ceil((firstOfDay + start) / 900.0)) * 900 - firstOfDay;
  const int longTick = std::max(2, strip.height() / 12);
  int lastLabelRight = -1000000;
  bool datePending = true;
  for (;; t += 900) {
    const double xr = t * scale - time_.ScrollOffset();
    if (xr > width) break;
    if (xr < 0) continue;
    const int x = left + static_cast<int>(xr);
    const int64_t ofDay = ((firstOfDay + t) % 86400 + 86400) % 86400;
    const int minute = static_cast<int>(ofDay / 60 % 60);
    p.drawLine(x, top, x, top + (minute % 30 == 0 ? longTick : longTick / 2));
    if (minute != 0) continue;
    const QString hour = QString::asprintf("%d", static_cast<int>(ofDay / 3600));
    const int hw = fm.horizontalAdvance(hour);
    if (x - hw / 2 <= lastLabelRight + 4) continue;
    p.drawText(QPoint(x - hw / 2, top + longTick + fm.ascent() + 1), hour);
    lastLabelRight = x + hw / 2;
    if (ofDay == 0 || datePending) {
      DateParts d;
      if (time_.First().AddSeconds(static_cast<double>(t)).ToParts(d)) {
        const QString date = QString::asprintf("%d-%d-%d", d.year, d.month, d.day);
        const int dw = fm.horizontalAdvance(date);
        p.drawText(QPoint(std::max(left, x - dw / 2), top + longTick + fm.ascent() + fm.height()),
                   date);
        lastLabelRight = std::max(lastLabelRight, x + dw / 2);
      }
      datePending = false;
    }
  }
}

void BpTrendChart::PaintBars(QPainter& p) const {
  const std::vector<_BP_RECORD>& readings = *source_->readings;
  const int left = time_.plot.left;
  p.setPen(QPen(kBarGrey, 1));
  std::vector<int> indexes;
  const std::vector<double> xs = ValidPositions(&indexes);
  for (size_t k = 0; k < xs.size(); ++k) {
    const _BP_RECORD& r = readings[static_cast<size_t>(indexes[k])];
    if (r.included == 0 || xs[k] < 0.0) continue;
    const int x = left + static_cast<int>(xs[k]);
    const int ys = value_.YOf(r.sys), yd = value_.YOf(r.dia);
    p.drawLine(x, ys, x, yd);
    p.drawLine(x - 3, ys, x + 3, ys);
    p.drawLine(x - 3, yd, x + 3, yd);
  }
}

void BpTrendChart::PaintLimitAreas(QPainter& p) const {
  const std::vector<_BP_RECORD>& readings = *source_->readings;
  const int left = time_.plot.left;
  const TrendLimits& lim = source_->limits;
  const std::vector<LimitStep> steps =
      BuildLimitSteps(time_, time_.plot.Width(), lim.awakeStart, lim.asleepStart, kMaxLimitPoints);
  QPolygonF sysLimit, diaLimit, sysCurve, diaCurve;
  for (const LimitStep& s : steps) {
    sysLimit << QPointF(left + s.x, value_.YOf(s.asleep ? lim.asleepSys : lim.awakeSys));
    diaLimit << QPointF(left + s.x, value_.YOf(s.asleep ? lim.asleepDia : lim.awakeDia));
  }
  for (const _BP_RECORD& r : readings) {
    double x = -1.0;
    if (!IsDrawn(r) || !time_.Place(ReadingTime(r), x)) continue;
    if (sysCurve.size() >= static_cast<qsizetype>(kMaxCurvePoints)) break;
    sysCurve << QPointF(left + x, value_.YOf(r.sys));
    diaCurve << QPointF(left + x, value_.YOf(r.dia));
  }
  // Far beyond the plot so that a scrolled curve still closes outside the clip.
  const double farBelow = time_.plot.bottom + 100000.0, farAbove = time_.plot.top - 100000.0;
  p.setPen(Qt::NoPen);
  if (sysCurve.size() >= 2 && sysLimit.size() >= 2) {
    const bool sorted = IsXSorted(sysCurve) && IsXSorted(sysLimit);
    for (const auto& [curve, limit] : {std::pair{sysCurve, sysLimit}, {diaCurve, diaLimit}}) {
      if (!sorted) {
        p.setBrush(kAboveRed);
        p.drawPath(IntersectedArea(curve, limit, farBelow, farAbove));
        p.setBrush(kBelowGreen);
        p.drawPath(IntersectedArea(curve, limit, farAbove, farBelow));
        continue;
      }
      p.setBrush(kAboveRed);
      for (const QPolygonF& area : AreaBetween(curve, limit)) p.drawPolygon(area);
      p.setBrush(kBelowGreen);
      for (const QPolygonF& area : AreaBetween(limit, curve)) p.drawPolygon(area);
    }
  }
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kLimitYellow, 2));
  if (sysLimit.size() >= 2) {
    p.drawPolyline(sysLimit);
    p.drawPolyline(diaLimit);
  }
}

void BpTrendChart::PaintPulseLine(QPainter& p) const {
  const std::vector<_BP_RECORD>& readings = *source_->readings;
  std::vector<int> indexes;
  const std::vector<double> xs = ValidPositions(&indexes);
  QPolygonF line;
  for (size_t k = 0; k < xs.size(); ++k) {
    const _BP_RECORD& r = readings[static_cast<size_t>(indexes[k])];
    if (r.included == 0 || xs[k] < 0.0) continue;
    line << QPointF(time_.plot.left + static_cast<int>(xs[k]), value_.YOf(r.pr));
  }
  p.setPen(QPen(kPulseBlue, 1));
  if (line.size() >= 2) p.drawPolyline(line);
}

void BpTrendChart::PaintGrid(QPainter& p) const {
  if (value_.firstLabelled < 0) return;
  std::vector<int> xs;
  const int left = time_.plot.left, width = time_.plot.Width();
  if (time_.EqualSpacing()) {
    // No clock to follow: a dot every 60 pixels keeps the values readable.
    for (int x = 60; x < width; x += 60) xs.push_back(left + x);
  } else {
    const double scale = time_.Scale();
    if (!time_.IsValid() || scale <= 0.0) return;
    const int64_t firstOfDay = FirstSecondOfDay(time_);
    const double start = time_.VisibleStartSeconds();
    int64_t t = static_cast<int64_t>(std::ceil((firstOfDay + start) / 3600.0)) * 3600 - firstOfDay;
    for (;; t += 3600) {
      const double x = t * scale - time_.ScrollOffset();
      if (x > width) break;
      if (x >= 0) xs.push_back(left + static_cast<int>(x));
    }
  }
  p.setPen(QPen(Qt::black, 1));
  for (int v = value_.firstLabelled; v <= value_.lastLabelled; v += 10) {
    const int y = value_.YOf(v);
    for (int x : xs) p.drawPoint(x, y);
  }
}

void BpTrendChart::PaintInfoBox(QPainter& p) const {
  const std::vector<_BP_RECORD>& readings = *source_->readings;
  if (hovered_ >= static_cast<int>(readings.size())) return;
  const _BP_RECORD& r = readings[static_cast<size_t>(hovered_)];
  const CLanguage* lang = source_->language;
  const QRect& plot = layout_.plot;
  // The box shares the band above the plot with the value caption; it starts right of the
  // caption so that the axis stays named while the mouse is over the plot.
  const int left = std::max(plot.left(), ValueCaptionRect().right() + 9);
  const QRect box =
      QRect(left, plot.top() - 100, plot.right() - left + 1, 100).intersected(layout_.client);
  if (box.isEmpty()) return;
  p.fillRect(box, kInfoGrey);
  const QString comment = r.included == 0 ? ChartText(lang, kChartMenu, "IDS_EXCLUDED")
                                          : QString::fromStdString(r.comment);
  struct Column {
    QString caption, value;
    int width;
  };
  const Column columns[] = {
      {ChartText(lang, kChartMenu, "IDS_NUM"), QString::asprintf("%d", r.index + 1), 70},
      {ChartText(lang, kChartMenu, "IDS_DATE"),
       QString::asprintf("%04d-%02d-%02d", r.year, r.month, r.day), 90},
      {ChartText(lang, kChartMessage, "IDS_TIMES"),
       QString::asprintf("%02d:%02d", r.hour, r.minute), 60},
      {ChartText(lang, kChartMenu, "IDS_HP_COMPRESS"),
       QString::asprintf("% 3d/% 3d", r.sys, static_cast<int>(r.dia)), 120},
      {ChartText(lang, kChartMenu, "IDS_HEART_RATE_TREND"),
       QString::asprintf("% 3d", static_cast<int>(r.pr)), 60},
      {ChartText(lang, kChartMenu, "IDS_COMMENTS"), comment, 0},
  };
  const QFontMetrics fm(p.font());
  p.setPen(Qt::black);
  int x = box.left() + 5;
  const int captionY = box.bottom() - 40;
  for (const Column& c : columns) {
    const int width = c.width > 0 ? c.width : box.right() - x;
    if (width <= 0) break;
    p.drawText(QRect(x, captionY - fm.ascent(), width, fm.height()), Qt::AlignLeft, c.caption);
    p.drawText(QRect(x, captionY + 20 - fm.ascent(), width, fm.height()), Qt::AlignLeft, c.value);
    x += width;
  }
}

}  // namespace vesk
