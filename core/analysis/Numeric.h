#pragma once
// The numeric conventions every figure of the analysis follows: population standard
// deviation, "near zero" as a fixed band of +-1e-7 (both limits outside the band), and the
// least-squares line that refuses to exist instead of dividing by a vanishing spread.

#include <span>

namespace vesk {

constexpr double kNearZero = 0.0000001;

// True strictly inside (-1e-7, 1e-7); 1e-7 itself is not near zero.
inline bool IsNearZero(double x) {
  return x < kNearZero && x > -kNearZero;
}

// 0 for an empty list.
double Mean(std::span<const double> x);
// Square root of the mean squared deviation; 0 for an empty list.
double PopulationSd(std::span<const double> x);

struct LineFit {
  double slope = 0.0;
  double intercept = 0.0;
};

// y = slope * x + intercept. Returns false (fit untouched) when the lists are empty, of
// different lengths, or x does not vary.
bool FitLine(std::span<const double> x, std::span<const double> y, LineFit& fit);

// Pearson r. Returns false (r untouched) when either series does not vary.
bool PearsonR(std::span<const double> x, std::span<const double> y, double& r);

}  // namespace vesk
