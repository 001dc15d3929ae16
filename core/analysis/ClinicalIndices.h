#pragma once
// Indices clinicians read beside the statistics: morning surge, reading-to-reading and
// weighted 24-hour variability, the dipping class, whether the recording is good enough to
// interpret, and the smoothness index of a treatment. Each lives in a record of its own; a
// figure that cannot be computed stays 0 with its flag false.

#include <cstdint>
#include <span>

#include "analysis/DayNight.h"
#include "analysis/Statistics.h"
#include "cases/CaseRecord.h"

namespace vesk {

struct MorningSurge {
  // Mean SYS of the two hours from the awake start minus the mean of the lowest asleep SYS
  // and the asleep readings just before and after it.
  double sleepTrough = 0.0;
  // The same morning mean minus the mean SYS of the two hours before the awake start.
  double preWaking = 0.0;
  double morningMean = 0.0, troughMean = 0.0, preWakingMean = 0.0;
  bool sleepTroughSet = false;
  bool preWakingSet = false;
};

MorningSurge ComputeMorningSurge(const PeriodRefs& lists, int awakeStart);

struct Variability {
  // Average real variability: mean absolute difference of consecutive readings.
  double arvSys = 0.0, arvDia = 0.0;
  // Awake and asleep SD weighted by the hours of each period, over 24 hours.
  double weightedSdSys = 0.0, weightedSdDia = 0.0;
  double awakeHours = 0.0, asleepHours = 0.0;
  bool arvSet = false;         // needs two readings
  bool weightedSdSet = false;  // needs readings in both periods
};

// Minutes of the day that belong to the asleep period under the day/night rule.
int AsleepMinutes(int asleepStart, int awakeStart);

Variability ComputeVariability(const PeriodRefs& lists, int asleepStart, int awakeStart);

enum class DipClass : int32_t {
  Unknown = 0,        // no night dip (no awake or no asleep readings)
  Riser = 1,          // dip below 0
  NonDipper = 2,      // 0 up to "Low CR"
  Dipper = 3,         // "Low CR" up to "High CR", both included
  ExtremeDipper = 4,  // above "High CR"
};

const char* DipClassName(DipClass c);

// `dip` is a fraction (0.12: 12 %); the limits are percent.
DipClass ClassifyDip(double dip, int32_t lowCr, int32_t highCr);

struct Dipping {
  DipClass sys = DipClass::Unknown;
  DipClass dia = DipClass::Unknown;
  double sysPercent = 0.0, diaPercent = 0.0;
};

Dipping ComputeDipping(const _BP_STATISTICS& stats, int32_t lowCr, int32_t highCr);

// The usual minimum for a recording worth interpreting.
constexpr double kMinValidShare = 0.70;
constexpr int32_t kMinAwakeReadings = 20;
constexpr int32_t kMinAsleepReadings = 7;

struct RecordingQuality {
  int32_t readingCount = 0, validCount = 0, awakeCount = 0, asleepCount = 0;
  double validShare = 0.0;
  bool validShareOk = false, awakeOk = false, asleepOk = false;
  bool adequate = false;  // all three
};

RecordingQuality ComputeRecordingQuality(int32_t readingCount, const PeriodRefs& lists);

struct Smoothness {
  int32_t sharedHours = 0;  // clock hours both recordings have readings in
  double sys = 0.0, dia = 0.0;
  bool sysSet = false, diaSet = false;
};

constexpr int32_t kMinSharedHours = 12;

// Baseline and on-treatment recordings of one patient (all readings; invalid and excluded
// ones are left out): the mean of the hourly reductions over their SD.
Smoothness ComputeSmoothnessIndex(std::span<const _BP_RECORD> baseline,
                                  std::span<const _BP_RECORD> treatment);

}  // namespace vesk
