#pragma once
// The day/night rule and the reading lists every figure is computed from. Only the time of
// day decides the period; the date plays no part, so a multi-day recording folds onto one
// clock.

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "cases/CaseRecord.h"

namespace vesk {

// The plan's defaults: awake from 07:00, asleep from 22:00.
constexpr int kDefaultAwakeStart = 7 * 60;
constexpr int kDefaultAsleepStart = 22 * 60;

// Which readings a figure covers: the values of the main view's period buttons.
enum class Period : int32_t { All = 0, Awake = 1, Asleep = 2 };

// The five quantities of a reading; pulse pressure is SYS - DIA, never stored.
enum class Quantity : int32_t { Sys = 0, Dia = 1, Pr = 2, Map = 3, Pp = 4 };
constexpr int kQuantityCount = 5;

inline int32_t ValueOf(const _BP_RECORD& r, Quantity q) {
  switch (q) {
    case Quantity::Sys:
      return r.sys;
    case Quantity::Dia:
      return r.dia;
    case Quantity::Pr:
      return r.pr;
    case Quantity::Map:
      return r.map;
    case Quantity::Pp:
      // SYS and DIA hold whatever the file held; their difference must not wrap.
      return static_cast<int32_t>(
          std::clamp<int64_t>(int64_t{r.sys} - r.dia, INT32_MIN, INT32_MAX));
  }
  return 0;
}

// hour * 60 + minute; seconds are ignored.
inline int MinuteOfDay(const _BP_RECORD& r) {
  return r.hour * 60 + r.minute;
}

// With asleep start S and awake start W: when S <= W the asleep period is S..W with both ends
// included; when it runs over midnight (S > W) it is everything after S or before W, both
// ends excluded. Equal starts make exactly that one minute asleep.
inline bool IsAsleepMinute(int t, int asleepStart, int awakeStart) {
  if (asleepStart <= awakeStart) return asleepStart <= t && t <= awakeStart;
  return t < awakeStart || t > asleepStart;
}

inline bool IsAsleep(const _BP_RECORD& r, int asleepStart, int awakeStart) {
  return IsAsleepMinute(MinuteOfDay(r), asleepStart, awakeStart);
}

// The valid readings (validity rule) and the analysed readings (valid and included), both in
// list order. Either output may be null.
void BuildReadingLists(std::span<const _BP_RECORD> all, std::vector<_BP_RECORD>* valid,
                       std::vector<_BP_RECORD>* analysed);

// Splits a list into awake and asleep readings, keeping the input order. Never fails.
void SplitByPeriod(std::span<const _BP_RECORD> list, int asleepStart, int awakeStart,
                   std::vector<_BP_RECORD>& awake, std::vector<_BP_RECORD>& asleep);

// Borrowed views of the same lists for computations that only read: no reading is copied.
using ReadingRefs = std::vector<const _BP_RECORD*>;

struct PeriodRefs {
  ReadingRefs analysed;
  ReadingRefs awake;
  ReadingRefs asleep;
  int validCount = 0;
  const ReadingRefs& Of(Period p) const {
    return p == Period::Awake ? awake : p == Period::Asleep ? asleep : analysed;
  }
};

// Analysed readings of `all` (validity rule and included flag) and their day/night split.
PeriodRefs BuildPeriodRefs(std::span<const _BP_RECORD> all, int asleepStart, int awakeStart);

// Every reading of `list`, taken as already analysed, split by the day/night rule.
PeriodRefs SplitRefs(std::span<const _BP_RECORD> list, int asleepStart, int awakeStart);

ReadingRefs RefsOf(std::span<const _BP_RECORD> list);

}  // namespace vesk
