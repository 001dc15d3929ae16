#include "charts/TimeAxis.h"

#include <cmath>

namespace vesk {

void TimeAxis::Reset() {
  const PlotBox keep = plot;
  *this = TimeAxis{};
  plot = keep;
}

void TimeAxis::SetSpan(const OleDateTime& first, const OleDateTime& last) {
  first_ = first;
  last_ = last;
}

void TimeAxis::SetEqualSpacing(bool on, int readingCount) {
  equalSpacing_ = on;
  readingCount_ = readingCount < 0 ? 0 : readingCount;
}

bool TimeAxis::IsValid() const {
  // A unit of zero minutes would divide by zero, so it counts as unusable.
  return first_.IsValid() && last_.IsValid() && last_.days > first_.days && unitMinutes_ > 0 &&
         unitPixels_ >= 0;
}

double TimeAxis::Scale() const {
  if (unitMinutes_ <= 0) return 0.0;
  return static_cast<double>(unitPixels_) / unitMinutes_ * zoom_ * stretch_ / 60.0;
}

int64_t TimeAxis::SecondsFromFirst(const OleDateTime& t) const {
  return static_cast<int64_t>((t.days - first_.days) * 86400.0 + kSecondRounding);
}

bool TimeAxis::Place(const OleDateTime& t, double& x) const {
  x = -1.0;
  if (!IsValid() || !t.IsValid() || t.days < first_.days) return false;
  x = static_cast<double>(SecondsFromFirst(t)) * Scale() - scroll_;
  return true;
}

double TimeAxis::XOf(const OleDateTime& t) const {
  double x = -1.0;
  Place(t, x);
  return x;
}

double TimeAxis::XOfIndex(int index) const {
  if (readingCount_ <= 0) return -1.0;
  // Centred in its slot: at the slot's left edge the first reading would sit under the plot's
  // frame line and never be seen.
  return static_cast<double>(plot.right - plot.left) * (index + 0.5) / readingCount_;
}

double TimeAxis::TotalWidth() const {
  if (equalSpacing_) return readingCount_;
  if (!IsValid()) return 0.0;
  return static_cast<double>(SecondsFromFirst(last_)) * Scale();
}

double TimeAxis::VisibleStartSeconds() const {
  const double scale = Scale();
  return scale > 0.0 ? scroll_ / scale : 0.0;
}

OleDateTime TimeAxis::VisibleStart() const {
  if (!first_.IsValid()) return first_;
  return first_.AddSeconds(std::floor(VisibleStartSeconds()));
}

bool TimeAxis::SetZoom(double zoom) {
  if (fixed_ || !ZoomAccepted(zoom * stretch_, kTimeZoomLow, kTimeZoomHigh)) return false;
  zoom_ = zoom;
  return true;
}

bool TimeAxis::SetStretch(double stretch) {
  if (fixed_ || !ZoomAccepted(zoom_ * stretch, kTimeZoomLow, kTimeZoomHigh)) return false;
  stretch_ = stretch;
  return true;
}

bool TimeAxis::SetScroll(int offset) {
  if (fixed_) return false;
  scroll_ = offset < 0 ? 0 : offset;
  return true;
}

void TimeAxis::FoldStretch() {
  zoom_ *= stretch_;
  stretch_ = 1.0;
}

}  // namespace vesk
