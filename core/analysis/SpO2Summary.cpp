#include "analysis/SpO2Summary.h"

#include <algorithm>

namespace vesk {

SpO2Summary ComputeSpO2Summary(std::span<const _SPO2_SAMPLE> samples, const EventParams* spo2Params,
                               const std::vector<EventRecord>& spo2Events) {
  SpO2Summary out;
  out.eventCount = static_cast<int32_t>(spo2Events.size());
  // A value of 0 means no signal whatever the parameters say.
  const int lo = std::max(1, spo2Params ? spo2Params->lowValid : 1);
  const int hi = spo2Params ? spo2Params->highValid : 100;
  int64_t sum = 0;
  int lowest = 256;
  ForEachGridSample(samples, [&](int32_t, const _SPO2_SAMPLE& s) {
    if (s.spo2 < lo || s.spo2 > hi) return;
    ++out.validSeconds;
    sum += s.spo2;
    lowest = std::min<int>(lowest, s.spo2);
    if (s.spo2 < kLowSpO2Level) ++out.secondsBelow90;
  });
  if (out.validSeconds == 0) return out;
  out.validHours = out.validSeconds / 3600.0;
  out.odi = out.eventCount / out.validHours;
  out.odiSet = true;
  out.lowest = lowest;
  out.mean = static_cast<double>(sum) / out.validSeconds;
  out.shareBelow90 = static_cast<double>(out.secondsBelow90) / out.validSeconds;
  out.valuesSet = true;
  return out;
}

}  // namespace vesk
