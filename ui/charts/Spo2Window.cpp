#include "charts/Spo2Window.h"

#include <cmath>

namespace vesk {

int GridCountFor(int lengthSeconds) {
  if (lengthSeconds <= 60) return 5;
  if (lengthSeconds <= 600) return 10;
  return 12;
}

int TimeLabelStep(int lengthSeconds) {
  if (lengthSeconds <= 60) return 10;
  if (lengthSeconds <= 600) return 60;
  if (lengthSeconds <= 3600) return 300;
  return 3600;
}

void Spo2Window::SetSeries(const OleDateTime& first, const OleDateTime& last) {
  first_ = first;
  last_ = last;
  seriesSeconds_ = 0;
  if (HasSeries() && last.days > first.days)
    seriesSeconds_ = static_cast<int64_t>(std::llround((last.days - first.days) * 86400.0));
  start_ = 0;
  allData_ = false;
  ApplyPreset(kCmdTenMinutes);
}

bool Spo2Window::ApplyPreset(int command) {
  int length = 0, grids = 0;
  switch (command) {
    case kCmdOneMinute:
      length = 60, grids = 6;
      break;
    case kCmdTenMinutes:
      length = 600, grids = 10;
      break;
    case kCmdOneHour:
      length = 3600, grids = 6;
      break;
    default:
      return false;
  }
  length_ = length;
  grids_ = grids;
  allData_ = false;
  preset_ = command;
  return true;
}

bool Spo2Window::SetManualLength(int hours, int minutes, bool allData) {
  int64_t length = 0;
  if (allData) {
    length = seriesSeconds_;
  } else {
    if (hours < 0 || minutes < 0) return false;
    length = (static_cast<int64_t>(hours) * 60 + minutes) * 60;
  }
  if (length < 1 || length > INT32_MAX) return false;
  length_ = static_cast<int>(length);
  grids_ = GridCountFor(length_);
  allData_ = allData;
  if (allData) start_ = 0;
  preset_ = kCmdManualLength;
  return true;
}

int Spo2Window::GridSeconds() const {
  const int grid = grids_ > 0 ? length_ / grids_ : length_;
  return grid < 1 ? 1 : grid;
}

bool Spo2Window::MoveLeft() {
  if (start_ <= 0) {
    start_ = 0;
    return false;
  }
  start_ -= GridSeconds();
  if (start_ < 0) start_ = 0;
  return true;
}

bool Spo2Window::MoveRight() {
  const int64_t next = start_ + GridSeconds();
  if (next > seriesSeconds_) return false;
  start_ = next;
  return true;
}

bool Spo2Window::SetStart(int64_t secondsFromFirst) {
  if (secondsFromFirst < 0 || secondsFromFirst > seriesSeconds_) return false;
  start_ = secondsFromFirst;
  return true;
}

OleDateTime Spo2Window::StartTime() const {
  return first_.AddSeconds(static_cast<double>(start_));
}

double Spo2Y(double v, int top, int bottom) {
  return bottom - (bottom - top - 1) * (v - 70) / 30.0;
}

double PulseY(double v, int top, int bottom) {
  return bottom - (bottom - top - 1) * (v - 30) / 225.0;
}

double WindowX(double seconds, int length, int left, int right) {
  if (length < 1) return left;
  return left + static_cast<double>(right - left) / length * std::round(seconds);
}

int NearestEvent(std::span<const double> xs, double x, int left, int right) {
  int best = -1;
  double bestDistance = 9999.0;
  for (size_t i = 0; i < xs.size(); ++i) {
    const double d = std::fabs(xs[i] - x);
    if (d < bestDistance) {
      bestDistance = d;
      best = static_cast<int>(i);
    }
  }
  if (best < 0 || xs[static_cast<size_t>(best)] < left || xs[static_cast<size_t>(best)] > right)
    return -1;
  return best;
}

}  // namespace vesk
