#pragma once
// Chart kind 4: systolic against diastolic pressure, awake readings as open circles and
// asleep readings as dots, with both regression lines, the cloud centre and r.

#include <QtCore/QPointF>
#include <QtCore/QRect>

#include "charts/ChartSource.h"

class QPainter;

namespace vesk {

class CorrelationChart {
 public:
  void SetCase(const ChartSource* source) { source_ = source; }
  void Paint(QPainter& painter, const QRect& client) const;

  static QRectF PlotArea(const QRect& client);
  // Pixel position of (systolic, diastolic) in the plot area.
  static QPointF Map(const QRectF& plot, double sys, double dia);

 private:
  const ChartSource* source_ = nullptr;
};

}  // namespace vesk
