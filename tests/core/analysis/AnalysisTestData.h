#pragma once
// Small hand-built readings and SpO2 series for the analysis tests.

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "cases/CaseRecord.h"

namespace vesk::test {

// A valid reading on 2024-03-01 (or `day`) at hh:mm; MAP lies between DIA and SYS.
inline _BP_RECORD Reading(int hour, int minute, int sys = 120, int dia = 80, int pr = 70,
                          int day = 1) {
  _BP_RECORD r;
  r.year = 2024;
  r.month = 3;
  r.day = static_cast<int16_t>(day);
  r.hour = static_cast<int16_t>(hour);
  r.minute = static_cast<int16_t>(minute);
  r.sys = sys;
  r.dia = static_cast<int16_t>(dia);
  r.map = static_cast<int16_t>((sys + 2 * dia) / 3);
  r.pr = static_cast<int16_t>(pr);
  r.included = 1;
  return r;
}

// One sample per listed value, at consecutive seconds from `firstSecond`.
inline std::vector<_SPO2_SAMPLE> Series(int firstSecond, std::initializer_list<int> values,
                                        bool pulse = false) {
  std::vector<_SPO2_SAMPLE> out;
  int t = firstSecond;
  for (int v : values) {
    _SPO2_SAMPLE s;
    (pulse ? s.pr : s.spo2) = static_cast<uint8_t>(v);
    (pulse ? s.spo2 : s.pr) = pulse ? 97 : 70;
    s.offset = t++;
    out.push_back(s);
  }
  return out;
}

inline void Append(std::vector<_SPO2_SAMPLE>& a, const std::vector<_SPO2_SAMPLE>& b) {
  a.insert(a.end(), b.begin(), b.end());
}

inline bool Finite(double x) {
  return std::isfinite(x);
}

}  // namespace vesk::test
