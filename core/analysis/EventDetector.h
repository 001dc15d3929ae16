#pragma once
// Desaturation events of the SpO2 series and steady rises or falls of its pulse rate. Both
// detectors lay the samples on a one-second grid, cut it into segments at every gap, and scan
// each segment once.

#include <cstdint>
#include <span>
#include <vector>

#include "cases/CaseRecord.h"

namespace vesk {

// Eight integers in the order the configuration and the report files keep them.
struct EventParams {
  int32_t maxTime = 255;    // seconds; a longer event is dropped
  int32_t minTime = 2;      // seconds; a shorter one is dropped; widest gap a swing merge bridges
  int32_t leastChange = 2;  // % SpO2 or beats per minute
  int32_t rateLimit = 8;    // units per second; an event must change strictly slower
  int32_t lowValid = 20;    // values outside lowValid..highValid belong to no event
  int32_t highValid = 100;
  int32_t swing = 0;      // 0: no merging; else the largest rebound two runs are merged over
  int32_t criterion = 0;  // SpO2 only; not used by the detection
  bool operator==(const EventParams&) const = default;
};
static_assert(sizeof(EventParams) == 32);

struct EventRecord {
  int32_t startValue = 0;  // series value at the first second
  int32_t kind = 1;
  int32_t startTime = 0;  // milliseconds from the start of the series
  int32_t endTime = 0;
  // SpO2: start value minus end value (positive for a fall); pulse rate: end minus start.
  int32_t change = 0;
  bool operator==(const EventRecord&) const = default;
};

// Offsets beyond this second are skipped: event times are int32 milliseconds.
constexpr int32_t kMaxSeriesSecond = INT32_MAX / 1000;

// Replace `events` by the events found and return 1; return 0 with `events` emptied when there
// are no samples or no parameter set.
int DetectSpO2Events(std::span<const _SPO2_SAMPLE> samples, const EventParams* params,
                     std::vector<EventRecord>& events);
int DetectPulseRateEvents(std::span<const _SPO2_SAMPLE> samples, const EventParams* params,
                          std::vector<EventRecord>& events);

// Calls `fn(offset, sample)` for each sample that goes onto the one-second grid: offsets must
// rise strictly from 0 (so second 0 never holds a sample) and stay within kMaxSeriesSecond.
template <typename Fn>
void ForEachGridSample(std::span<const _SPO2_SAMPLE> samples, Fn&& fn) {
  int32_t previous = 0;
  for (const _SPO2_SAMPLE& s : samples) {
    if (s.offset <= previous || s.offset > kMaxSeriesSecond) continue;
    previous = s.offset;
    fn(s.offset, s);
  }
}

}  // namespace vesk
