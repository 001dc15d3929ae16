#include "analysis/HourlyAverages.h"

#include <algorithm>

#include "platform/DateTime.h"

namespace vesk {

namespace {
struct Sum {
  int64_t key = 0;  // day * slots per day + slot: sorts by time
  int64_t day = 0;
  int32_t slot = 0;
  int32_t count = 0;
  int64_t sys = 0, dia = 0, pr = 0, map = 0, spo2 = 0;
  int32_t spo2Count = 0;
};
}  // namespace

std::vector<AveragedPeriod> AverageByPeriod(std::span<const _BP_RECORD> readings, int minutes) {
  std::vector<AveragedPeriod> out;
  if (minutes < 1 || minutes > 1440) return out;
  const int slotsPerDay = (1440 + minutes - 1) / minutes;

  // Readings usually come in time order, so a sorted vector of keys stays short and cheap.
  std::vector<Sum> sums;
  for (const _BP_RECORD& r : readings) {
    if (!IsValidDate(r.year, r.month, r.day, r.hour, r.minute, 0)) continue;
    const int64_t day = DaysFromCivil(r.year, r.month, r.day);
    const int32_t slot = (r.hour * 60 + r.minute) / minutes;
    const int64_t key = day * slotsPerDay + slot;
    auto it = std::lower_bound(sums.begin(), sums.end(), key,
                               [](const Sum& s, int64_t k) { return s.key < k; });
    if (it == sums.end() || it->key != key) {
      Sum fresh;
      fresh.key = key;
      fresh.day = day;
      fresh.slot = slot;
      it = sums.insert(it, fresh);
    }
    ++it->count;
    it->sys += r.sys;
    it->dia += r.dia;
    it->pr += r.pr;
    it->map += r.map;
    if (r.spo2 >= 1 && r.spo2 <= 99) {
      it->spo2 += r.spo2;
      ++it->spo2Count;
    }
  }

  out.reserve(sums.size());
  for (const Sum& s : sums) {
    AveragedPeriod p;
    int y = 0, m = 0, d = 0;
    CivilFromDays(s.day, y, m, d);
    p.year = y, p.month = m, p.day = d;
    const int start = s.slot * minutes;
    p.hour = start / 60;
    p.minute = start % 60;
    p.lengthMinutes = std::min(minutes, 1440 - start);
    p.count = s.count;
    const double n = s.count;
    p.sys = s.sys / n;
    p.dia = s.dia / n;
    p.pr = s.pr / n;
    p.map = s.map / n;
    p.spo2Count = s.spo2Count;
    if (s.spo2Count > 0) p.spo2 = static_cast<double>(s.spo2) / s.spo2Count;
    out.push_back(p);
  }
  return out;
}

}  // namespace vesk
