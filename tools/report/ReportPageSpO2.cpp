// The SpO2 page: the oximetry figures, the whole night's SpO2 and pulse trend with its
// events, and what the chosen variant adds (1 the event list, 2 the time in SpO2 bands,
// 3 the time at each value).
#include "ReportPages.h"
#include "ReportPagesCharts.h"

namespace vesk::report {

namespace {

QString Duration(int seconds) {
  return QStringLiteral("%1:%2:%3")
      .arg(seconds / 3600)
      .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
      .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

void PaintSpO2(PageContext& c, Canvas& k) {
  const ReportSpO2Page& s = c.m.data.spo2;
  const ReportTexts& t = c.t;
  const QString none = t.T("IDS_NOT_AVAILABLE");
  const bool values = (s.figures & 2) != 0, odi = (s.figures & 1) != 0;
  const auto& f = s.spo2Figures;
  const auto& pr = s.prFigures;
  k.Pairs(
      {{t.T("IDS_SPO2_MEAN"),
        values ? Num(f[0]) + QStringLiteral(" % (SD ") + Num(f[1]) + ")" : none},
       {t.T("IDS_SPO2_RANGE"),
        values ? QStringLiteral("%1 – %2 %").arg(s.lowestSpO2).arg(s.highestSpO2) : none},
       {t.T("IDS_ODI"), odi ? Num(f[2]) + QStringLiteral(" /h") : none},
       {t.T("IDS_DESATURATIONS"), QString::number(s.spo2EventCount)},
       {t.T("IDS_BELOW_90"),
        values ? Duration(s.secondsBelow90) + QStringLiteral(" (") + Percent(f[4]) + ")" : none},
       {t.T("IDS_BELOW_85_80"),
        values ? Percent(f[5]) + QStringLiteral(" / ") + Percent(f[6]) : none},
       {t.T("IDS_USABLE_TIME"), Duration(s.validSeconds)},
       {t.T("IDS_PR_MEAN"),
        pr[0] > 0 ? Num(pr[0]) + QStringLiteral(" /min (SD ") + Num(pr[1]) + ")" : none},
       {t.T("IDS_PR_EVENTS"), QString::number(s.prEventCount)},
       {t.T("IDS_PR_RANGE"),
        pr[0] > 0 ? QStringLiteral("%1 – %2 /min").arg(pr[3]).arg(pr[4]) : none}});
  PaintSpO2Trend(c, k.Take(std::min(260.0, k.Remaining() * 0.45)));
  k.Space(6);
  if (s.variant == 2) {
    k.Heading(t.T("IDS_SPO2_BANDS"));
    const auto& at = s.secondsAtValue;
    auto band = [&](int lo, int hi) {
      int sec = 0;
      for (int v = lo; v <= hi; ++v) sec += at[size_t(v)];
      return sec;
    };
    const int total = std::max(1, band(1, 100));
    std::vector<std::vector<QString>> rows;
    const int bands[5][2] = {{95, 100}, {90, 94}, {85, 89}, {80, 84}, {1, 79}};
    for (const auto& b : bands) {
      const int sec = band(b[0], b[1]);
      rows.push_back({QStringLiteral("%1 – %2 %").arg(b[0]).arg(b[1]), Duration(sec),
                      Percent(double(sec) / total)});
    }
    k.Table({{t.T("IDS_SPO2"), 0.4, Qt::AlignLeft | Qt::AlignVCenter},
             {t.T("IDS_DURATION"), 0.3},
             {t.T("IDS_SHARE"), 0.3}},
            rows);
    return;
  }
  if (s.variant == 3) {
    PaintSpO2Histogram(c, k.Take(std::min(220.0, k.Remaining() * 0.5)));
  }
  k.Heading(t.T("IDS_EVENT_LIST"));
  const int fit = RowsThatFit(k.Remaining() - 20, kSmallPx);
  std::vector<std::vector<QString>> rows;
  const OleDateTime start = c.m.spo2Start;
  for (size_t i = 0; i < s.spo2Events.size() && int(rows.size()) < fit; ++i) {
    const ReportEventItem& e = s.spo2Events[i];
    DateParts at;
    QString when = QString::number(e.startSecond) + " s";
    if (start.IsValid() && start.AddSeconds(e.startSecond).ToParts(at))
      when = TimeText(at.hour, at.minute) +
             QStringLiteral(":%1").arg(at.second, 2, 10, QLatin1Char('0'));
    rows.push_back({QString::number(i + 1), when, QString::number(e.durationSeconds) + " s",
                    QString::number(e.startValue) + " %", QString::number(e.change) + " %"});
  }
  if (rows.empty()) {
    k.Paragraph(t.T("IDS_NO_EVENTS"));
    return;
  }
  k.Table({{t.T("IDS_NO"), 0.1},
           {t.T("IDS_TIME"), 0.25, Qt::AlignLeft | Qt::AlignVCenter},
           {t.T("IDS_DURATION"), 0.2},
           {t.T("IDS_SPO2_START"), 0.2},
           {t.T("IDS_SPO2_FALL"), 0.25}},
          rows, kSmallPx);
  if (int(s.spo2Events.size()) > fit)
    k.Paragraph(t.T("IDS_MORE_EVENTS").arg(int(s.spo2Events.size()) - fit));
}

}  // namespace vesk::report
