#include "analysis/StatisticsTable.h"

#include <cstdio>

namespace vesk {

namespace {

std::string Format1(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.1f", v);
  return buf;
}

std::string LoadPercent(int32_t loadCount, int32_t count) {
  return Format1(count == 0 ? 0.0 : static_cast<double>(loadCount) / count * 100.0);
}

void FillRow(const StatBlock& b, int32_t count, int32_t sysLoad, int32_t diaLoad,
             std::array<std::string, kStatColumns>& row) {
  const auto at = [&row](StatColumn c) -> std::string& { return row[static_cast<size_t>(c)]; };
  at(StatColumn::Count) = std::to_string(count);
  char bp[128];
  std::snprintf(bp, sizeof bp, "%.1f/%.1f", double(b[Quantity::Sys].mean),
                double(b[Quantity::Dia].mean));
  at(StatColumn::BloodPressure) = bp;
  at(StatColumn::PulseRate) = Format1(b[Quantity::Pr].mean);
  at(StatColumn::PulsePressure) = Format1(b[Quantity::Pp].mean);
  at(StatColumn::SysLoad) = LoadPercent(sysLoad, count);
  at(StatColumn::DiaLoad) = LoadPercent(diaLoad, count);
}

std::string Pair(int32_t a, int32_t b) {
  return std::to_string(a) + "/" + std::to_string(b);
}

}  // namespace

StatisticsTable FormatStatisticsTable(const _BP_STATISTICS& s, const Thresholds& t) {
  StatisticsTable table;
  auto& awake = table.cells[static_cast<size_t>(StatRow::Awake)];
  auto& asleep = table.cells[static_cast<size_t>(StatRow::Asleep)];
  auto& whole = table.cells[static_cast<size_t>(StatRow::Whole)];
  FillRow(s.awake, s.awakeCount, s.awakeSysLoadCount, s.awakeDiaLoadCount, awake);
  FillRow(s.asleep, s.asleepCount, s.asleepSysLoadCount, s.asleepDiaLoadCount, asleep);
  FillRow(s.whole, s.analysedCount, s.sysLoadCount, s.diaLoadCount, whole);
  awake[static_cast<size_t>(StatColumn::Thresholds)] = Pair(t.awakeSys, t.awakeDia);
  asleep[static_cast<size_t>(StatColumn::Thresholds)] = Pair(t.asleepSys, t.asleepDia);
  return table;
}

}  // namespace vesk
