#include "charts/AreaBetween.h"

#include <algorithm>

namespace vesk {

namespace {

// Follows a line along increasing x, one stretch between breakpoints at a time.
class LineWalker {
 public:
  explicit LineWalker(const QPolygonF& line) : line_(line) {}

  // The line's values at both ends of [xa, xb], where no breakpoint lies strictly inside.
  void Span(double xa, double xb, double& ya, double& yb) {
    while (i_ + 2 < line_.size() && line_[i_ + 1].x() <= xa) ++i_;
    const QPointF a = line_[i_], b = line_[i_ + 1];
    const double dx = b.x() - a.x();
    if (dx <= 0.0) {
      ya = yb = b.y();
      return;
    }
    ya = a.y() + (b.y() - a.y()) * (xa - a.x()) / dx;
    yb = a.y() + (b.y() - a.y()) * (xb - a.x()) / dx;
  }

 private:
  const QPolygonF& line_;
  qsizetype i_ = 0;
};

class BandBuilder {
 public:
  explicit BandBuilder(std::vector<QPolygonF>& out) : out_(out) {}
  void Top(double x, double y) { top_ << QPointF(x, y); }
  void Bottom(double x, double y) { bottom_ << QPointF(x, y); }
  void Close() {
    if (top_.size() + bottom_.size() >= 3) {
      QPolygonF poly = top_;
      for (qsizetype k = bottom_.size() - 1; k >= 0; --k) poly << bottom_[k];
      out_.push_back(std::move(poly));
    }
    top_.clear();
    bottom_.clear();
  }

 private:
  std::vector<QPolygonF>& out_;
  QPolygonF top_, bottom_;
};

}  // namespace

bool IsXSorted(const QPolygonF& line) {
  return std::is_sorted(line.begin(), line.end(),
                        [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); });
}

std::vector<QPolygonF> AreaBetween(const QPolygonF& upper, const QPolygonF& lower) {
  std::vector<QPolygonF> out;
  if (upper.size() < 2 || lower.size() < 2) return out;
  const double lo = std::max(upper.first().x(), lower.first().x());
  const double hi = std::min(upper.last().x(), lower.last().x());
  if (!(lo < hi)) return out;

  std::vector<double> xs;
  xs.reserve(static_cast<size_t>(upper.size() + lower.size()));
  for (const QPolygonF* line : {&upper, &lower})
    for (const QPointF& pt : *line)
      if (pt.x() > lo && pt.x() < hi) xs.push_back(pt.x());
  xs.push_back(lo);
  xs.push_back(hi);
  std::sort(xs.begin(), xs.end());
  xs.erase(std::unique(xs.begin(), xs.end()), xs.end());

  LineWalker up(upper), down(lower);
  BandBuilder band(out);
  for (size_t k = 0; k + 1 < xs.size(); ++k) {
    const double xa = xs[k], xb = xs[k + 1];
    double ta, tb, ba, bb;
    up.Span(xa, xb, ta, tb);
    down.Span(xa, xb, ba, bb);
    const double ga = ba - ta, gb = bb - tb;
    if (ga <= 0.0 && gb <= 0.0) {
      band.Close();
      continue;
    }
    if (ga > 0.0 && gb > 0.0) {
      band.Top(xa, ta);
      band.Bottom(xa, ba);
      band.Top(xb, tb);
      band.Bottom(xb, bb);
      continue;
    }
    // The lines cross inside the stretch.
    const double t = ga / (ga - gb);
    const double xc = xa + (xb - xa) * t, yc = ta + (tb - ta) * t;
    if (ga > 0.0) {
      band.Top(xa, ta);
      band.Bottom(xa, ba);
      band.Top(xc, yc);
      band.Close();
    } else {
      band.Close();
      band.Top(xc, yc);
      band.Top(xb, tb);
      band.Bottom(xb, bb);
    }
  }
  band.Close();
  return out;
}

}  // namespace vesk
