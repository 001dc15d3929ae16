#pragma once
// The value distributions behind the histograms: per quantity the share of readings in each
// class, a class being lower limit < value <= upper limit.

#include <array>
#include <cstdint>
#include <span>

#include "analysis/DayNight.h"
#include "cases/CaseRecord.h"

namespace vesk {

inline constexpr std::array<int32_t, 15> kSysClassLimits = {0,   90,  100, 110, 120, 130, 140, 150,
                                                            160, 170, 180, 190, 200, 210, 900};
inline constexpr std::array<int32_t, 16> kDiaClassLimits = {0,   50,  60,  70,  80,  90,  100, 110,
                                                            120, 130, 140, 150, 160, 170, 180, 900};
inline constexpr std::array<int32_t, 16> kPrClassLimits = kDiaClassLimits;

struct PressureDistribution {
  std::array<double, 14> sys{};
  std::array<double, 15> dia{};
  std::array<double, 15> pr{};
};

// The class of a value (0-based), or -1 when it is <= 0 or > 900.
int ClassOf(std::span<const int32_t> limits, int32_t value);

// Clears `out`, then fills it. Returns 0 for an empty list (record left cleared), else 1.
// Values outside every class are counted in none, so the shares may add up to less than 1.
int ComputeDistribution(const ReadingRefs& readings, PressureDistribution& out);
int ComputeDistribution(std::span<const _BP_RECORD> readings, PressureDistribution& out);

}  // namespace vesk
