#pragma once
// The trend chart's value axis in mmHg: where a value lands vertically for the current range,
// zoom and scroll.

#include "charts/ChartGeometry.h"

namespace vesk {

class ValueAxis {
 public:
  void Reset();
  // Accepted only when 0 <= minimum < maximum, minimum < 300 and maximum <= 300; resets the
  // zoom, stretch and scroll.
  bool SetRange(int minimum, int maximum);
  bool IsValid() const { return minimum_ >= 0 && maximum_ > minimum_; }
  // y of a value, truncated to a whole pixel; the plot bottom on an invalid axis.
  int YOf(double value) const;
  double TotalHeight() const;

  // Refused when the product of both factors leaves (0.3, 2.0] or the axis is fixed.
  bool SetZoom(double zoom);
  bool SetStretch(double stretch);
  bool SetScroll(int offset);
  void FoldStretch();

  int Minimum() const { return minimum_; }
  int Maximum() const { return maximum_; }
  double Zoom() const { return zoom_; }
  double Stretch() const { return stretch_; }
  int ScrollOffset() const { return scroll_; }
  bool Fixed() const { return fixed_; }
  void SetFixed(bool fixed) { fixed_ = fixed; }
  PlotBox plot;
  // First and last value that got a label at the last paint, -1 before.
  int firstLabelled = -1;
  int lastLabelled = -1;

 private:
  int minimum_ = -1;
  int maximum_ = -1;
  double zoom_ = 1.0;
  double stretch_ = 1.0;
  int scroll_ = 0;
  bool fixed_ = false;
};

}  // namespace vesk
