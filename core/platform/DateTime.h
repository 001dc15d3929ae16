#pragma once
// Date-time values in the form the case files and the recorders use: a floating count of days
// since 30 December 1899 with a validity status (0 valid). All arithmetic works on the
// wall-clock fields; the local time zone never enters, so daylight-saving changes cannot
// shift a reading.
//
// Days before the epoch follow the traditional rule: the integer part counts days backwards
// and the fraction is always the time of day (-1.25 is 29 December 1899, 06:00).

#include <cstdint>

namespace vesk {

struct DateParts {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  bool operator==(const DateParts&) const = default;
};

struct OleDateTime {
  enum Status : int32_t { Valid = 0, Invalid = 1, Null = 2 };
  double days = 0.0;
  int32_t status = Null;

  bool IsValid() const { return status == Valid; }

  // Invalid when a field is out of range (month 1-12, the day within its month, hour 0-23,
  // minute and second 0-59) or the year is outside 100..9999.
  static OleDateTime FromParts(int year, int month, int day, int hour = 0, int minute = 0,
                               int second = 0);
  static OleDateTime FromParts(const DateParts& p) {
    return FromParts(p.year, p.month, p.day, p.hour, p.minute, p.second);
  }
  // Fields rounded to the nearest second; false for an invalid value.
  bool ToParts(DateParts& out) const;
  // Adds seconds keeping the pre-epoch rule; an invalid value stays invalid.
  OleDateTime AddSeconds(double seconds) const;

  bool operator==(const OleDateTime&) const = default;
};

// True when the fields name a real calendar moment (year 100..9999).
bool IsValidDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
int DaysInMonth(int year, int month);
// Days from 1899-12-30 to the date (negative before it); the date must be valid.
int64_t DaysFromCivil(int year, int month, int day);
// The inverse of DaysFromCivil.
void CivilFromDays(int64_t days, int& year, int& month, int& day);
// Minutes from the epoch, for comparisons "to the minute" of fields alone.
int64_t MinuteStamp(int year, int month, int day, int hour, int minute);

}  // namespace vesk
