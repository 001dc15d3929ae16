#include "analysis/Distribution.h"

#include <algorithm>

namespace vesk {

int ClassOf(std::span<const int32_t> limits, int32_t value) {
  if (limits.size() < 2 || value <= limits.front() || value > limits.back()) return -1;
  // First upper limit that is >= value: the class is the one it closes.
  const auto it = std::lower_bound(limits.begin() + 1, limits.end(), value);
  return static_cast<int>(it - limits.begin()) - 1;
}

namespace {
template <size_t N, size_t L>
void Fill(const ReadingRefs& list, Quantity q, const std::array<int32_t, L>& limits,
          std::array<double, N>& shares) {
  static_assert(L == N + 1);
  for (const _BP_RECORD* r : list) {
    const int c = ClassOf(limits, ValueOf(*r, q));
    if (c >= 0) shares[c] += 1.0;
  }
  for (double& s : shares) s /= static_cast<double>(list.size());
}
}  // namespace

int ComputeDistribution(const ReadingRefs& readings, PressureDistribution& out) {
  out = PressureDistribution{};
  if (readings.empty()) return 0;
  Fill(readings, Quantity::Sys, kSysClassLimits, out.sys);
  Fill(readings, Quantity::Dia, kDiaClassLimits, out.dia);
  Fill(readings, Quantity::Pr, kPrClassLimits, out.pr);
  return 1;
}

int ComputeDistribution(std::span<const _BP_RECORD> readings, PressureDistribution& out) {
  return ComputeDistribution(RefsOf(readings), out);
}

}  // namespace vesk
