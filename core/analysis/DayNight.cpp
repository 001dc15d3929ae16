#include "analysis/DayNight.h"

namespace vesk {

void BuildReadingLists(std::span<const _BP_RECORD> all, std::vector<_BP_RECORD>* valid,
                       std::vector<_BP_RECORD>* analysed) {
  if (valid) valid->clear();
  if (analysed) analysed->clear();
  for (const _BP_RECORD& r : all) {
    if (!IsValidReading(r)) continue;
    if (valid) valid->push_back(r);
    if (analysed && r.included != 0) analysed->push_back(r);
  }
}

void SplitByPeriod(std::span<const _BP_RECORD> list, int asleepStart, int awakeStart,
                   std::vector<_BP_RECORD>& awake, std::vector<_BP_RECORD>& asleep) {
  awake.clear();
  asleep.clear();
  for (const _BP_RECORD& r : list)
    (IsAsleep(r, asleepStart, awakeStart) ? asleep : awake).push_back(r);
}

ReadingRefs RefsOf(std::span<const _BP_RECORD> list) {
  ReadingRefs refs;
  refs.reserve(list.size());
  for (const _BP_RECORD& r : list) refs.push_back(&r);
  return refs;
}

namespace {
void Split(PeriodRefs& p, int asleepStart, int awakeStart) {
  p.awake.reserve(p.analysed.size());
  p.asleep.reserve(p.analysed.size());
  for (const _BP_RECORD* r : p.analysed)
    (IsAsleep(*r, asleepStart, awakeStart) ? p.asleep : p.awake).push_back(r);
}
}  // namespace

PeriodRefs BuildPeriodRefs(std::span<const _BP_RECORD> all, int asleepStart, int awakeStart) {
  PeriodRefs p;
  p.analysed.reserve(all.size());
  for (const _BP_RECORD& r : all) {
    if (!IsValidReading(r)) continue;
    ++p.validCount;
    if (r.included != 0) p.analysed.push_back(&r);
  }
  Split(p, asleepStart, awakeStart);
  return p;
}

PeriodRefs SplitRefs(std::span<const _BP_RECORD> list, int asleepStart, int awakeStart) {
  PeriodRefs p;
  p.analysed = RefsOf(list);
  p.validCount = static_cast<int>(list.size());
  Split(p, asleepStart, awakeStart);
  return p;
}

}  // namespace vesk
