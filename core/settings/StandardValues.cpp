#include "settings/StandardValues.h"

#include <algorithm>

namespace vesk {

namespace {
// Upper systolic and lower diastolic limit of each period; the other ends follow from them.
int32_t Ceiling(Period p) {
  return p == Period::Awake ? 280 : 240;
}
int32_t Floor(Period p) {
  return p == Period::Awake ? 50 : 40;
}
}  // namespace

ThresholdRange SystolicRange(Period p) {
  return {Floor(p) + 1, Ceiling(p)};
}
ThresholdRange DiastolicRange(Period p) {
  return {Floor(p), Ceiling(p) - 1};
}

int32_t FixSystolic(int32_t systolic, int32_t diastolic, Period p) {
  if (systolic <= diastolic) systolic = std::max(diastolic, Floor(p)) + 1;
  const ThresholdRange r = SystolicRange(p);
  return std::clamp(systolic, r.low, r.high);
}

int32_t FixDiastolic(int32_t diastolic, int32_t systolic, Period p) {
  if (diastolic >= systolic) diastolic = std::min(systolic, Ceiling(p)) - 1;
  const ThresholdRange r = DiastolicRange(p);
  return std::clamp(diastolic, r.low, r.high);
}

int32_t FixLowCR(int32_t low, int32_t high) {
  if (low >= high) low = std::min(high, 100) - 1;
  return std::clamp(low, 1, 99);
}

int32_t FixHighCR(int32_t high, int32_t low) {
  if (high <= low) high = std::max(low, 1) + 1;
  return std::clamp(high, 2, 100);
}

int32_t FixLoad(int32_t load) {
  return std::clamp(load, 0, 100);
}

}  // namespace vesk
