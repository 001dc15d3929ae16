#pragma once
// The time window of the SpO2 trend: its length and grid, the presets, the manual length and
// the moves along the recording. Times are whole seconds from the start of the series.

#include <cstdint>
#include <span>

#include "platform/DateTime.h"

namespace vesk {

enum Spo2Command : int {
  kCmdOneMinute = 2001,
  kCmdTenMinutes = 2002,
  kCmdOneHour = 2003,
  kCmdManualLength = 2004,
  kCmdPageLeft = 2005,
  kCmdGridLeft = 2006,
  kCmdGridRight = 2007,
  kCmdPageRight = 2008,
};

// 5 grids up to 60 s, 10 up to 600 s, else 12.
int GridCountFor(int lengthSeconds);
// Seconds between two time labels: 10 s up to 60 s, 60 s up to 600 s, 300 s up to one hour,
// 3600 s beyond.
int TimeLabelStep(int lengthSeconds);

class Spo2Window {
 public:
  // A new series: the ten-minute preset at its start.
  void SetSeries(const OleDateTime& first, const OleDateTime& last);
  bool HasSeries() const { return first_.IsValid() && last_.IsValid(); }

  // 2001..2003; false for other commands or when no series is set.
  bool ApplyPreset(int command);
  // The length dialog's confirm: the whole series when allData, else hours and minutes.
  // false (nothing changed) when the length would be below one second.
  bool SetManualLength(int hours, int minutes, bool allData);
  // Moves by one grid; false when the move was refused (right past the end) or did nothing.
  bool MoveLeft();
  bool MoveRight();
  // A start chosen in the length dialog; false outside the series.
  bool SetStart(int64_t secondsFromFirst);

  int64_t Start() const { return start_; }
  int Length() const { return length_; }
  int Grids() const { return grids_; }
  int GridSeconds() const;
  bool AllData() const { return allData_; }
  int Hours() const { return length_ / 3600; }
  int Minutes() const { return length_ % 3600 / 60; }
  int64_t SeriesSeconds() const { return seriesSeconds_; }
  int ActivePreset() const { return preset_; }
  const OleDateTime& First() const { return first_; }
  OleDateTime StartTime() const;

 private:
  OleDateTime first_, last_;
  int64_t seriesSeconds_ = 0;
  int64_t start_ = 0;
  int length_ = 600;
  int grids_ = 10;
  bool allData_ = false;
  int preset_ = kCmdTenMinutes;
};

// Value mappings of the two SpO2 axes (y of value v in a plot from top to bottom).
double Spo2Y(double v, int top, int bottom);
double PulseY(double v, int top, int bottom);
// x of a time `seconds` after the window start in a plot from left to right.
double WindowX(double seconds, int length, int left, int right);

// The event nearest to x among the given positions, -1 when its position lies outside
// left..right (or there is none); the first wins a tie.
int NearestEvent(std::span<const double> xs, double x, int left, int right);

}  // namespace vesk
