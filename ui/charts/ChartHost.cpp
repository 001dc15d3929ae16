#include "charts/ChartHost.h"

#include <QtGui/QPainter>
#include <exception>

#include "charts/ChartText.h"

namespace vesk {

QString PaintErrorSuffix(int kind) {
  switch (kind) {
    case kChartBpTrend:
      return QStringLiteral("BpTrend in Repaint");
    case kChartSpo2Trend:
      return QStringLiteral("SpO2Trend in Repaint");
    case kChartHistogram:
      return QStringLiteral("stogram in Repaint");
    case kChartPie:
      return QStringLiteral("Piegram in Repaint");
    case kChartCorrelation:
      return QStringLiteral("CorreLine in Repaint");
    default:
      return {};
  }
}

QString SwitchErrorSuffix(int kind) {
  switch (kind) {
    case kChartHistogram:
      return QStringLiteral(":on Histogram View");
    case kChartPie:
      return QStringLiteral(":on Piegram View");
    default:
      return {};
  }
}

int NextGraphMode(int currentMode, bool multiDay) {
  if (multiDay) return 3;
  return currentMode == 1 ? 0 : 1;
}

void ChartHost::SetCase(const ChartSource& source) {
  source_ = source;
  hasCase_ = true;
  trend_.SetCase(&source_);
  spo2_.SetCase(&source_);
  histogram_.SetCase(&source_);
  pie_.SetCase(&source_);
  correlation_.SetCase(&source_);
  kind_ = kChartBpTrend;
}

void ChartHost::ClearCase() {
  source_ = ChartSource{};
  hasCase_ = false;
  trend_.SetCase(nullptr);
  spo2_.SetCase(nullptr);
  histogram_.SetCase(nullptr);
  pie_.SetCase(nullptr);
  correlation_.SetCase(nullptr);
  kind_ = kChartBpTrend;
}

void ChartHost::SetPieSelection(Period period, const RangeLimits& ranges) {
  source_.period = period;
  source_.ranges = ranges;
}

void ChartHost::ReloadEvents() {
  if (!hasCase_) return;
  // The window stays where the user put it; only the marks are rebuilt.
  const Spo2Window window = spo2_.Window();
  spo2_.SetCase(&source_);
  spo2_.Window() = window;
}

bool ChartHost::SetKind(int kind) {
  if (kind < kChartBpTrend || kind > kChartCorrelation) return false;
  try {
    if (probe_ && (kind == kChartHistogram || kind == kChartPie)) probe_(-kind);
    kind_ = kind;
  } catch (const std::exception&) {
    Report(SwitchErrorSuffix(kind));
    return false;
  }
  return true;
}

void ChartHost::Paint(QPainter& painter, const QRect& client, bool dataChanged) {
  if (!hasCase_) return;
  painter.save();
  try {
    if (probe_) probe_(kind_);
    switch (kind_) {
      case kChartBpTrend:
        trend_.Paint(painter, client, dataChanged);
        break;
      case kChartSpo2Trend:
        spo2_.Paint(painter, client);
        break;
      case kChartHistogram:
        histogram_.Paint(painter, client);
        break;
      case kChartPie:
        pie_.Paint(painter, client);
        break;
      case kChartCorrelation:
        correlation_.Paint(painter, client);
        break;
    }
  } catch (const std::exception&) {
    Report(PaintErrorSuffix(kind_));
  }
  painter.restore();
}

void ChartHost::Report(const QString& suffix) const {
  if (!sink_) return;
  sink_(ChartText(source_.language, kChartGlobal, "IDS_SYS_ERROR") + suffix);
}

}  // namespace vesk
