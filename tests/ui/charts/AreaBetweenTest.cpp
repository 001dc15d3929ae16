// The band polygons between a curve and a step line, checked against the slow but sure
// path intersection they replace: crossings, vertical jumps, shared x values, partial overlap.

#include <gtest/gtest.h>

#include <QtGui/QPainterPath>
#include <cmath>

#include "charts/AreaBetween.h"

namespace vesk {
namespace {

double Area(const QPolygonF& poly) {
  double twice = 0.0;
  for (qsizetype i = 0; i < poly.size(); ++i) {
    const QPointF a = poly[i], b = poly[(i + 1) % poly.size()];
    twice += a.x() * b.y() - b.x() * a.y();
  }
  return std::abs(twice) / 2.0;
}

double BandArea(const QPolygonF& upper, const QPolygonF& lower) {
  double sum = 0.0;
  for (const QPolygonF& poly : AreaBetween(upper, lower)) sum += Area(poly);
  return sum;
}

// Below `upper` and above `lower`, by path intersection.
double ReferenceArea(const QPolygonF& upper, const QPolygonF& lower) {
  QPolygonF u = upper, l = lower;
  u << QPointF(upper.last().x(), 1e5) << QPointF(upper.first().x(), 1e5);
  l << QPointF(lower.last().x(), -1e5) << QPointF(lower.first().x(), -1e5);
  QPainterPath a, b;
  a.addPolygon(u);
  a.closeSubpath();
  b.addPolygon(l);
  b.closeSubpath();
  double sum = 0.0;
  for (const QPolygonF& poly : a.intersected(b).toFillPolygons()) sum += Area(poly);
  return sum;
}

QPolygonF Step(std::initializer_list<std::pair<double, double>> runs) {
  // Each pair is (x where the level starts, level); the line ends at x = 100.
  QPolygonF line;
  double level = 0.0;
  for (const auto& [x, y] : runs) {
    if (!line.isEmpty()) line << QPointF(x, level);
    line << QPointF(x, y);
    level = y;
  }
  line << QPointF(100, level);
  return line;
}

TEST(AreaBetween, SimpleShapes) {
  const QPolygonF flat20{{0, 20}, {100, 20}}, flat40{{0, 40}, {100, 40}};
  EXPECT_NEAR(BandArea(flat20, flat40), 2000.0, 1e-9);
  EXPECT_TRUE(AreaBetween(flat40, flat20).empty());  // the band is closed everywhere
  EXPECT_TRUE(AreaBetween(flat20, flat20).empty());
  // A single crossing gives two triangles, one on each side.
  const QPolygonF diagonal{{0, 0}, {100, 60}};
  EXPECT_NEAR(BandArea(diagonal, QPolygonF{{0, 30}, {100, 30}}), 750.0, 1e-9);
  EXPECT_NEAR(BandArea(QPolygonF{{0, 30}, {100, 30}}, diagonal), 750.0, 1e-9);
  // Only the shared x range counts; lines that do not overlap, or too short, give nothing.
  EXPECT_NEAR(BandArea(QPolygonF{{50, 0}, {150, 0}}, flat20), 1000.0, 1e-9);
  EXPECT_TRUE(AreaBetween(QPolygonF{{200, 0}, {300, 0}}, flat20).empty());
  EXPECT_TRUE(AreaBetween(QPolygonF{{0, 0}}, flat20).empty());
}

TEST(AreaBetween, MatchesPathIntersectionOnStepLimits) {
  const QPolygonF limit = Step({{0, 30}, {25, 50}, {60, 10}, {80, 45}});
  const QPolygonF curves[] = {
      {{0, 20}, {10, 60}, {25, 40}, {40, 55}, {60, 5}, {70, 12}, {85, 50}, {100, 0}},
      // Two readings at one x make a vertical jump in the curve too, here right on a step.
      {{5, 40}, {25, 20}, {25, 70}, {50, 30}, {60, 30}, {60, 0}, {95, 45}},
      // Touching the limit exactly at points and along a stretch.
      {{0, 30}, {20, 30}, {25, 50}, {60, 10}, {80, 0}, {100, 45}},
  };
  for (const QPolygonF& curve : curves) {
    ASSERT_TRUE(IsXSorted(curve));
    EXPECT_NEAR(BandArea(curve, limit), ReferenceArea(curve, limit), 0.01);
    EXPECT_NEAR(BandArea(limit, curve), ReferenceArea(limit, curve), 0.01);
    for (const QPolygonF& poly : AreaBetween(curve, limit)) EXPECT_GE(poly.size(), 3);
  }
  EXPECT_FALSE(IsXSorted(QPolygonF{{0, 0}, {10, 0}, {5, 0}}));
}

}  // namespace
}  // namespace vesk
