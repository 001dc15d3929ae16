#include "analysis/Numeric.h"

#include <cmath>

namespace vesk {

double Mean(std::span<const double> x) {
  if (x.empty()) return 0.0;
  double sum = 0.0;
  for (double v : x) sum += v;
  return sum / static_cast<double>(x.size());
}

double PopulationSd(std::span<const double> x) {
  if (x.empty()) return 0.0;
  const double m = Mean(x);
  double ss = 0.0;
  for (double v : x) ss += (v - m) * (v - m);
  return std::sqrt(ss / static_cast<double>(x.size()));
}

namespace {
struct Sums {
  double sxx = 0.0, syy = 0.0, sxy = 0.0, mx = 0.0, my = 0.0;
};

Sums CentredSums(std::span<const double> x, std::span<const double> y) {
  Sums s;
  s.mx = Mean(x);
  s.my = Mean(y);
  for (size_t i = 0; i < x.size(); ++i) {
    const double dx = x[i] - s.mx;
    const double dy = y[i] - s.my;
    s.sxx += dx * dx;
    s.syy += dy * dy;
    s.sxy += dx * dy;
  }
  return s;
}
}  // namespace

bool FitLine(std::span<const double> x, std::span<const double> y, LineFit& fit) {
  if (x.empty() || x.size() != y.size()) return false;
  const Sums s = CentredSums(x, y);
  if (IsNearZero(s.sxx)) return false;
  fit.slope = s.sxy / s.sxx;
  fit.intercept = s.my - fit.slope * s.mx;
  return true;
}

bool PearsonR(std::span<const double> x, std::span<const double> y, double& r) {
  if (x.empty() || x.size() != y.size()) return false;
  const Sums s = CentredSums(x, y);
  const double denominator = std::sqrt(s.sxx * s.syy);
  if (IsNearZero(denominator)) return false;
  r = s.sxy / denominator;
  return true;
}

}  // namespace vesk
