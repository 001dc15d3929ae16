#include "platform/DateTime.h"

#include <cmath>

namespace vesk {

namespace {
bool IsLeap(int y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

// Howard Hinnant's days-from-civil, shifted to the 1899-12-30 epoch.
int64_t DaysFromCivilUnix(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}
constexpr int64_t kEpochUnixDays = -25569;  // 1899-12-30 counted from 1970-01-01

// Continuous day count (time flows forward) from the stored form, and back.
double ToLinear(double d) {
  if (d >= 0) return d;
  const double whole = std::ceil(d);  // -1.25 -> -1
  const double frac = whole - d;      // 0.25
  return whole + frac;                // -0.75
}
double FromLinear(double l) {
  if (l >= 0) return l;
  const double whole = std::floor(l);  // -0.75 -> -1
  const double frac = l - whole;       // 0.25
  return whole - frac;                 // -1.25
}
}  // namespace

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

bool IsValidDate(int year, int month, int day, int hour, int minute, int second) {
  return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, month) && hour >= 0 && hour <= 23 && minute >= 0 &&
         minute <= 59 && second >= 0 && second <= 59;
}

int64_t DaysFromCivil(int year, int month, int day) {
  return DaysFromCivilUnix(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
         kEpochUnixDays;
}

void CivilFromDays(int64_t days, int& year, int& month, int& day) {
  int64_t z = days + kEpochUnixDays + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t y = static_cast<int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(y + (month <= 2));
}

int64_t MinuteStamp(int year, int month, int day, int hour, int minute) {
  return DaysFromCivil(year, month, day) * 1440 + int64_t{hour} * 60 + minute;
}

OleDateTime OleDateTime::FromParts(int year, int month, int day, int hour, int minute, int second) {
  OleDateTime t;
  if (!IsValidDate(year, month, day, hour, minute, second)) {
    t.status = Invalid;
    return t;
  }
  const double whole = static_cast<double>(DaysFromCivil(year, month, day));
  const double frac = (hour * 3600 + minute * 60 + second) / 86400.0;
  t.days = FromLinear(whole + frac);
  t.status = Valid;
  return t;
}

bool OleDateTime::ToParts(DateParts& out) const {
  if (status != Valid || !std::isfinite(days) || days < -657434.0 || days > 2958466.0) return false;
  const double linear = ToLinear(days);
  double wholeD = std::floor(linear);
  int64_t secs = std::llround((linear - wholeD) * 86400.0);
  int64_t whole = static_cast<int64_t>(wholeD);
  if (secs >= 86400) {
    secs -= 86400;
    ++whole;
  }
  CivilFromDays(whole, out.year, out.month, out.day);
  out.hour = static_cast<int>(secs / 3600);
  out.minute = static_cast<int>(secs / 60 % 60);
  out.second = static_cast<int>(secs % 60);
  return true;
}

OleDateTime OleDateTime::AddSeconds(double seconds) const {
  if (status != Valid) return *this;
  OleDateTime t = *this;
  t.days = FromLinear(ToLinear(days) + seconds / 86400.0);
  return t;
}

}  // namespace vesk
