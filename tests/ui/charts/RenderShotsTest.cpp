// Renders every chart kind for the generated 24-hour and 48-hour MIRU cases. With
// VESK_CHART_SHOTS set the pictures are written there as PNG files for a person to look at;
// the test itself checks only that each picture holds more than the background.

#include <gtest/gtest.h>

#include <QtCore/QDir>
#include <QtGui/QPainter>
#include <cstdlib>

#include "ChartTestSupport.h"
#include "cases/SampleCases.h"
#include "charts/ChartHost.h"

namespace vesk {
namespace {

int Distinct(const QImage& image) {
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); y += 3)
    for (int x = 0; x < image.width(); x += 3) colours.insert(image.pixel(x, y));
  return static_cast<int>(colours.size());
}

void Shoot(const ChartSource& source, const char* name, int kinds, int mode = -1) {
  ChartHost host;
  host.SetCase(source);
  std::vector<QString> errors;
  host.SetErrorSink([&](const QString& e) { errors.push_back(e); });
  if (mode >= 0) host.Trend().SetDisplayMode(mode);
  const char* dir = std::getenv("VESK_CHART_SHOTS");
  for (int kind = 0; kind < kinds; ++kind) {
    ASSERT_TRUE(host.SetKind(kind));
    QImage image = test::Blank(1280, 760);
    QPainter p(&image);
    host.Paint(p, image.rect(), true);
    p.end();
    if (kind != kChartSpo2Trend || source.samples != nullptr) {
      EXPECT_GT(Distinct(image), 3) << name << " kind " << kind;
    }
    if (dir != nullptr) {
      QDir().mkpath(dir);
      const QString mode_part = mode >= 0 ? QString::asprintf("-mode%d", mode) : QString();
      image.save(QString::asprintf("%s/%s-kind%d", dir, name, kind) + mode_part + ".png");
    }
  }
  EXPECT_TRUE(errors.empty());
}

TEST(RenderShots, AmbulatoryDay) {
  SampleOptions o;
  o.seed = 7;
  o.language = 0;
  const auto c = test::LoadSample(MakeAmbulatorySample(o));
  Shoot(c->source, "ambulatory24h", 5);
}

TEST(RenderShots, AmbulatoryDayBars) {
  SampleOptions o;
  o.seed = 7;
  o.language = 0;
  const auto c = test::LoadSample(MakeAmbulatorySample(o));
  Shoot(c->source, "ambulatory24h", 1, 1);
}

TEST(RenderShots, Miru48h) {
  SampleOptions o;
  o.seed = 3;
  o.language = 0;
  const auto c = test::LoadSample(MakeMiruSample(o));
  ASSERT_NE(c->source.samples, nullptr);
  EXPECT_FALSE(c->analysis.spo2Events.empty());
  Shoot(c->source, "miru48h", 5);
}

void Save(const QImage& image, const char* name) {
  if (const char* dir = std::getenv("VESK_CHART_SHOTS")) {
    QDir().mkpath(dir);
    image.save(QString::asprintf("%s/%s.png", dir, name));
  }
}

TEST(RenderShots, Miru48hWindowsAndHover) {
  SampleOptions o;
  o.seed = 3;
  o.language = 0;
  const auto c = test::LoadSample(MakeMiruSample(o));
  ChartHost host;
  host.SetCase(c->source);
  const QRect client(0, 0, 1280, 760);
  const auto shot = [&](const char* name) {
    QImage image = test::Blank(1280, 760);
    QPainter p(&image);
    host.Paint(p, client, false);
    p.end();
    Save(image, name);
    return image;
  };
  // The hovered reading's information box on the trend chart.
  QImage first = test::Blank(1280, 760);
  {
    QPainter p(&first);
    host.Paint(p, client, true);
  }
  double x = 0;
  ASSERT_TRUE(host.Trend().ReadingX(10, x));
  host.Trend().MouseMove(QPoint(host.Trend().Time().plot.left + static_cast<int>(x), 300), false);
  EXPECT_GE(host.Trend().Hovered(), 0);
  shot("miru48h-kind0-hover");
  ASSERT_TRUE(host.SetKind(kChartSpo2Trend));
  // One hour around the first night's desaturations, with an event hovered.
  Spo2Window& w = host.Spo2().Window();
  ASSERT_TRUE(w.ApplyPreset(kCmdOneHour));
  ASSERT_TRUE(w.SetStart(14 * 3600));
  const QRect plot = Spo2TrendChart::PlotRect(client);
  for (const Spo2TrendChart::Mark& m : host.Spo2().Marks()) {
    if (m.start > 14 * 3600 + 600 && m.desaturation) {
      host.Spo2().MouseMove(
          QPoint(static_cast<int>(WindowX(m.start - 14 * 3600, 3600, plot.left(), plot.right())),
                 300),
          client);
      break;
    }
  }
  EXPECT_GE(host.Spo2().HoveredEvent(), 0);
  shot("miru48h-kind1-onehour");
  ASSERT_TRUE(w.SetManualLength(0, 0, true));
  shot("miru48h-kind1-alldata");
}

TEST(RenderShots, HomeReadingsOverWeeks) {
  SampleOptions o;
  o.seed = 5;
  o.language = 0;
  const auto c = test::LoadSample(MakeSingleUserSample(o));
  EXPECT_TRUE(c->source.multiDay);
  Shoot(c->source, "singleuser", 1);
}

}  // namespace
}  // namespace vesk
