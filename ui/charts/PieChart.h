#pragma once
// Chart kind 3: for systolic, diastolic and pulse rate a 3-D pie of the shares below, within
// and above the chosen range, with the extremes and the mean beside it and the legend squares
// in the configuration's colours.

#include <QtCore/QRect>

#include "charts/ChartSource.h"

class QPainter;

namespace vesk {

// Pie classes: below the range yellow, within green, above red.
enum class PieClass { Below = 0, Within = 1, Above = 2 };

class PieChart {
 public:
  void SetCase(const ChartSource* source) { source_ = source; }
  void Paint(QPainter& painter, const QRect& client) const;

  // Where the top of the quantity's pie (0 SYS, 1 DIA, 2 PR) is drawn inside `client`.
  static QRect PieRect(const QRect& client, int quantity);
  // The legend squares, top left corner of each of the five.
  static QRect LegendSquare(const QRect& client, int index);

 private:
  void PaintPie(QPainter& p, const QRect& client, int quantity) const;
  void PaintLegend(QPainter& p, const QRect& client) const;
  const ChartSource* source_ = nullptr;
};

}  // namespace vesk
