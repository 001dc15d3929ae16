#include "charts/CorrelationChart.h"

#include <QtGui/QFontMetrics>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>

#include "charts/ChartText.h"

namespace vesk {

namespace {
const QColor kDiaOnSys(200, 0, 0);
const QColor kSysOnDia(0, 0, 200);
const QColor kCentre(0, 140, 0);
}  // namespace

QRectF CorrelationChart::PlotArea(const QRect& client) {
  const double w = client.width(), h = client.height();
  return QRectF(QPointF(client.x() + 0.07 * w, client.y() + 0.09 * h),
                QPointF(client.x() + w - 0.04 * w, client.y() + h - 0.11 * h));
}

QPointF CorrelationChart::Map(const QRectF& plot, double sys, double dia) {
  return QPointF(plot.left() + sys * 0.004 * plot.width(),
                 plot.bottom() - dia * 0.005 * plot.height());
}

void CorrelationChart::Paint(QPainter& p, const QRect& client) const {
  if (source_ == nullptr || source_->analysis == nullptr) return;
  const QRectF plot = PlotArea(client);
  if (plot.width() <= 0.0 || plot.height() <= 0.0) return;
  const _BP_CORRELATION& c = source_->analysis->correlation;
  const CLanguage* lang = source_->language;
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  QFont small(QStringLiteral("DejaVu Sans"));
  small.setPixelSize(11);
  p.setFont(small);
  QFontMetrics fm(small);

  // Axes with ticks every 10 mmHg and labels at the multiples of 50.
  p.setPen(QPen(Qt::black, 1));
  p.drawLine(plot.bottomLeft(), plot.bottomRight());
  p.drawLine(plot.bottomLeft(), plot.topLeft());
  for (int v = 0; v <= 250; v += 10) {
    const QPointF at = Map(plot, v, 0);
    p.drawLine(at, at + QPointF(0, 5));
    if (v % 50 == 0 && v != 0) {
      const QString t = QString::asprintf("%d", v);
      p.drawText(at + QPointF(-fm.horizontalAdvance(t) / 2.0, 6 + fm.ascent()), t);
    }
  }
  for (int v = 0; v <= 200; v += 10) {
    const QPointF at = Map(plot, 0, v);
    p.drawLine(at, at - QPointF(5, 0));
    if (v % 50 == 0 && v != 0) {
      const QString t = QString::asprintf("%d", v);
      p.drawText(at + QPointF(-8 - fm.horizontalAdvance(t), fm.ascent() / 2.0 - 1), t);
    }
  }
  QFont verdana(QStringLiteral("Verdana"));
  verdana.setPointSize(10);
  p.setFont(verdana);
  const QFontMetrics vm(verdana);
  const QString sysCaption = ChartText(lang, kChartCorreLine, "IDS_SYS");
  const QString diaCaption = ChartText(lang, kChartCorreLine, "IDS_DIA");
  p.drawText(
      QPointF(plot.right() - vm.horizontalAdvance(sysCaption), plot.bottom() + 8 + 2 * fm.height()),
      sysCaption);
  p.drawText(QPointF(plot.left() - 0.05 * client.width(), plot.top() - vm.descent() - 6),
             diaCaption);

  // Legend above the plot on the right.
  p.setFont(small);
  const QString day = ChartText(lang, kChartCorreLine, "IDS_BP_DAY");
  const QString night = ChartText(lang, kChartCorreLine, "IDS_BP_NIGHT");
  const double legendX = plot.right() - 200;
  const double legendY = client.y() + 0.03 * client.height();
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QRectF(legendX, legendY, 6, 6));
  p.drawText(QPointF(legendX + 12, legendY + 7), day);
  p.setBrush(Qt::black);
  p.drawEllipse(QRectF(legendX, legendY + fm.height() + 2, 6, 6));
  p.drawText(QPointF(legendX + 12, legendY + fm.height() + 9), night);

  // Points.
  p.save();
  p.setClipRect(plot.adjusted(-3, -3, 3, 3));
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(Qt::black, 0.8));
  for (const SysDiaPair& pair : c.awakePairs)
    p.drawEllipse(QRectF(Map(plot, pair.sys, pair.dia) - QPointF(2, 2), QSizeF(4, 4)));
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  for (const SysDiaPair& pair : c.asleepPairs)
    p.drawEllipse(QRectF(Map(plot, pair.sys, pair.dia) - QPointF(2, 2), QSizeF(4, 4)));

  // Regression lines across the plot, clipped to it.
  p.setClipRect(plot);
  p.setBrush(Qt::NoBrush);
  if (c.diaOnSysSet) {
    p.setPen(QPen(kDiaOnSys, 2));
    p.drawLine(Map(plot, 0, c.diaOnSysIntercept),
               Map(plot, 250, c.diaOnSysSlope * 250 + c.diaOnSysIntercept));
  }
  if (c.sysOnDiaSet) {
    p.setPen(QPen(kSysOnDia, 2));
    p.drawLine(Map(plot, c.sysOnDiaIntercept, 0),
               Map(plot, c.sysOnDiaSlope * 200 + c.sysOnDiaIntercept, 200));
  }
  const bool any = !c.awakePairs.empty() || !c.asleepPairs.empty();
  if (any) {
    const QPointF centre = Map(plot, c.meanSys, c.meanDia);
    p.setPen(QPen(kCentre, 2));
    p.drawLine(centre - QPointF(7, 0), centre + QPointF(7, 0));
    p.drawLine(centre - QPointF(0, 7), centre + QPointF(0, 7));
    p.drawEllipse(centre, 5, 5);
  }
  p.restore();

  // Texts in the upper left of the plot.
  p.setPen(Qt::black);
  double y = plot.top() + 8 + fm.ascent();
  const double x = plot.left() + 12;
  const auto line = [&](const QColor& colour, const QString& text) {
    p.setPen(colour);
    p.drawText(QPointF(x, y), text);
    y += fm.height() + 4;
  };
  if (c.diaOnSysSet)
    line(kDiaOnSys, ChartText(lang, kChartCorreLine, "IDS_DIA_DEPEND") +
                        QString::asprintf("y = f(x): y = %.02fx + %.02f", c.diaOnSysSlope,
                                          c.diaOnSysIntercept));
  if (c.sysOnDiaSet)
    line(kSysOnDia, ChartText(lang, kChartCorreLine, "IDS_SYS_DEPEND") +
                        QString::asprintf("x = f(y): x = %.02fy + %.02f", c.sysOnDiaSlope,
                                          c.sysOnDiaIntercept));
  if (any)
    line(kCentre, ChartText(lang, kChartCorreLine, "IDS_CLOUD_CENTER") +
                      QString::asprintf("(%d, %d)", c.meanSys, c.meanDia));
  if (c.rSet)
    line(Qt::black, ChartText(lang, kChartCorreLine, "IDS_CORRELATION") +
                        QString::asprintf("r=%f  r*r=%f", c.r, c.r * c.r));
  p.restore();
}

}  // namespace vesk
