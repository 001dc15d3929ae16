#include "ReportPages.h"

#include <QtGui/QFontMetricsF>
#include <cmath>

namespace vesk::report {

namespace {
constexpr double kMargin = 48;  // half an inch
constexpr double kHeaderHeight = 74;
constexpr double kFooterHeight = 22;
}  // namespace

QRectF BodyOf(const QRectF& page) {
  return QRectF(page.left() + kMargin, page.top() + kMargin + kHeaderHeight,
                page.width() - 2 * kMargin,
                page.height() - 2 * kMargin - kHeaderHeight - kFooterHeight);
}

int ReadingRowsPerPage(double bodyHeight) {
  // Room under the page heading for the column titles.
  return std::max(1, RowsThatFit(bodyHeight - 40, kSmallPx));
}

std::vector<PlannedPage> PlanPages(const ReportModel& m, const QSizeF& pageSize) {
  const double body = BodyOf(QRectF(QPointF(0, 0), pageSize)).height();
  const int perPage = ReadingRowsPerPage(body);
  std::vector<PlannedPage> plan;
  for (const ReportPageRow& row : ReportPages()) {
    if (!m.Selected(PageIndex(row.id))) continue;
    int parts = 1;
    if (row.id == ReportPageId::Data) {
      const int n = int(m.readings.size());
      parts = std::max(1, (n + perPage - 1) / perPage);
    } else if (row.id == ReportPageId::HourlySummary) {
      const int n = int(m.hours.size());
      parts = std::max(1, (n + perPage - 1) / perPage);
    }
    for (int i = 0; i < parts; ++i) plan.push_back({row.id, i, parts});
  }
  return plan;
}

void PaintHeader(PageContext& c) {
  QPainter& p = c.p;
  const ReportMainRecord& main = c.m.data.main;
  const double left = c.page.left() + kMargin, width = c.page.width() - 2 * kMargin;
  double y = c.page.top() + kMargin;
  p.save();
  p.setPen(QColor(20, 60, 120));
  p.setFont(ReportFont(17, true));
  const QString title =
      main.title.empty() ? c.t.Tx("Title", "IDS_TITLE_RPT") : QString::fromStdString(main.title);
  DrawFitted(p, QRectF(left, y, width * 0.75, 24), title);
  p.setFont(ReportFont(kBodyPx));
  p.setPen(Qt::black);
  DrawFitted(p, QRectF(left + width * 0.75, y, width * 0.25, 24),
             c.t.T("IDS_PAGE_OF").arg(c.number).arg(c.count), Qt::AlignRight | Qt::AlignVCenter);
  y += 26;
  // Name, ID and recording share one line; a long name gives way, never the others.
  const QString name =
      c.t.T("IDS_PATIENT") + QStringLiteral(": ") + QString::fromStdString(main.patientName);
  const QString id =
      c.t.T("IDS_PATIENT_ID") + QStringLiteral(": ") + QString::fromStdString(main.patientId);
  const QString rec = c.t.T("IDS_RECORDING") + QStringLiteral(": ") + DateTimeText(main.start) +
                      QStringLiteral(" – ") + DateTimeText(main.end);
  p.setFont(ReportFont(kBodyPx, true));
  DrawFitted(p, QRectF(left, y, width * 0.68, 18), name);
  p.setFont(ReportFont(kBodyPx));
  DrawFitted(p, QRectF(left + width * 0.7, y, width * 0.3, 18), id,
             Qt::AlignRight | Qt::AlignVCenter);
  y += 18;
  DrawFitted(p, QRectF(left, y, width, 18), rec);
  y += 20;
  p.setPen(QPen(QColor(20, 60, 120), 1.2));
  p.drawLine(QPointF(left, y), QPointF(left + width, y));

  // Footer: the page's name and where the data came from.
  const double fy = c.page.bottom() - kMargin - kFooterHeight + 6;
  p.setPen(QPen(QColor(160, 160, 160), 0.5));
  p.drawLine(QPointF(left, fy), QPointF(left + width, fy));
  p.setPen(QColor(90, 90, 90));
  p.setFont(ReportFont(kSmallPx));
  DrawFitted(p, QRectF(left, fy + 2, width * 0.6, 14), QString::fromStdString(c.m.casePath));
  DrawFitted(p, QRectF(left + width * 0.6, fy + 2, width * 0.4, 14), QStringLiteral("VESK"),
             Qt::AlignRight | Qt::AlignVCenter);
  p.restore();
}

void PaintPage(PageContext& c, const PlannedPage& page) {
  PaintHeader(c);
  Canvas k(c.p, BodyOf(c.page));
  QString heading = PageName(c.t, page.id);
  if (page.parts > 1) heading += QStringLiteral(" (%1/%2)").arg(page.part + 1).arg(page.parts);
  k.Heading(heading);
  switch (page.id) {
    case ReportPageId::Demographics:
      return PaintDemographics(c, k);
    case ReportPageId::Statistics:
      return PaintStatistics(c, k);
    case ReportPageId::Summary:
      return PaintSummary(c, k);
    case ReportPageId::ColourGraph:
      return PaintTrend(c, k, 0);
    case ReportPageId::BarGraph:
      return PaintTrend(c, k, 1);
    case ReportPageId::Histogram:
      return PaintHistogram(c, k);
    case ReportPageId::Pie:
      return PaintPie(c, k);
    case ReportPageId::Correlation:
      return PaintCorrelation(c, k);
    case ReportPageId::FrequencyHistogram:
      return PaintHourByHour(c, k);
    case ReportPageId::ThreeHistogram:
      return PaintThreeHistogram(c, k);
    case ReportPageId::Data:
      return PaintDataList(c, k, page.part);
    case ReportPageId::HourlySummary:
      return PaintHourlySummary(c, k, page.part);
    case ReportPageId::SpO2:
      return PaintSpO2(c, k);
  }
}

QString Num(double v, int decimals) {
  if (!std::isfinite(v)) return QStringLiteral("–");
  return QString::number(v, 'f', decimals);
}

QString Percent(double fraction, int decimals) {
  return Num(fraction * 100.0, decimals) + QStringLiteral(" %");
}

QString TimeText(int hour, int minute) {
  return QStringLiteral("%1:%2")
      .arg(hour, 2, 10, QLatin1Char('0'))
      .arg(minute, 2, 10, QLatin1Char('0'));
}

QString MinutesText(int minutesOfDay) {
  return TimeText(minutesOfDay / 60, minutesOfDay % 60);
}

QString DateTimeText(const ReportTime& t) {
  if (t.year == 0) return QStringLiteral("–");
  return QStringLiteral("%1-%2-%3 %4")
      .arg(t.year, 4, 10, QLatin1Char('0'))
      .arg(t.month, 2, 10, QLatin1Char('0'))
      .arg(t.day, 2, 10, QLatin1Char('0'))
      .arg(TimeText(t.hour, t.minute));
}

QString PageName(const ReportTexts& t, ReportPageId id) {
  const ReportPageRow& row = ReportPageOf(id);
  return t.Tx(row.languageSection, row.languageKey);
}

QString DipClassText(const ReportTexts& t, int dipClass) {
  switch (dipClass) {
    case 1:
      return t.T("IDS_RISER");
    case 2:
      return t.T("IDS_NON_DIPPER");
    case 3:
      return t.T("IDS_DIPPER");
    case 4:
      return t.T("IDS_EXTREME_DIPPER");
  }
  return t.T("IDS_UNKNOWN");
}

}  // namespace vesk::report
