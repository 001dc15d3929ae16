#pragma once
// What the chart pages share with the SpO2 page.

#include <QtCore/QRectF>

#include "ReportPages.h"
#include "charts/ChartSource.h"

namespace vesk::report {

// The chart source of the report: the readings, the chart records and the thresholds as the
// data files carry them.
ChartSource SourceOf(const ReportModel& m, const ReportTexts& t);

void PaintSpO2Trend(PageContext& c, const QRectF& box);
void PaintSpO2Histogram(PageContext& c, const QRectF& box);

}  // namespace vesk::report
