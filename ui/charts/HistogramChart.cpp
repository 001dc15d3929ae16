#include "charts/HistogramChart.h"

#include <QtGui/QFontMetrics>
#include <QtGui/QPainter>
#include <QtGui/QPolygon>

#include "analysis/Distribution.h"
#include "charts/ChartText.h"

namespace vesk {

namespace {

// Share of the client width the panel takes, and of a band's height kept free above the
// 100 % line for the value labels.
constexpr double kPanelWidth = 0.8;
constexpr double kTopGap = 0.05;
constexpr int kFloorDepth = 10;

const QColor kPanel(210, 180, 140);
const QColor kFloor(250, 214, 167);
const QColor kGridBlue(45, 75, 115);
const QColor kFront[3] = {QColor(0, 255, 255), QColor(225, 255, 0), QColor(225, 128, 0)};
const QColor kSide[3] = {QColor(0, 127, 127), QColor(127, 127, 0), QColor(127, 64, 0)};

QRect PanelOf(const QRect& client, int band) {
  const int h = client.height() / 3;
  const int top = client.y() + band * h;
  const int left = client.x() + 60;
  const int width = static_cast<int>(client.width() * kPanelWidth);
  return QRect(QPoint(left, top + 20), QPoint(left + width - 1, top + h - 60 - 1));
}

}  // namespace

QRect HistogramChart::BarArea(const QRect& client, int band) {
  const QRect panel = PanelOf(client, band);
  const int gap = static_cast<int>(client.height() / 3 * kTopGap) + 12;
  return QRect(QPoint(panel.left(), panel.top() + gap), panel.bottomRight());
}

void HistogramChart::Paint(QPainter& p, const QRect& client) const {
  if (source_ == nullptr || source_->analysis == nullptr) return;
  if (client.width() <= 0 || client.height() < 3) return;
  p.save();
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPixelSize(11);
  p.setFont(f);
  for (int band = 0; band < 3; ++band) PaintBand(p, client, band);
  p.restore();
}

void HistogramChart::PaintBand(QPainter& p, const QRect& client, int band) const {
  const QRect panel = PanelOf(client, band);
  if (panel.width() <= 0 || panel.height() <= 0) return;
  const QRect bars = BarArea(client, band);
  const QFontMetrics fm(p.font());
  const CLanguage* lang = source_->language;
  const PressureDistribution& d = source_->analysis->distribution;
  const std::span<const double> fractions = band == 0   ? std::span<const double>(d.sys)
                                            : band == 1 ? std::span<const double>(d.dia)
                                                        : std::span<const double>(d.pr);
  const std::span<const int32_t> limits = band == 0   ? std::span<const int32_t>(kSysClassLimits)
                                          : band == 1 ? std::span<const int32_t>(kDiaClassLimits)
                                                      : std::span<const int32_t>(kPrClassLimits);

  p.fillRect(panel, kPanel);
  p.setPen(Qt::black);
  p.drawLine(panel.left(), panel.bottom() + 1, panel.right(), panel.bottom() + 1);
  const QPolygon floor({QPoint(panel.left(), panel.bottom() + 1),
                        QPoint(panel.right(), panel.bottom() + 1),
                        QPoint(panel.right() - kFloorDepth, panel.bottom() + 1 + kFloorDepth),
                        QPoint(panel.left() - kFloorDepth, panel.bottom() + 1 + kFloorDepth)});
  p.setBrush(kFloor);
  p.drawPolygon(floor);
  p.setBrush(Qt::NoBrush);

  // Percentage lines at 100, 75, 50 and 25 %.
  const int barHeight = bars.height();
  for (int q = 4; q >= 1; --q) {
    const int y = bars.bottom() + 1 - barHeight * q / 4;
    p.setPen(QPen(kGridBlue, 1, Qt::DotLine));
    p.drawLine(panel.left(), y, panel.right(), y);
    p.setPen(Qt::black);
    p.drawText(QRect(client.x(), y - fm.height() / 2, panel.left() - client.x() - 4, fm.height()),
               Qt::AlignRight | Qt::AlignVCenter, QString::asprintf("%d%%", q * 25));
  }

  const int slotCount = SlotCount(band);
  const double slot = static_cast<double>(panel.width()) / slotCount;
  const int barWidth = std::max(1, static_cast<int>(slot / 3));
  const int depth = std::max(2, std::min(8, barWidth / 2));
  for (int i = 0; i < slotCount && i < static_cast<int>(fractions.size()); ++i) {
    const double fraction = fractions[static_cast<size_t>(i)];
    if (fraction == 0.0) continue;
    const int h = static_cast<int>(barHeight * std::min(fraction, 1.0));
    const int x = panel.left() + static_cast<int>(slot * i + (slot - barWidth) / 2);
    const int bottom = panel.bottom();
    const QRect front(x, bottom - h + 1, barWidth, h);
    const QPolygon side(
        {QPoint(x + barWidth, bottom - h + 1), QPoint(x + barWidth + depth, bottom - h + 1 - depth),
         QPoint(x + barWidth + depth, bottom + 1 - depth), QPoint(x + barWidth, bottom + 1)});
    const QPolygon top({QPoint(x, bottom - h + 1), QPoint(x + depth, bottom - h + 1 - depth),
                        QPoint(x + barWidth + depth, bottom - h + 1 - depth),
                        QPoint(x + barWidth, bottom - h + 1)});
    p.setPen(Qt::black);
    p.setBrush(kSide[band]);
    p.drawPolygon(side);
    p.drawPolygon(top);
    p.setBrush(kFront[band]);
    p.drawRect(front);
    p.setBrush(Qt::NoBrush);
    const QString label = QString::asprintf("%.01f%%", fraction * 100.0);
    const int lw = fm.horizontalAdvance(label);
    p.drawText(QPoint(x + barWidth / 2 - lw / 2, bottom - h - depth - 3), label);
  }

  // Slot boundaries with their values.
  p.setPen(Qt::black);
  const int axisY = panel.bottom() + 1 + kFloorDepth;
  for (int i = 1; i < slotCount && i < static_cast<int>(limits.size()); ++i) {
    const int x = panel.left() + static_cast<int>(slot * i);
    p.drawLine(x, axisY, x, axisY + 10);
    const QString value = QString::asprintf("%d", limits[static_cast<size_t>(i)]);
    p.drawText(QPoint(x - fm.horizontalAdvance(value) / 2, axisY + 10 + fm.ascent()), value);
  }

  QString caption;
  if (band == 0)
    caption = ChartText(lang, kChartGlobal, "IDS_HP") + QStringLiteral("(mmHg)");
  else if (band == 1)
    caption = ChartText(lang, kChartGlobal, "IDS_LOW_PRESSURE") + QStringLiteral("(mmHg)");
  else
    caption = ChartText(lang, kChartGlobal, "IDS_PLUSE_RATE") + QStringLiteral("(") +
              ChartText(lang, kChartMenu, "IDS_HEART_RATE") + QStringLiteral(")");
  p.drawText(QRect(panel.left(), axisY + 12 + fm.height(), panel.width(), fm.height() + 4),
             Qt::AlignHCenter | Qt::AlignTop, caption);
}

}  // namespace vesk
