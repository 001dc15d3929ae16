#pragma once
// Chart kind 2: three stacked histograms (systolic, diastolic, pulse rate) of the selected
// period's distribution, with 3-D bars on a tan panel.

#include <QtCore/QRect>
#include <span>

#include "charts/ChartSource.h"

class QPainter;

namespace vesk {

class HistogramChart {
 public:
  void SetCase(const ChartSource* source) { source_ = source; }
  void Paint(QPainter& painter, const QRect& client) const;

  // The bar area of the band-th histogram (0 to 2) inside `client`, for checks.
  static QRect BarArea(const QRect& client, int band);
  // Slot count of each histogram: 14, 15, 15.
  static int SlotCount(int band) { return band == 0 ? 14 : 15; }

 private:
  void PaintBand(QPainter& p, const QRect& client, int band) const;
  const ChartSource* source_ = nullptr;
};

}  // namespace vesk
