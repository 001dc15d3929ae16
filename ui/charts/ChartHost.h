#pragma once
// The chart host of the main view: one object per chart kind, the kind shown, and the paint
// entry that dispatches on it. A failure while painting never escapes: it is reported once
// per paint through the error sink with the system-error text and the chart's own suffix.

#include <QtCore/QRect>
#include <QtCore/QString>
#include <functional>

#include "charts/BpTrendChart.h"
#include "charts/ChartSource.h"
#include "charts/CorrelationChart.h"
#include "charts/HistogramChart.h"
#include "charts/PieChart.h"
#include "charts/Spo2TrendChart.h"

class QPainter;

namespace vesk {

enum ChartKind : int {
  kChartBpTrend = 0,
  kChartSpo2Trend = 1,
  kChartHistogram = 2,
  kChartPie = 3,
  kChartCorrelation = 4,
};

// The fixed text after "IDS_SYS_ERROR" for a failure while painting each kind, and while
// switching to the histogram or the pie chart.
QString PaintErrorSuffix(int kind);
QString SwitchErrorSuffix(int kind);

// Button 1212: mode 3 for a multi-day case, otherwise 1 and 0 in turn.
int NextGraphMode(int currentMode, bool multiDay);

class ChartHost {
 public:
  using ErrorSink = std::function<void(const QString&)>;
  // Called before each chart paints; tests use it to make a paint fail.
  using PaintProbe = std::function<void(int kind)>;

  void SetErrorSink(ErrorSink sink) { sink_ = std::move(sink); }
  void SetPaintProbe(PaintProbe probe) { probe_ = std::move(probe); }

  // A copy of the source is kept; every chart reads it. Returns to kind 0.
  void SetCase(const ChartSource& source);
  void ClearCase();
  bool HasCase() const { return hasCase_; }
  const ChartSource& Source() const { return source_; }
  // The pie's period and ranges after the view prepared its data again.
  void SetPieSelection(Period period, const RangeLimits& ranges);
  // The events were detected again (parameter dialog).
  void ReloadEvents();

  // 0 to 4; false for another number (nothing changes).
  bool SetKind(int kind);
  int Kind() const { return kind_; }

  // Paints the current kind into `client`.
  void Paint(QPainter& painter, const QRect& client, bool dataChanged = false);

  BpTrendChart& Trend() { return trend_; }
  Spo2TrendChart& Spo2() { return spo2_; }
  HistogramChart& Histogram() { return histogram_; }
  PieChart& Pie() { return pie_; }
  CorrelationChart& Correlation() { return correlation_; }

 private:
  void Report(const QString& suffix) const;

  ChartSource source_;
  bool hasCase_ = false;
  int kind_ = kChartBpTrend;
  BpTrendChart trend_;
  Spo2TrendChart spo2_;
  HistogramChart histogram_;
  PieChart pie_;
  CorrelationChart correlation_;
  ErrorSink sink_;
  PaintProbe probe_;
};

}  // namespace vesk
