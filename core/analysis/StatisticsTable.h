#pragma once
// The statistics window's table as text, so the window only places strings and the figures
// it shows can be checked without a screen.

#include <array>
#include <cstdint>
#include <string>

#include "analysis/Statistics.h"
#include "settings/ConfigTypes.h"

namespace vesk {

enum class StatRow : int32_t { Awake = 0, Asleep = 1, Whole = 2 };
inline constexpr int kStatRows = 3;

enum class StatColumn : int32_t {
  Count = 0,          // "%d"
  BloodPressure = 1,  // mean SYS / mean DIA, "%.1f/%.1f"
  PulseRate = 2,      // "%.1f"
  PulsePressure = 3,  // "%.1f"
  SysLoad = 4,        // percent of the period's readings, "%.1f"
  DiaLoad = 5,
  Thresholds = 6,  // SYS/DIA threshold "%d/%d"; empty for the whole recording
};
inline constexpr int kStatColumns = 7;

struct StatisticsTable {
  std::array<std::array<std::string, kStatColumns>, kStatRows> cells;
  const std::string& At(StatRow r, StatColumn c) const {
    return cells[static_cast<size_t>(r)][static_cast<size_t>(c)];
  }
};

// A load share whose period has no readings shows 0.0.
[[nodiscard]] StatisticsTable FormatStatisticsTable(const _BP_STATISTICS& stats,
                                                    const Thresholds& thresholds);

}  // namespace vesk
