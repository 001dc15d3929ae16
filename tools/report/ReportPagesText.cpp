// The pages of words and figures: demographics, statistics and the blood-pressure summary.
#include <QtGui/QColor>

#include "ReportPages.h"

namespace vesk::report {

namespace {

QString Q(const std::string& s) {
  return s.empty() ? QStringLiteral("–") : QString::fromStdString(s);
}
QString Int(int v) {
  return v == 0 ? QStringLiteral("–") : QString::number(v);
}
QString Pair(double sys, double dia) {
  return Num(sys) + QStringLiteral(" / ") + Num(dia);
}
QString Share(int part, int whole) {
  return whole > 0 ? Percent(double(part) / whole, 0) : QStringLiteral("–");
}
const QColor kGood(40, 150, 60), kBad(200, 40, 40), kNeutral(150, 150, 150);

// One line per period: is the mean within the thresholds of that period?
void PeriodVerdict(PageContext& c, Canvas& k, const QString& period, const ReportPeriodSummary& s) {
  if (s.count == 0) {
    k.Verdict(c.t.F("IDS_NO_READINGS_IN", period), kNeutral);
    return;
  }
  const bool above = s.meanSys > s.sysThreshold || s.meanDia > s.diaThreshold;
  const QString limits = QStringLiteral("%1/%2").arg(s.sysThreshold).arg(s.diaThreshold);
  const QString text = c.t.T(above ? "IDS_MEAN_ABOVE" : "IDS_MEAN_WITHIN")
                           .arg(period, Pair(s.meanSys, s.meanDia), limits);
  k.Verdict(text, above ? kBad : kGood);
}

}  // namespace

void PaintDemographics(PageContext& c, Canvas& k) {
  const ReportPatientPage& p = c.m.data.patient;
  const ReportMainRecord& main = c.m.data.main;
  const ReportTexts& t = c.t;
  // A name may be long: it gets the whole line.
  k.Pairs({{t.T("IDS_NAME"), Q(p.name)}}, 1);
  k.Pairs({{t.T("IDS_PATIENT_ID"), Q(p.caseId)},
           {t.T("IDS_SEX"), Q(p.sexText)},
           {t.T("IDS_AGE"), Int(p.age)},
           {t.T("IDS_BIRTHDAY"), Q(p.birthdayText)},
           {t.T("IDS_HEIGHT_WEIGHT"),
            QStringLiteral("%1 cm / %2 kg").arg(Int(p.height), Int(p.weight))},
           {t.T("IDS_ADDRESS"), Q(p.texts[0])},
           {t.T("IDS_TELEPHONE"), Q(p.texts[1])},
           {t.T("IDS_NATION"), Q(p.texts[2])},
           {t.T("IDS_DEPARTMENT"), Q(p.texts[6])},
           {t.T("IDS_OUTPATIENT_ID"), Q(p.texts[3])},
           {t.T("IDS_INPATIENT_ID"), Q(p.texts[4])},
           {t.T("IDS_BED_ID"), Q(p.texts[5])},
           {t.T("IDS_EMAIL"), Q(p.texts[7])}});

  k.Heading(t.T("IDS_RECORDING_DETAILS"));
  k.Pairs(
      {{t.T("IDS_RECORDER"), Q(p.texts[8])},
       {t.T("IDS_READINGS"), QStringLiteral("%1 / %2").arg(p.analysedCount).arg(p.readingCount)},
       {t.T("IDS_START"), DateTimeText(main.start)},
       {t.T("IDS_END"), DateTimeText(main.end)},
       {t.T("IDS_AWAKE_PERIOD"), TimeText(p.awake.startHour, p.awake.startMinute) +
                                     QStringLiteral(" – ") +
                                     TimeText(p.awake.endHour, p.awake.endMinute)},
       {t.T("IDS_ASLEEP_PERIOD"), TimeText(p.asleep.startHour, p.asleep.startMinute) +
                                      QStringLiteral(" – ") +
                                      TimeText(p.asleep.endHour, p.asleep.endMinute)}});
  const RecordingQuality& q = c.m.quality;
  k.Verdict(t.T(q.adequate ? "IDS_QUALITY_OK" : "IDS_QUALITY_POOR")
                .arg(Percent(p.validShare, 0))
                .arg(q.awakeCount)
                .arg(q.asleepCount),
            q.adequate ? kGood : kBad);

  k.Heading(t.T("IDS_PERIOD_MEANS"));
  const QString day = t.T("IDS_AWAKE"), night = t.T("IDS_ASLEEP"), whole = t.T("IDS_24H");
  std::vector<TableColumn> cols{{t.T("IDS_PERIOD"), 0.2, Qt::AlignLeft | Qt::AlignVCenter},
                                {t.T("IDS_COUNT"), 0.12},
                                {t.T("IDS_MEAN_SYS_DIA"), 0.22},
                                {t.T("IDS_MEAN_PR"), 0.14},
                                {t.T("IDS_THRESHOLD"), 0.14},
                                {t.T("IDS_LOAD_SYS_DIA"), 0.18}};
  auto load = [&](const ReportLoadSummary& l, int n) {
    return Share(l.sysLoadCount, n) + QStringLiteral(" / ") + Share(l.diaLoadCount, n);
  };
  k.Table(cols, {{whole, QString::number(p.analysedCount), Pair(p.wholeMeans[0], p.wholeMeans[1]),
                  Num(p.wholeMeans[2]), QStringLiteral("–"),
                  Percent(p.wholeSysLoad, 0) + QStringLiteral(" / ") + Percent(p.wholeDiaLoad, 0)},
                 {day, QString::number(p.awake.count), Pair(p.awake.meanSys, p.awake.meanDia),
                  Num(p.awake.meanPr),
                  QStringLiteral("%1/%2").arg(p.awake.sysThreshold).arg(p.awake.diaThreshold),
                  load(p.awakeLoads, p.awake.count)},
                 {night, QString::number(p.asleep.count), Pair(p.asleep.meanSys, p.asleep.meanDia),
                  Num(p.asleep.meanPr),
                  QStringLiteral("%1/%2").arg(p.asleep.sysThreshold).arg(p.asleep.diaThreshold),
                  load(p.asleepLoads, p.asleep.count)}});
  PeriodVerdict(c, k, day, p.awake);
  PeriodVerdict(c, k, night, p.asleep);

  k.Heading(t.T("IDS_DAY_NIGHT"));
  const bool dip = (p.figures & kFigNightDip) != 0;
  k.Pairs({{t.T("IDS_DAY_NIGHT_DIFF"),
            p.awake.count && p.asleep.count
                ? Pair(p.awake.meanSys - p.asleep.meanSys, p.awake.meanDia - p.asleep.meanDia)
                : QStringLiteral("–")},
           {t.T("IDS_NIGHT_DIP"),
            dip ? Percent(p.dipsAndAasi[0]) + QStringLiteral(" / ") + Percent(p.dipsAndAasi[1])
                : QStringLiteral("–")},
           {t.T("IDS_DIPPING_SYS"), DipClassText(t, p.dipClassSys)},
           {t.T("IDS_DIPPING_DIA"), DipClassText(t, p.dipClassDia)},
           {t.T("IDS_SD_24H"), Num(p.wholeSd[0]) + QStringLiteral(" / ") + Num(p.wholeSd[1])},
           {t.T("IDS_DIP_LIMITS"), QStringLiteral("%1 – %2 %").arg(p.lowCR).arg(p.highCR)}});

  std::vector<std::pair<QString, QString>> indices;
  const QString none = t.T("IDS_NOT_AVAILABLE");
  if (main.aasi)
    indices.push_back(
        {t.Tx("Case Setting", "IDS_AASI"), p.figures & kFigAasi ? Num(p.dipsAndAasi[2], 3) : none});
  if (main.morningSurge) {
    indices.push_back({t.T("IDS_SURGE_TROUGH"), p.figures & kFigSurgeSleepTrough
                                                    ? Num(p.surgeAndSmoothness[0]) + " mmHg"
                                                    : none});
    indices.push_back({t.T("IDS_SURGE_PRE_WAKING"), p.figures & kFigSurgePreWaking
                                                        ? Num(p.surgeAndSmoothness[1]) + " mmHg"
                                                        : none});
  }
  if (main.smoothIndex)
    indices.push_back({t.Tx("Case Setting", "IDS_SMOOTH_INDEX"),
                       p.figures & kFigSmoothness ? Num(p.surgeAndSmoothness[2], 2) : none});
  if (!indices.empty()) {
    k.Heading(t.T("IDS_INDICES"));
    k.Pairs(indices);
  }
}

void PaintStatistics(PageContext& c, Canvas& k) {
  const ReportStatisticsPage& s = c.m.data.statistics;
  const ReportMainRecord& main = c.m.data.main;
  const ReportTexts& t = c.t;
  const QString periods[3] = {t.T("IDS_24H"), t.T("IDS_AWAKE"), t.T("IDS_ASLEEP")};
  const QString quantities[4] = {t.T("IDS_SYS"), t.T("IDS_DIA"), t.T("IDS_PR"), t.T("IDS_MAP")};
  std::vector<TableColumn> cols{{t.T("IDS_PERIOD"), 0.14, Qt::AlignLeft | Qt::AlignVCenter},
                                {t.T("IDS_VALUE"), 0.12, Qt::AlignLeft | Qt::AlignVCenter},
                                {t.T("IDS_COUNT"), 0.08},
                                {t.T("IDS_MEAN"), 0.11},
                                {t.T("IDS_SD"), 0.11},
                                {t.T("IDS_SE"), 0.1},
                                {t.T("IDS_CV"), 0.1},
                                {t.T("IDS_MIN"), 0.12},
                                {t.T("IDS_MAX"), 0.12}};
  std::vector<std::vector<QString>> rows;
  auto row = [&](const QString& period, const QString& what, const ReportStatRow& r) {
    if (r.count == 0) {
      rows.push_back({period, what, QStringLiteral("0")});
      return;
    }
    rows.push_back({period, what, QString::number(r.count), Num(r.mean), Num(r.sd), Num(r.se, 2),
                    Percent(r.cv), Num(r.lowest, 0), Num(r.highest, 0)});
  };
  for (int p = 0; p < 3; ++p)
    for (int q = 0; q < 4; ++q)
      row(q == 0 ? periods[p] : QString(), quantities[q], s.rows[size_t(p * 4 + q)]);
  row(periods[0], t.T("IDS_PP"), s.rows[12]);
  // Only recorders with an oximeter put SpO2 values into the readings.
  if (s.rows[13].count > 0) row(periods[0], t.T("IDS_SPO2"), s.rows[13]);
  k.Table(cols, rows);

  const auto& f = s.figuresList;
  k.Heading(t.T("IDS_LOADS"));
  k.Table({{t.T("IDS_PERIOD"), 0.25, Qt::AlignLeft | Qt::AlignVCenter},
           {t.T("IDS_SYS"), 0.25},
           {t.T("IDS_DIA"), 0.25},
           {t.T("IDS_THRESHOLD"), 0.25}},
          {{periods[0], Percent(f[4]), Percent(f[5]), QStringLiteral("–")},
           {periods[1], Percent(f[0]), Percent(f[1]),
            QStringLiteral("%1/%2").arg(s.awakeSysThreshold).arg(s.awakeDiaThreshold)},
           {periods[2], Percent(f[2]), Percent(f[3]),
            QStringLiteral("%1/%2").arg(s.asleepSysThreshold).arg(s.asleepDiaThreshold)}});

  k.Heading(t.T("IDS_DAY_NIGHT"));
  const QString none = t.T("IDS_NOT_AVAILABLE");
  const bool both = s.awakeCount > 0 && s.asleepCount > 0;
  std::vector<std::pair<QString, QString>> items{
      {t.T("IDS_DAY_NIGHT_DIFF"),
       both ? Pair(s.rows[4].mean - s.rows[8].mean, s.rows[5].mean - s.rows[9].mean) : none},
      {t.T("IDS_NIGHT_DIP"),
       s.figures & kFigNightDip ? Percent(f[6]) + QStringLiteral(" / ") + Percent(f[7]) : none},
      {t.T("IDS_ARV"), s.figures & kFigArv ? Pair(s.arvSys, s.arvDia) : none},
      {t.T("IDS_WEIGHTED_SD"), s.figures & kFigWeightedSd ? Num(s.weightedSdSys) : none},
      {t.T("IDS_CORRELATION_R"), s.figures & kFigR ? Num(f[34], 3) : none},
      {t.T("IDS_READINGS"), QStringLiteral("%1 / %2").arg(s.analysedCount).arg(s.readingCount)}};
  if (main.aasi)
    items.push_back(
        {t.Tx("Case Setting", "IDS_AASI"), s.figures & kFigAasi ? Num(f[39], 3) : none});
  if (main.morningSurge) {
    items.push_back(
        {t.T("IDS_SURGE_TROUGH"), s.figures & kFigSurgeSleepTrough ? Num(f[40]) + " mmHg" : none});
    items.push_back({t.T("IDS_SURGE_PRE_WAKING"),
                     s.figures & kFigSurgePreWaking ? Num(s.surgePreWaking) + " mmHg" : none});
  }
  k.Pairs(items);
}

void PaintSummary(PageContext& c, Canvas& k) {
  const ReportSummaryPage& s = c.m.data.summary;
  const ReportTexts& t = c.t;
  auto range = [](const QString& name, const ReportRange& r) {
    return std::vector<QString>{name, QString::number(r.highest), QString::number(r.lowest),
                                QString::number(r.mean)};
  };
  k.Table({{t.T("IDS_VALUE"), 0.34, Qt::AlignLeft | Qt::AlignVCenter},
           {t.T("IDS_MAX"), 0.22},
           {t.T("IDS_MIN"), 0.22},
           {t.T("IDS_MEAN"), 0.22}},
          {range(t.T("IDS_SYS"), s.sys), range(t.T("IDS_DIA"), s.dia), range(t.T("IDS_PR"), s.pr),
           range(t.T("IDS_MAP"), s.map)});
  k.Pairs({{t.T("IDS_READINGS"), QString::number(s.analysedCount)},
           {t.T("IDS_AWAKE") + QStringLiteral(" / ") + t.T("IDS_ASLEEP"),
            QStringLiteral("%1 / %2").arg(s.awakeCount).arg(s.asleepCount)},
           {t.T("IDS_NIGHT_DIP"),
            Percent(s.nightDipSys) + QStringLiteral(" / ") + Percent(s.nightDipDia)},
           {t.T("IDS_HOURLY_RATIO"),
            Num(s.hourlyRatioSys, 2) + QStringLiteral(" / ") + Num(s.hourlyRatioDia, 2)}});
  k.Heading(t.T("IDS_CONCLUSION"));
  if (s.conclusion.empty())
    k.Paragraph(t.T("IDS_NO_CONCLUSION"));
  else
    k.Paragraph(QString::fromStdString(s.conclusion), 30);
  k.Space(30);
  k.Pairs({{t.T("IDS_PHYSICIAN"), QStringLiteral("________________________")},
           {t.T("IDS_DATE"), QStringLiteral("________________")}});
}

}  // namespace vesk::report
