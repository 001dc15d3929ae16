#pragma once
// Chart kind 1: a window over the SpO2 and pulse-rate series with the detected events inside
// it. The window (length, grids, position) lives in Spo2Window; the chart draws it and finds
// the event under the mouse.

#include <QtCore/QRect>
#include <vector>

#include "charts/ChartSource.h"
#include "charts/Spo2Window.h"

class QPainter;

namespace vesk {

class Spo2TrendChart {
 public:
  // One event of either detector, in seconds from the start of the series.
  struct Mark {
    double start = 0.0;
    double end = 0.0;
    bool desaturation = true;
    int change = 0;
  };

  // A new case: the window is put at the start of the series with the ten-minute preset.
  void SetCase(const ChartSource* source);
  void Paint(QPainter& painter, const QRect& client) const;
  static QRect PlotRect(const QRect& client);

  // The preset and navigation commands 2001 to 2003 and 2005 to 2008; true when the window
  // changed. 2004 (the length dialog) belongs to the widget.
  bool Command(int id);
  Spo2Window& Window() { return window_; }
  const Spo2Window& Window() const { return window_; }

  // Finds the event under x; true when the hovered event changed.
  bool MouseMove(const QPoint& pos, const QRect& client);
  int HoveredEvent() const { return hovered_; }
  const std::vector<Mark>& Marks() const { return marks_; }
  bool HasSeries() const;

 private:
  double MarkX(const Mark& m, const QRect& plot) const;
  void PaintAxes(QPainter& p, const QRect& client, const QRect& plot) const;
  void PaintTimeLabels(QPainter& p, const QRect& plot) const;
  void PaintCurves(QPainter& p, const QRect& plot) const;
  void PaintEvents(QPainter& p, const QRect& plot) const;

  const ChartSource* source_ = nullptr;
  Spo2Window window_;
  std::vector<Mark> marks_;
  int hovered_ = -1;
};

}  // namespace vesk
