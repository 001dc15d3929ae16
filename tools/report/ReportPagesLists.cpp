// The pages that list rows and run over as many pages as they need: every reading, and the
// mean of every clock hour.
#include "ReportPages.h"
#include "analysis/DayNight.h"
#include "cases/CaseRecord.h"

namespace vesk::report {

namespace {

QString Value(int v) {
  return v > 0 ? QString::number(v) : QStringLiteral("–");
}

QString MarkText(uint8_t mark) {
  return mark == 1 ? QStringLiteral("+") : mark == 2 ? QStringLiteral("++") : QString();
}

}  // namespace

void PaintDataList(PageContext& c, Canvas& k, int part) {
  const ReportTexts& t = c.t;
  const std::vector<_BP_RECORD>& all = c.m.readings;
  const int per = ReadingRowsPerPage(BodyOf(c.page).height());
  const size_t from = size_t(part) * size_t(per);
  const size_t to = std::min(all.size(), from + size_t(per));
  const int asleepStart = c.m.data.main.asleepStart, awakeStart = c.m.data.main.awakeStart;
  const auto left = Qt::AlignLeft | Qt::AlignVCenter;
  std::vector<TableColumn> cols{{t.T("IDS_NO"), 0.05},
                                {t.T("IDS_DATE"), 0.11, left},
                                {t.T("IDS_TIME"), 0.07, left},
                                {t.T("IDS_SYS"), 0.06},
                                {t.T("IDS_DIA"), 0.06},
                                {t.T("IDS_MAP"), 0.06},
                                {t.T("IDS_PR"), 0.06},
                                {t.T("IDS_SPO2"), 0.06},
                                {t.T("IDS_CODE"), 0.07},
                                {t.T("IDS_PERIOD"), 0.09, Qt::AlignCenter},
                                {t.T("IDS_EXCLUDED"), 0.07, Qt::AlignCenter},
                                {t.T("IDS_COMMENT"), 0.24, left}};
  const QString awake = t.T("IDS_AWAKE"), asleep = t.T("IDS_ASLEEP");
  const QString excluded = t.T("IDS_EXCLUDED_MARK"), invalid = t.T("IDS_INVALID");
  std::vector<std::vector<QString>> rows;
  rows.reserve(to - from);
  for (size_t i = from; i < to; ++i) {
    const _BP_RECORD& r = all[i];
    const bool valid = IsValidReading(r);
    QString code = r.errorCode ? QStringLiteral("E%1").arg(r.errorCode) : QString();
    if (!MarkText(r.mark).isEmpty()) code += (code.isEmpty() ? "" : " ") + MarkText(r.mark);
    QString comment = QString::fromStdString(r.comment);
    comment.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(QLatin1Char('\n'), ' ');
    rows.push_back({QString::number(r.index + 1),
                    QStringLiteral("%1-%2-%3")
                        .arg(r.year, 4, 10, QLatin1Char('0'))
                        .arg(r.month, 2, 10, QLatin1Char('0'))
                        .arg(r.day, 2, 10, QLatin1Char('0')),
                    TimeText(r.hour, r.minute), Value(r.sys), Value(r.dia), Value(r.map),
                    Value(r.pr), r.spo2 > 0 && r.spo2 < 100 ? QString::number(r.spo2) : QString(),
                    code, valid ? (IsAsleep(r, asleepStart, awakeStart) ? asleep : awake) : invalid,
                    r.included ? QString() : excluded, comment});
  }
  k.Table(cols, rows, kSmallPx);
}

void PaintHourlySummary(PageContext& c, Canvas& k, int part) {
  const ReportTexts& t = c.t;
  const std::vector<HourMean>& hours = c.m.hours;
  const int per = ReadingRowsPerPage(BodyOf(c.page).height());
  const size_t from = size_t(part) * size_t(per);
  const size_t to = std::min(hours.size(), from + size_t(per));
  const auto left = Qt::AlignLeft | Qt::AlignVCenter;
  std::vector<TableColumn> cols{
      {t.T("IDS_DATE"), 0.18, left}, {t.T("IDS_HOUR"), 0.12, left},
      {t.T("IDS_COUNT"), 0.1},       {t.T("IDS_SYS"), 0.12},
      {t.T("IDS_DIA"), 0.12},        {t.T("IDS_MAP"), 0.12},
      {t.T("IDS_PR"), 0.12},         {t.T("IDS_PERIOD"), 0.12, Qt::AlignCenter}};
  std::vector<std::vector<QString>> rows;
  for (size_t i = from; i < to; ++i) {
    const HourMean& h = hours[i];
    rows.push_back({QStringLiteral("%1-%2-%3")
                        .arg(h.year, 4, 10, QLatin1Char('0'))
                        .arg(h.month, 2, 10, QLatin1Char('0'))
                        .arg(h.day, 2, 10, QLatin1Char('0')),
                    TimeText(h.hour, 0) + QStringLiteral("–") + TimeText((h.hour + 1) % 24, 0),
                    QString::number(h.count), Num(h.sys), Num(h.dia), Num(h.map), Num(h.pr),
                    h.asleep ? t.T("IDS_ASLEEP") : t.T("IDS_AWAKE")});
  }
  if (rows.empty()) {
    k.Paragraph(t.T("IDS_NO_READINGS"));
    return;
  }
  k.Table(cols, rows, kSmallPx);
}

}  // namespace vesk::report
