// The blood-pressure trend chart painted offscreen: limit areas, placement of readings, the
// odd cases that must draw nothing, and the mouse and scroll-bar rules.

#include <gtest/gtest.h>

#include <QtGui/QPainter>

#include "ChartTestSupport.h"
#include "charts/ChartHost.h"

namespace vesk {
namespace {

using test::Reading;

const QColor kRed(255, 0, 0), kGreen(0, 130, 0), kGrey(128, 128, 128), kInfo(188, 188, 188);

// Daytime readings: systolic well above its limit of 135, diastolic well below its 85.
test::BareCase DaytimeCase() {
  test::BareCase c;
  for (int h = 9; h <= 15; ++h) c.readings.push_back(Reading(30, h, 0, 165, 65, 70));
  c.Analyse();
  return c;
}

QImage Render(BpTrendChart& chart, int w = 1000, int h = 700) {
  QImage image = test::Blank(w, h);
  QPainter p(&image);
  chart.Paint(p, image.rect(), true);
  return image;
}

TEST(TrendPaint, RedAboveTheLimitAndGreenBelowIt) {
  test::BareCase c = DaytimeCase();
  BpTrendChart chart;
  chart.SetCase(&c.source);
  const QImage image = Render(chart);
  double x0 = 0, x1 = 0;
  ASSERT_TRUE(chart.ReadingX(1, x0));
  ASSERT_TRUE(chart.ReadingX(2, x1));
  const int x = chart.Time().plot.left + static_cast<int>((x0 + x1) / 2);
  const ValueAxis& v = chart.Values();
  EXPECT_TRUE(test::SameColour(image.pixel(x, (v.YOf(165) + v.YOf(135)) / 2), kRed));
  EXPECT_TRUE(test::SameColour(image.pixel(x, (v.YOf(65) + v.YOf(85)) / 2), kGreen));
  // Between the two curves nothing is filled, and nothing is red below the systolic limit.
  EXPECT_TRUE(test::SameColour(image.pixel(x, v.YOf(110)), Qt::white));
  EXPECT_EQ(test::CountColour(image, QRect(x - 20, v.YOf(130), 40, v.YOf(90) - v.YOf(130)), kRed),
            0);
  // The range holds both limit lines: 65 up to 165.
  EXPECT_EQ(v.Minimum(), 65);
  EXPECT_EQ(v.Maximum(), 165);
}

TEST(TrendPaint, ReadingLandsWhereTheMappingsSay) {
  test::BareCase c = DaytimeCase();
  BpTrendChart chart;
  chart.SetCase(&c.source);
  chart.SetDisplayMode(1);
  const QImage image = Render(chart);
  double x = 0;
  ASSERT_TRUE(chart.ReadingX(3, x));
  EXPECT_DOUBLE_EQ(x, 3 * 60.0);  // three hours at one pixel per minute
  const int px = chart.Time().plot.left + static_cast<int>(x);
  EXPECT_TRUE(test::SameColour(image.pixel(px, chart.Values().YOf(117)), kGrey));
  EXPECT_FALSE(test::SameColour(image.pixel(px + 8, chart.Values().YOf(117)), kGrey));
  EXPECT_EQ(test::CountColour(image, image.rect(), kRed), 0);  // bars have no limit areas
}

TEST(TrendPaint, OddCasesDrawLittleOrNothing) {
  const QImage blank = test::Blank();
  BpTrendChart chart;
  chart.SetCase(nullptr);
  EXPECT_EQ(Render(chart), blank);  // no case

  test::BareCase empty;
  empty.Analyse();
  chart.SetCase(&empty.source);
  EXPECT_EQ(Render(chart), blank);  // empty reading list

  test::BareCase one;
  one.readings.push_back(Reading(30, 9, 0, 170, 60));
  one.Analyse();
  chart.SetCase(&one.source);
  QImage image = Render(chart);
  double x = 0;
  EXPECT_FALSE(chart.ReadingX(0, x));  // no time span: nothing is placed
  EXPECT_EQ(test::CountColour(image, image.rect(), kRed), 0);
  EXPECT_EQ(chart.ValidCount(), 1);

  test::BareCase excluded = DaytimeCase();
  for (_BP_RECORD& r : excluded.readings) r.included = 0;
  chart.SetCase(&excluded.source);
  image = Render(chart);
  EXPECT_EQ(test::CountColour(image, image.rect(), kRed), 0);
  EXPECT_TRUE(chart.Values().IsValid());  // the limits alone give the range

  test::BareCase extremes;
  extremes.readings = {Reading(30, 9, 0, 300, 60), Reading(30, 10, 0, 0, 0, 0),
                       Reading(30, 11, 0, 399, 250, 200)};
  extremes.Analyse();
  chart.SetCase(&extremes.source);
  image = Render(chart);
  EXPECT_EQ(chart.Values().Maximum(), 300);
  EXPECT_GT(test::CountColour(image, image.rect(), kRed), 0);

  chart.SetCase(&extremes.source);
  QImage tiny = test::Blank(10, 10);  // the plot has no width at all
  QPainter p(&tiny);
  chart.Paint(p, tiny.rect(), true);
  p.end();
  chart.SetCase(&extremes.source);
  QPainter q(&image);
  chart.Paint(q, QRect(0, 0, 0, 500), true);
}

TEST(TrendMouse, HoverRepaintsOnlyWhenTheReadingChanges) {
  test::BareCase c = DaytimeCase();
  BpTrendChart chart;
  chart.SetCase(&c.source);
  Render(chart);
  double x = 0;
  ASSERT_TRUE(chart.ReadingX(2, x));
  const QPoint at(chart.Time().plot.left + static_cast<int>(x) + 3, chart.Values().YOf(100));
  BpTrendChart::Feedback fb = chart.MouseMove(at, false);
  EXPECT_EQ(chart.Hovered(), 2);
  EXPECT_FALSE(fb.invalidate.isEmpty());
  // The plot widened 100 pixels upwards, within the client.
  EXPECT_EQ(fb.invalidate.top(), std::max(0, chart.LastLayout().plot.top() - 100));
  EXPECT_EQ(fb.invalidate.bottom(), chart.LastLayout().plot.bottom());
  EXPECT_EQ(fb.cursor, Qt::CrossCursor);
  EXPECT_TRUE(chart.MouseMove(at + QPoint(1, 40), false).invalidate.isEmpty());  // same reading
  const QImage image = Render(chart);
  EXPECT_GT(test::CountColour(image, QRect(0, 0, 1000, chart.LastLayout().plot.top()), kInfo), 0);
  // The box leaves the value caption ("mmHg/...") readable: no grey under it, its text drawn.
  const QRect caption = chart.ValueCaptionRect();
  EXPECT_EQ(test::CountColour(image, caption, kInfo), 0);
  EXPECT_GT(test::CountColour(image, caption, Qt::black), 0);
  EXPECT_FALSE(chart.MouseMove(QPoint(2, 2), false).invalidate.isEmpty());  // left: once
  EXPECT_EQ(chart.Hovered(), -1);
  EXPECT_FALSE(chart.InfoShown());
  EXPECT_TRUE(chart.MouseMove(QPoint(3, 3), false).invalidate.isEmpty());
}

TEST(TrendMouse, DraggingTheTimeStripStretchesWithinTheLimits) {
  test::BareCase c = DaytimeCase();
  BpTrendChart chart;
  chart.SetCase(&c.source);
  Render(chart);
  const QRect strip = chart.LastLayout().timeStrip;
  const QPoint anchor(strip.left() + 100, strip.center().y());
  EXPECT_EQ(chart.MouseMove(anchor, false).cursor, Qt::SizeHorCursor);
  chart.LeftDown(anchor);
  const BpTrendChart::Feedback fb = chart.MouseMove(anchor + QPoint(100, 0), true);
  EXPECT_TRUE(fb.scrollChanged);
  EXPECT_DOUBLE_EQ(chart.Time().Stretch(), 2.0);
  chart.MouseMove(QPoint(strip.left() + 5000, anchor.y()), true);  // factor 50: refused
  EXPECT_DOUBLE_EQ(chart.Time().Stretch(), 2.0);
  chart.LeftUp(anchor);
  EXPECT_DOUBLE_EQ(chart.Time().Zoom(), 2.0);
  EXPECT_DOUBLE_EQ(chart.Time().Stretch(), 1.0);

  const QRect values = chart.LastLayout().valueStrip;
  const int bottom = chart.Values().plot.bottom;
  chart.LeftDown(QPoint(values.center().x(), bottom - 100));
  chart.MouseMove(QPoint(values.center().x(), bottom - 150), true);
  EXPECT_DOUBLE_EQ(chart.Values().Stretch(), 1.5);
  chart.MouseMove(QPoint(values.center().x(), bottom - 250), true);  // 2.5: refused
  EXPECT_DOUBLE_EQ(chart.Values().Stretch(), 1.5);
  chart.LeftUp(QPoint());
  EXPECT_DOUBLE_EQ(chart.Values().Zoom(), 1.5);
}

TEST(TrendMouse, EqualSpacingModeFixesBothAxes) {
  test::BareCase c = DaytimeCase();
  c.source.multiDay = true;
  BpTrendChart chart;
  chart.SetCase(&c.source);
  EXPECT_EQ(chart.DisplayMode(), 3);
  const QImage image = Render(chart);
  EXPECT_TRUE(chart.Time().EqualSpacing());
  EXPECT_FALSE(chart.SetTimeZoom(2.0));
  EXPECT_FALSE(chart.SetValueZoom(1.5));
  EXPECT_FALSE(chart.SetTimeScroll(10));
  const QRect strip = chart.LastLayout().timeStrip;
  chart.LeftDown(strip.center());
  chart.MouseMove(strip.center() + QPoint(50, 0), true);
  EXPECT_DOUBLE_EQ(chart.Time().Stretch(), 1.0);
  // The pulse line is drawn in blue.
  EXPECT_GT(test::CountColour(image, chart.LastLayout().plot, QColor(0, 0, 255)), 0);
}

TEST(TrendScroll, RequestsMoveWithinTheBarRange) {
  test::BareCase c = DaytimeCase();
  BpTrendChart chart;
  chart.SetCase(&c.source);
  Render(chart);
  EXPECT_FALSE(chart.HorizontalBar().visible);  // six hours fit
  EXPECT_TRUE(chart.Scroll(Qt::Horizontal, ScrollRequest::PageForward).invalidate.isEmpty());
  ASSERT_TRUE(chart.SetTimeZoom(8.0));
  Render(chart);
  const ScrollBarPlan h = chart.HorizontalBar();
  ASSERT_TRUE(h.visible);
  EXPECT_FALSE(chart.Scroll(Qt::Horizontal, ScrollRequest::PageBack).scrollChanged &&
               chart.Time().ScrollOffset() != 0);
  EXPECT_EQ(chart.Time().ScrollOffset(), 0);
  chart.Scroll(Qt::Horizontal, ScrollRequest::PageForward);
  EXPECT_EQ(chart.Time().ScrollOffset(), h.range.page);
  chart.Scroll(Qt::Horizontal, ScrollRequest::Track, -1);
  EXPECT_EQ(chart.Time().ScrollOffset(), h.range.max);
  chart.Scroll(Qt::Horizontal, ScrollRequest::PageForward);
  EXPECT_EQ(chart.Time().ScrollOffset(), h.range.max);
  // Scrolled to the end, the last reading sits near the right edge.
  Render(chart);
  double x = 0;
  ASSERT_TRUE(chart.ReadingX(6, x));
  EXPECT_NEAR(x, chart.Time().plot.Width(), 2.0);
}

TEST(ChartHostErrors, PaintAndSwitchFailuresAreReportedWithTheirSuffix) {
  test::BareCase c = DaytimeCase();
  ChartHost host;
  host.SetCase(c.source);
  std::vector<QString> messages;
  host.SetErrorSink([&](const QString& m) { messages.push_back(m); });
  host.SetPaintProbe([](int kind) {
    if (kind == kChartHistogram || kind == -kChartPie) throw std::runtime_error("broken");
  });
  QImage image = test::Blank();
  QPainter p(&image);
  ASSERT_TRUE(host.SetKind(kChartHistogram));
  host.Paint(p, image.rect());
  EXPECT_FALSE(host.SetKind(kChartPie));
  EXPECT_EQ(host.Kind(), kChartHistogram);  // the previous kind stays
  EXPECT_FALSE(host.SetKind(7));
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0], "System errorstogram in Repaint");
  EXPECT_EQ(messages[1], "System error:on Piegram View");
}

}  // namespace
}  // namespace vesk
