#include "charts/ValueAxis.h"

namespace vesk {

void ValueAxis::Reset() {
  const PlotBox keep = plot;
  *this = ValueAxis{};
  plot = keep;
}

bool ValueAxis::SetRange(int minimum, int maximum) {
  if (minimum < 0 || minimum >= maximum || minimum >= 300 || maximum > 300) return false;
  minimum_ = minimum;
  maximum_ = maximum;
  zoom_ = 1.0;
  stretch_ = 1.0;
  scroll_ = 0;
  return true;
}

int ValueAxis::YOf(double value) const {
  if (!IsValid()) return plot.bottom;
  const double perUnit = static_cast<double>(plot.bottom - plot.top) / (maximum_ - minimum_);
  const double y = plot.bottom - (perUnit * (value - minimum_) * zoom_ * stretch_ - 1.0) + scroll_;
  return static_cast<int>(y);
}

double ValueAxis::TotalHeight() const {
  return static_cast<double>(plot.bottom - plot.top) * zoom_ * stretch_;
}

bool ValueAxis::SetZoom(double zoom) {
  if (fixed_ || !ZoomAccepted(zoom * stretch_, kValueZoomLow, kValueZoomHigh)) return false;
  zoom_ = zoom;
  return true;
}

bool ValueAxis::SetStretch(double stretch) {
  if (fixed_ || !ZoomAccepted(zoom_ * stretch, kValueZoomLow, kValueZoomHigh)) return false;
  stretch_ = stretch;
  return true;
}

bool ValueAxis::SetScroll(int offset) {
  if (fixed_) return false;
  scroll_ = offset < 0 ? 0 : offset;
  return true;
}

void ValueAxis::FoldStretch() {
  zoom_ *= stretch_;
  stretch_ = 1.0;
}

}  // namespace vesk
