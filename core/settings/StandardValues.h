#pragma once
// The rules of the standard-values page: while a threshold is typed, each pair is kept
// apart (systolic above diastolic, low change rate below high), and every value stays in
// the range its field allows. Pure functions; the dialog calls them on every change.

#include <cstdint>

#include "settings/ConfigTypes.h"

namespace vesk {

enum class Period { Awake, Asleep };

struct ThresholdRange {
  int32_t low, high;
};
// The field ranges: systolic 51-280 awake, 41-240 asleep; diastolic 50-279, 40-239;
// low change rate 1-99, high 2-100; the loads 0-100.
ThresholdRange SystolicRange(Period p);
ThresholdRange DiastolicRange(Period p);

// A systolic value not above its diastolic partner becomes partner + 1; the result stays in
// the systolic range.
int32_t FixSystolic(int32_t systolic, int32_t diastolic, Period p);
// A diastolic value not below its systolic partner becomes partner - 1; the result stays in
// the diastolic range.
int32_t FixDiastolic(int32_t diastolic, int32_t systolic, Period p);
// "Low CR" not below "High CR" becomes High CR - 1, within 1-99.
int32_t FixLowCR(int32_t low, int32_t high);
// "High CR" not above "Low CR" becomes Low CR + 1, within 2-100.
int32_t FixHighCR(int32_t high, int32_t low);
// A blood-pressure load, within 0-100.
int32_t FixLoad(int32_t load);

// What the default-values button puts into the eight fields.
inline constexpr Thresholds DefaultThresholdValues() {
  return kDefaultThresholds;
}

}  // namespace vesk
