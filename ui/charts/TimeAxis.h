#pragma once
// The trend chart's time axis: where a time stamp lands horizontally, in pixels from the plot's
// left edge, for the current zoom and scroll.

#include <cstdint>

#include "charts/ChartGeometry.h"
#include "platform/DateTime.h"

namespace vesk {

// Added to the seconds before truncation so that a time stamp stored as fractional days lands
// on its own whole second rather than one below it.
inline constexpr double kSecondRounding = 5.787037037037037e-6;

class TimeAxis {
 public:
  // Back to the state of a chart without readings.
  void Reset();
  void SetSpan(const OleDateTime& first, const OleDateTime& last);
  void SetEqualSpacing(bool on, int readingCount);

  // Both stamps valid, the last after the first and both units usable.
  bool IsValid() const;
  // Pixels per second.
  double Scale() const;
  // Whole seconds from the first time to t (rounded as the stored stamps need).
  int64_t SecondsFromFirst(const OleDateTime& t) const;
  // x of a time stamp; false (and x = -1) before the first time or on an invalid axis.
  bool Place(const OleDateTime& t, double& x) const;
  double XOf(const OleDateTime& t) const;
  // x of the index-th reading at equal spacing: the middle of its slot.
  double XOfIndex(int index) const;
  // Width of the whole recording in pixels, the scroll range's base.
  double TotalWidth() const;
  // Seconds from the first time at the left edge of the plot.
  double VisibleStartSeconds() const;
  OleDateTime VisibleStart() const;

  // Refused (false, nothing changed) when the product of both factors leaves (0.2, 10.0] or
  // the axis is fixed.
  bool SetZoom(double zoom);
  bool SetStretch(double stretch);
  bool SetScroll(int offset);
  // Folds the stretch into the zoom after a drag.
  void FoldStretch();

  const OleDateTime& First() const { return first_; }
  const OleDateTime& Last() const { return last_; }
  double Zoom() const { return zoom_; }
  double Stretch() const { return stretch_; }
  int ScrollOffset() const { return scroll_; }
  bool EqualSpacing() const { return equalSpacing_; }
  int ReadingCount() const { return readingCount_; }
  bool Fixed() const { return fixed_; }
  void SetFixed(bool fixed) { fixed_ = fixed; }
  void SetUnits(int minutes, int pixels) {
    unitMinutes_ = minutes;
    unitPixels_ = pixels;
  }
  PlotBox plot;

 private:
  OleDateTime first_, last_;
  int unitMinutes_ = 1;
  int unitPixels_ = 1;
  double zoom_ = 1.0;
  double stretch_ = 1.0;
  int scroll_ = 0;
  bool equalSpacing_ = false;
  int readingCount_ = 0;
  bool fixed_ = false;
};

}  // namespace vesk
