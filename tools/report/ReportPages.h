#pragma once
// The pages of a report. Each selected page of the report head becomes one printed page,
// except the data list and the hourly summary, which run over as many pages as their rows
// need. Every printed page has the same header (title, patient, ID, recording, "page x of y")
// and footer.

#include <QtCore/QRectF>
#include <QtCore/QString>
#include <vector>

#include "ReportCanvas.h"
#include "ReportJob.h"
#include "ReportTexts.h"
#include "reports/ReportPageTable.h"

namespace vesk::report {

struct PlannedPage {
  ReportPageId id;
  int part = 0;   // 0-based part of a page that runs over several
  int parts = 1;  // how many printed pages this page takes
};

struct PageContext {
  QPainter& p;
  const ReportModel& m;
  const ReportTexts& t;
  QRectF page;  // the whole sheet in logical pixels
  int number = 1, count = 1;
};

// The printed pages for a sheet of `pageSize` logical pixels.
std::vector<PlannedPage> PlanPages(const ReportModel& m, const QSizeF& pageSize);

// The body a page paints into (inside the margins, below the header, above the footer).
QRectF BodyOf(const QRectF& page);

void PaintHeader(PageContext& c);
void PaintPage(PageContext& c, const PlannedPage& page);

// Readings per data-list page and hours per hourly-summary page for a body this tall.
int ReadingRowsPerPage(double bodyHeight);

// The pages, one function per kind (ReportPages*.cpp).
void PaintDemographics(PageContext& c, Canvas& k);
void PaintStatistics(PageContext& c, Canvas& k);
void PaintSummary(PageContext& c, Canvas& k);
void PaintTrend(PageContext& c, Canvas& k, int mode);
void PaintHistogram(PageContext& c, Canvas& k);
void PaintPie(PageContext& c, Canvas& k);
void PaintCorrelation(PageContext& c, Canvas& k);
void PaintHourByHour(PageContext& c, Canvas& k);
void PaintThreeHistogram(PageContext& c, Canvas& k);
void PaintDataList(PageContext& c, Canvas& k, int part);
void PaintHourlySummary(PageContext& c, Canvas& k, int part);
void PaintSpO2(PageContext& c, Canvas& k);

// Shared formatting.
QString Num(double v, int decimals = 1);
QString Percent(double fraction, int decimals = 1);
QString TimeText(int hour, int minute);
QString MinutesText(int minutesOfDay);
QString DateTimeText(const ReportTime& t);
QString PageName(const ReportTexts& t, ReportPageId id);
QString DipClassText(const ReportTexts& t, int dipClass);

}  // namespace vesk::report
