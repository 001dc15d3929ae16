// The band between two x-sorted polylines, as plain polygons.
#pragma once

#include <QtGui/QPolygonF>
#include <vector>

namespace vesk {

// The parts of the plane lying below `upper` and above `lower` (screen coordinates, y grows
// downwards) over the x range both lines share. Each line must have non-decreasing x;
// repeated x values make vertical jumps, as in a step line. One polygon per stretch where the
// band is open, so that runs meeting at a crossing point share no edge.
std::vector<QPolygonF> AreaBetween(const QPolygonF& upper, const QPolygonF& lower);

// True when x never decreases along the line.
bool IsXSorted(const QPolygonF& line);

}  // namespace vesk
