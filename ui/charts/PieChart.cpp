#include "charts/PieChart.h"

#include <QtGui/QFontMetrics>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>
#include <algorithm>
#include <cmath>

#include "charts/ChartText.h"

namespace vesk {

namespace {

constexpr int kRimDepth = 16;
const QColor kRim[3] = {QColor(127, 127, 0), QColor(0, 127, 0), QColor(127, 0, 0)};
const QColor kTop[3] = {QColor(255, 255, 0), QColor(0, 255, 0), QColor(255, 0, 0)};

const ExtremeGroup& GroupOf(const Extremes& e, int quantity) {
  return quantity == 0 ? e.sys : quantity == 1 ? e.dia : e.pr;
}

// The pie angles run clockwise from 9 o'clock as on the original screens; Qt counts
// counter-clockwise in sixteenths of a degree.
int QtAngle(double degrees) {
  return static_cast<int>(std::lround(-degrees * 16.0));
}

}  // namespace

QRect PieChart::PieRect(const QRect& client, int quantity) {
  const int cell = client.width() / 3;
  const int diameter = std::max(0, std::min(static_cast<int>(cell * 0.7), client.height() - 190));
  const int height = diameter / 2;
  const int x = client.x() + cell * quantity + (cell - diameter) / 2;
  const int y = client.y() + 50;
  return QRect(x, y, diameter, height);
}

QRect PieChart::LegendSquare(const QRect& client, int index) {
  const int y = client.y() + client.height() - 40;
  return QRect(client.x() + 20 + index * client.width() / 5, y, 20, 20);
}

void PieChart::Paint(QPainter& p, const QRect& client) const {
  if (source_ == nullptr || source_->analysis == nullptr) return;
  if (client.width() <= 0 || client.height() <= 0) return;
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  for (int q = 0; q < 3; ++q) PaintPie(p, client, q);
  PaintLegend(p, client);
  p.restore();
}

void PieChart::PaintPie(QPainter& p, const QRect& client, int quantity) const {
  const ExtremeGroup& g = GroupOf(source_->analysis->extremes, quantity);
  const CLanguage* lang = source_->language;
  const QRect top = PieRect(client, quantity);
  QFont small(QStringLiteral("DejaVu Sans"));
  small.setPixelSize(12);
  p.setFont(small);
  QFontMetrics fm(p.font());

  // Title: the quantity and its range.
  const RangeLimits& r = source_->ranges;
  const QString unit = ChartText(lang, kChartMenu, "IDS_HEART_RATE");
  QString title;
  if (quantity == 0)
    title = ChartText(lang, kChartGlobal, "IDS_HP") +
            QString::asprintf("%d-%d mmHg", r.sysLow, r.sysHigh);
  else if (quantity == 1)
    title = ChartText(lang, kChartGlobal, "IDS_LOW_PRESSURE") +
            QString::asprintf("%d-%d mmHg", r.diaLow, r.diaHigh);
  else
    title = ChartText(lang, kChartGlobal, "IDS_PLUSE_RATE") +
            QString::asprintf("%d-%d ", r.prLow, r.prHigh) + unit;
  const int cell = client.width() / 3;
  const QRect cellRect(client.x() + cell * quantity, client.y(), cell, client.height());
  p.setPen(Qt::black);
  p.drawText(QRect(cellRect.x(), client.y() + 10, cell, fm.height() + 4), Qt::AlignHCenter, title);
  if (top.width() <= 0) return;

  const double fractions[3] = {g.below, g.within, g.above};
  double sum = 0.0;
  for (double f : fractions) sum += f;
  if (sum <= 0.0) return;

  // The rim is the front half of the pie pushed down by its depth: under each slice the band
  // between its lower arc and that arc moved down. Each band reaches a little into the next
  // slice, which is drawn over it, so that no background shows through the seam.
  p.setPen(Qt::NoPen);
  {
    const QRectF face(top);
    const QRectF base = face.translated(0, kRimDepth);
    int last = -1;
    for (int c = 0; c < 3; ++c)
      if (fractions[c] != 0.0) last = c;
    double start = -180.0;
    for (int c = 0; c < 3; ++c) {
      const double sweep = fractions[c] * 360.0;
      if (fractions[c] == 0.0) continue;
      const double end = start + std::min(sweep, 360.0) + (c == last ? 0.0 : 1.0);
      QPainterPath rim;
      // The front half lies between 0 and 180 degrees, once per turn.
      for (double turn = 0.0; turn <= 360.0; turn += 360.0) {
        const double a = std::max(start, turn), b = std::min(end, turn + 180.0);
        if (b <= a) continue;
        rim.arcMoveTo(face, -a);
        rim.arcTo(face, -a, -(b - a));
        rim.lineTo(rim.currentPosition() + QPointF(0, kRimDepth));
        rim.arcTo(base, -b, b - a);
        rim.closeSubpath();
      }
      p.setBrush(kRim[c]);
      p.drawPath(rim);
      start += sweep;
    }
  }
  double start = -180.0;
  QFont verdana(QStringLiteral("Verdana"));
  verdana.setPointSize(9);
  for (int c = 0; c < 3; ++c) {
    const double sweep = fractions[c] * 360.0;
    if (fractions[c] == 0.0) continue;
    p.setPen(QPen(kRim[c], 1));
    p.setBrush(kTop[c]);
    if (sweep >= 359.999)
      p.drawEllipse(top);
    else
      p.drawPie(top, QtAngle(start), QtAngle(sweep));
    start += sweep;
  }
  start = -180.0;
  p.setFont(verdana);
  fm = QFontMetrics(verdana);
  p.setPen(Qt::black);
  for (int c = 0; c < 3; ++c) {
    const double sweep = fractions[c] * 360.0;
    if (fractions[c] == 0.0) continue;
    const double mid = (start + sweep / 2.0) * M_PI / 180.0;
    const QPointF centre = QRectF(top).center();
    const QPointF at(centre.x() + std::cos(mid) * top.width() * 0.32,
                     centre.y() + std::sin(mid) * top.height() * 0.32);
    const QString label = QString::asprintf("%.1f%%", fractions[c] * 100.0);
    p.drawText(QPointF(at.x() - fm.horizontalAdvance(label) / 2.0, at.y() + fm.ascent() / 2.0),
               label);
    start += sweep;
  }

  // Extremes and mean under the pie.
  p.setFont(small);
  fm = QFontMetrics(small);
  const QString u = quantity == 2 ? unit : QStringLiteral("mmHg");
  const QString lines[3] = {
      ChartText(lang, kChartGlobal, "IDS_MAX_VALUES") + QString::asprintf(" %d [", g.maxValue) + u +
          QString::asprintf("] (%02d:%02d)", g.maxHour, g.maxMinute),
      ChartText(lang, kChartGlobal, "IDS_LOW_VALUES") + QString::asprintf(" %d [", g.minValue) + u +
          QString::asprintf("] (%02d:%02d)", g.minHour, g.minMinute),
      ChartText(lang, kChartGlobal, "IDS_AVR_VALUES") + QString::asprintf(" %d [", g.mean) + u +
          QStringLiteral("]"),
  };
  int y = top.bottom() + kRimDepth + 20 + fm.ascent();
  for (const QString& line : lines) {
    p.drawText(QPoint(top.left(), y), line);
    y += fm.height() + 4;
  }
}

void PieChart::PaintLegend(QPainter& p, const QRect& client) const {
  const CLanguage* lang = source_->language;
  // Below, within and above the range take the yellow, green and red of the colour table;
  // its first two colours mark the awake and asleep periods the pie may be limited to.
  const int order[5] = {4, 3, 2, 0, 1};
  const QString texts[5] = {
      ChartText(lang, kChartMenu, "IDS_BELOW"),
      QString::asprintf("%d-%d / %d-%d / %d-%d", source_->ranges.sysLow, source_->ranges.sysHigh,
                        source_->ranges.diaLow, source_->ranges.diaHigh, source_->ranges.prLow,
                        source_->ranges.prHigh),
      ChartText(lang, kChartMenu, "IDS_ABOVE"), ChartText(lang, kChartMenu, "IDS_DAYTIME"),
      ChartText(lang, kChartMenu, "IDS_NIGHT")};
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPixelSize(12);
  p.setFont(f);
  const QFontMetrics fm(f);
  for (int i = 0; i < 5; ++i) {
    const QRect sq = LegendSquare(client, i);
    if (sq.bottom() < client.y()) return;
    p.setPen(Qt::black);
    p.setBrush(ToQColor(source_->colours[static_cast<size_t>(order[i])]));
    p.drawRect(sq);
    p.setBrush(Qt::NoBrush);
    p.drawText(QPoint(sq.right() + 6, sq.center().y() + fm.ascent() / 2 - 1), texts[i]);
    const bool selected = (i == 3 && source_->period == Period::Awake) ||
                          (i == 4 && source_->period == Period::Asleep);
    if (selected) p.drawRect(sq.adjusted(-3, -3, 3, 3));
  }
}

}  // namespace vesk
