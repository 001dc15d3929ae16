#pragma once
// What a report says about an SpO2 series beside its events: how many desaturations per hour
// of usable signal, how long the saturation stayed below 90 %, its lowest and mean value.

#include <cstdint>
#include <span>
#include <vector>

#include "analysis/EventDetector.h"
#include "cases/CaseRecord.h"

namespace vesk {

constexpr int32_t kLowSpO2Level = 90;

struct SpO2Summary {
  int32_t eventCount = 0;
  int32_t validSeconds = 0;  // one second per sample on the grid with a usable value
  double validHours = 0.0;
  double odi = 0.0;  // desaturation events per hour of usable signal
  int32_t secondsBelow90 = 0;
  double shareBelow90 = 0.0;  // of the usable seconds
  int32_t lowest = 0;
  double mean = 0.0;
  bool odiSet = false;     // needs usable signal
  bool valuesSet = false;  // lowest, mean and share
};

// Usable values are those the SpO2 event parameters accept (1..100 without a parameter set).
SpO2Summary ComputeSpO2Summary(std::span<const _SPO2_SAMPLE> samples, const EventParams* spo2Params,
                               const std::vector<EventRecord>& spo2Events);

}  // namespace vesk
