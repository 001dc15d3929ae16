#pragma once
// Plain rectangles and the zoom rule shared by the chart axes. Kept free of Qt so that the
// mapping arithmetic can be checked without a painter.

namespace vesk {

struct PlotBox {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool operator==(const PlotBox&) const = default;
};

// Product limits of the two zoom factors of each axis: (low, high].
inline constexpr double kTimeZoomLow = 0.2;
inline constexpr double kTimeZoomHigh = 10.0;
inline constexpr double kValueZoomLow = 0.3;
inline constexpr double kValueZoomHigh = 2.0;

inline bool ZoomAccepted(double product, double low, double high) {
  return product > low && product <= high;
}

}  // namespace vesk
