// Histograms, pies, the correlation chart and the SpO2 trend painted offscreen, and the chart
// widget's commands.

#include <gtest/gtest.h>

#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QApplication>

#include "ChartTestSupport.h"
#include "charts/ChartHost.h"
#include "charts/ChartWidget.h"

namespace vesk {
namespace {

using test::Reading;

const QColor kCyan(0, 255, 255), kPanel(210, 180, 140), kTopGreen(0, 255, 0), kTopRed(255, 0, 0),
    kTopYellow(255, 255, 0);

QImage RenderKind(ChartHost& host, int kind, int w = 1000, int h = 700) {
  EXPECT_TRUE(host.SetKind(kind));
  QImage image = test::Blank(w, h);
  QPainter p(&image);
  host.Paint(p, image.rect(), true);
  return image;
}

TEST(Histogram, EmptyClassesHaveNoBar) {
  test::BareCase c;
  for (int i = 0; i < 4; ++i) c.readings.push_back(Reading(30, 9 + i, 0, 135, 80, 72));
  c.Analyse();
  ASSERT_DOUBLE_EQ(c.analysis.distribution.sys[5], 1.0);  // 130 < v <= 140
  ChartHost host;
  host.SetCase(c.source);
  const QImage image = RenderKind(host, kChartHistogram);
  const QRect client = image.rect();
  const QRect bars = HistogramChart::BarArea(client, 0);
  const double slot = bars.width() / 14.0;
  const auto slotRect = [&](int i) {
    return QRect(bars.left() + static_cast<int>(slot * i), bars.top(), static_cast<int>(slot),
                 bars.height());
  };
  EXPECT_GT(test::CountColour(image, slotRect(5), kCyan), 100);
  EXPECT_EQ(test::CountColour(image, slotRect(0), kCyan), 0);
  EXPECT_EQ(test::CountColour(image, slotRect(4), kCyan), 0);
  EXPECT_GT(test::CountColour(image, slotRect(4), kPanel), 100);
  // A full class reaches the 100 % line.
  EXPECT_LT(bars.top() + 3, bars.bottom());

  c.analysis.distribution = PressureDistribution{};  // all fractions 0: panels only
  host.SetCase(c.source);
  const QImage bare = RenderKind(host, kChartHistogram);
  EXPECT_EQ(test::CountColour(bare, bare.rect(), kCyan), 0);
  EXPECT_GT(test::CountColour(bare, HistogramChart::BarArea(client, 2), kPanel), 1000);
}

TEST(Pie, OneClassIsAFullDisc) {
  test::BareCase c;
  for (int i = 0; i < 5; ++i) c.readings.push_back(Reading(30, 9 + i, 0, 120, 75, 80));
  c.Analyse();
  ASSERT_DOUBLE_EQ(c.analysis.extremes.sys.within, 1.0);
  ChartHost host;
  host.SetCase(c.source);
  const QImage image = RenderKind(host, kChartPie);
  const QRect top = PieChart::PieRect(image.rect(), 0);
  ASSERT_GT(top.width(), 50);
  const QPoint centre = top.center();
  for (int dx : {-top.width() / 3, -top.width() / 6, top.width() / 5}) {
    EXPECT_TRUE(test::SameColour(image.pixel(centre.x() + dx, centre.y() - 5), kTopGreen))
        << "dx " << dx;
  }
  EXPECT_EQ(test::CountColour(image, top, kTopRed), 0);
  EXPECT_EQ(test::CountColour(image, top, kTopYellow), 0);
  // The five legend squares in the configuration's colours.
  for (int i = 0; i < 5; ++i) {
    const QRect sq = PieChart::LegendSquare(image.rect(), i).adjusted(3, 3, -3, -3);
    EXPECT_EQ(test::CountColour(image, sq, QColor(0, 0, 0)), 0);
  }
  EXPECT_TRUE(test::SameColour(image.pixel(PieChart::LegendSquare(image.rect(), 4).center()),
                               QColor(109, 109, 245)));
}

TEST(Pie, ShareAboveTheRangeIsRed) {
  test::BareCase c;
  c.readings = {Reading(30, 9, 0, 160, 75), Reading(30, 10, 0, 120, 75), Reading(30, 11, 0, 90, 75),
                Reading(30, 12, 0, 165, 75)};
  c.Analyse();
  ChartHost host;
  host.SetCase(c.source);
  const QImage image = RenderKind(host, kChartPie);
  const QRect top = PieChart::PieRect(image.rect(), 0);
  const int red = test::CountColour(image, top, kTopRed);
  const int green = test::CountColour(image, top, kTopGreen);
  EXPECT_GT(red, 0);
  EXPECT_NEAR(static_cast<double>(red) / green, 2.0, 0.3);  // 50 % against 25 %
}

TEST(Correlation, RegressionLinesCrossAtTheCloudCentre) {
  test::BareCase c;
  const int sys[] = {110, 125, 140, 150, 165, 130, 145, 120};
  const int dia[] = {65, 72, 80, 86, 95, 70, 90, 78};
  for (int i = 0; i < 8; ++i) c.readings.push_back(Reading(30, 8 + 2 * i % 24, 0, sys[i], dia[i]));
  c.Analyse();
  const _BP_CORRELATION& k = c.analysis.correlation;
  ASSERT_TRUE(k.diaOnSysSet && k.sysOnDiaSet);
  ChartHost host;
  host.SetCase(c.source);
  const QImage image = RenderKind(host, kChartCorrelation);
  const QRectF plot = CorrelationChart::PlotArea(image.rect());
  // Where the two lines meet in pixels: both pass within two pixels of the marked centre.
  const QPointF centre = CorrelationChart::Map(plot, k.meanSys, k.meanDia);
  const QPointF onDia =
      CorrelationChart::Map(plot, k.meanSys, k.diaOnSysSlope * k.meanSys + k.diaOnSysIntercept);
  const QPointF onSys =
      CorrelationChart::Map(plot, k.sysOnDiaSlope * k.meanDia + k.sysOnDiaIntercept, k.meanDia);
  EXPECT_NEAR(onDia.y(), centre.y(), 3.0);
  EXPECT_NEAR(onSys.x(), centre.x(), 3.0);
  int reddish = 0, bluish = 0;
  for (int y = -8; y <= 8; ++y)
    for (int x = -8; x <= 8; ++x) {
      const QRgb px =
          image.pixel(static_cast<int>(centre.x()) + x, static_cast<int>(centre.y()) + y);
      if (qRed(px) > 150 && qGreen(px) < 90 && qBlue(px) < 90) ++reddish;
      if (qBlue(px) > 150 && qRed(px) < 90 && qGreen(px) < 90) ++bluish;
    }
  EXPECT_GT(reddish, 0);
  EXPECT_GT(bluish, 0);

  test::BareCase one;  // one point: no line may be drawn
  one.readings.push_back(Reading(30, 9, 0, 130, 80));
  one.Analyse();
  host.SetCase(one.source);
  const QImage single = RenderKind(host, kChartCorrelation);
  int lines = 0;
  for (int y = 0; y < single.height(); ++y)
    for (int x = 0; x < single.width(); ++x) {
      const QRgb px = single.pixel(x, y);
      if (qBlue(px) > 150 && qRed(px) < 60 && qGreen(px) < 60) ++lines;
    }
  EXPECT_EQ(lines, 0);
}

// Samples every second with a probe-off stretch and a gap in the offsets.
test::BareCase SpO2Case() {
  test::BareCase c;
  for (int s = 1; s <= 600; ++s) {
    if (s > 200 && s < 300) continue;  // no samples at all
    _SPO2_SAMPLE x;
    x.offset = s;
    x.spo2 = static_cast<uint8_t>(s > 400 && s < 450 ? 0 : (s > 100 && s < 130 ? 88 : 97));
    x.pr = static_cast<uint8_t>(x.spo2 == 0 ? 0 : 70);
    c.samples.push_back(x);
  }
  c.Analyse();
  return c;
}

TEST(Spo2Trend, CurvesBreakAtGapsAndMissingValues) {
  test::BareCase c = SpO2Case();
  ChartHost host;
  host.SetCase(c.source);
  const QImage image = RenderKind(host, kChartSpo2Trend);
  const QRect plot = Spo2TrendChart::PlotRect(image.rect());
  const auto column = [&](int second) {
    const int x = static_cast<int>(WindowX(second, 600, plot.left(), plot.right()));
    return QRect(x - 1, plot.top() + 12, 3, plot.height() - 24);
  };
  EXPECT_GT(test::CountColour(image, column(50), kCyan), 0);
  EXPECT_EQ(test::CountColour(image, column(250), kCyan), 0);  // gap in the offsets
  EXPECT_EQ(test::CountColour(image, column(425), kCyan), 0);  // probe off
  EXPECT_GT(test::CountColour(image, column(500), QColor(0, 255, 0)), 0);

  test::BareCase none;  // no SpO2 series: nothing drawn
  none.readings.push_back(Reading(30, 9, 0, 130, 80));
  none.Analyse();
  host.SetCase(none.source);
  EXPECT_EQ(RenderKind(host, kChartSpo2Trend), test::Blank());
}

TEST(Spo2Trend, HoveredEventShowsItsText) {
  test::BareCase c = SpO2Case();
  ASSERT_FALSE(c.analysis.spo2Events.empty());
  ChartHost host;
  host.SetCase(c.source);
  const QRect client(0, 0, 1000, 700);
  const QRect plot = Spo2TrendChart::PlotRect(client);
  Spo2TrendChart& chart = host.Spo2();
  const double x = WindowX(chart.Marks()[0].start, 600, plot.left(), plot.right());
  EXPECT_TRUE(chart.MouseMove(QPoint(static_cast<int>(x), 300), client));
  EXPECT_EQ(chart.HoveredEvent(), 0);
  EXPECT_FALSE(chart.MouseMove(QPoint(static_cast<int>(x) + 1, 200), client));
  EXPECT_TRUE(chart.MouseMove(QPoint(plot.left() - 10, 300), client));  // outside the plot
  EXPECT_EQ(chart.HoveredEvent(), -1);
  // Move the window past the event: its position lies outside and nothing is hovered.
  ASSERT_TRUE(chart.Command(kCmdOneMinute));
  while (chart.Window().Start() < 300) ASSERT_TRUE(chart.Command(kCmdGridRight));
  chart.MouseMove(QPoint(plot.left() + 2, 300), client);
  EXPECT_EQ(chart.HoveredEvent(), -1);
}

TEST(ChartWidgetCommands, PresetsNavigationGraphTypeAndPress) {
  test::BareCase c = SpO2Case();
  for (int h = 9; h <= 15; ++h) c.readings.push_back(Reading(30, h, 0, 150, 80));
  c.Analyse();
  ChartWidget widget;
  widget.resize(900, 600);
  widget.setCase(c.source);
  EXPECT_EQ(widget.kind(), kChartBpTrend);
  EXPECT_FALSE(widget.runCommand(kCmdGridLeft));  // at the start of the recording
  widget.toggleGraphType();
  EXPECT_EQ(widget.host().Trend().DisplayMode(), 1);
  widget.toggleGraphType();
  EXPECT_EQ(widget.host().Trend().DisplayMode(), 0);
  ASSERT_TRUE(widget.setKind(kChartSpo2Trend));
  EXPECT_TRUE(widget.runCommand(kCmdOneHour));
  EXPECT_EQ(widget.host().Spo2().Window().Length(), 3600);
  EXPECT_TRUE(widget.runCommand(kCmdPageRight));  // one 600 s grid: onto the last time
  EXPECT_EQ(widget.host().Spo2().Window().Start(), 600);
  EXPECT_FALSE(widget.runCommand(kCmdGridRight));  // past the end: refused
  EXPECT_TRUE(widget.runCommand(kCmdOneMinute));
  EXPECT_TRUE(widget.runCommand(kCmdGridLeft));
  EXPECT_EQ(widget.host().Spo2().Window().Start(), 590);
  const QImage image = widget.renderImage();
  EXPECT_EQ(image.size(), QSize(900, 600));
  int presses = 0;
  QObject::connect(&widget, &ChartWidget::leftButtonPressed, [&] { ++presses; });
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(100, 100), QPointF(100, 100), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&widget, &press);
  EXPECT_EQ(presses, 1);
  EXPECT_TRUE(widget.setKind(kChartPie));
  EXPECT_FALSE(widget.runCommand(kCmdOneHour));  // presets belong to the SpO2 trend
}

}  // namespace
}  // namespace vesk
