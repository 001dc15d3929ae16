// The charts in the main view: what opening a case shows, the chart commands, the graph-type
// button, the pie's period and bound fields, the SpO2 window tools and parameter dialog, the
// re-analysis on a click, and paint failures reaching the user.

#include <QtGui/QAction>
#include <QtGui/QClipboard>
#include <QtGui/QGuiApplication>
#include <QtTest/QTest>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QToolButton>
#include <set>
#include <stdexcept>

#include "UiTestSupport.h"
#include "cases/CaseDocument.h"
#include "charts/ChartWidget.h"
#include "charts/Spo2ParamDialog.h"
#include "charts/TrendLengthDialog.h"
#include "common/Globals.h"
#include "controls/ButtonNew.h"
#include "controls/UpDown.h"
#include "device/DeviceCaseDocument.h"
#include "frame/CommandIds.h"
#include "frame/MainFrame.h"
#include "view/CaseSession.h"
#include "view/ChartImageMenu.h"
#include "view/ZavDoc.h"
#include "view/ZavView.h"

using namespace vesk;
using namespace vesk::uitest;

namespace {

// What the chart area shows on screen, through its own paint.
QImage Shown(ChartWidget* charts) {
  return charts->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Pixels that are neither the view's background nor the plot's white: what was drawn.
int DrawnPixels(const QImage& image) {
  const QRgb background = CZavView::kBackground.rgb();
  int drawn = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = image.pixel(x, y) | 0xFF000000u;
      if (c != background && c != 0xFFFFFFFFu) ++drawn;
    }
  return drawn;
}

}  // namespace

class ChartsViewTest : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void openingACaseDrawsTheTrendChart();
  void chartCommandsSwitchKindAndPaint();
  void graphTypeButtonTogglesTheTrendMode();
  void periodAndBoundsRecomputeThePie();
  void spo2ToolsMoveTheWindow();
  void spo2ParameterDialogSavesTheConfiguration();
  void clickOnTheTrendAnalysesAgain();
  void paintFailureIsShownOnce();
  void contextMenuSavesAndCopiesTheChart();
  void contextMenuTextsFollowTheLanguage();

 private:
  CZavView* View() { return ui_->View(); }
  void OpenAmbulatory() { ui_->OpenCase("data/a.awp", "A", "1"); }
  void OpenMiru() { ui_->OpenCase("data/m.awp", "M", "2", true); }

  std::unique_ptr<WindowFixture> ui_;
};

void ChartsViewTest::init() {
  ui_ = std::make_unique<WindowFixture>(WithFrame{{1200, 800}});
}

void ChartsViewTest::cleanup() {
  ui_.reset();
}

void ChartsViewTest::openingACaseDrawsTheTrendChart() {
  ChartWidget* charts = View()->Charts();
  QVERIFY(!charts->isVisible());  // nothing to draw before a case is open
  OpenAmbulatory();
  QVERIFY(charts->isVisible());
  QCOMPARE(charts->width(), View()->width());
  QVERIFY(charts->height() > View()->height() * 9 / 10);
  QCOMPARE(charts->kind(), 0);
  QVERIFY(charts->host().HasCase());
  // The program's document is the one that also talks to recorders.
  QVERIFY(dynamic_cast<DeviceCaseDocument*>(&View()->Session().Document()) != nullptr);
  QVERIFY(View()->Session().Analysis().statistics.analysedCount > 0);
  const QImage shown = Shown(charts);
  QVERIFY2(DrawnPixels(shown) > 5000, qPrintable(QString::number(DrawnPixels(shown))));
  // The controls stand in their own row above the chart.
  for (const char* id : {"2001", "2008", "1212"}) {
    auto* control = View()->findChild<QWidget*>(id);
    QVERIFY(control->isVisible());
    QVERIFY(control->geometry().bottom() < charts->geometry().top());
  }
  QVERIFY(ui_->messages.sink.messages.empty());
}

void ChartsViewTest::chartCommandsSwitchKindAndPaint() {
  OpenMiru();
  ChartWidget* charts = View()->Charts();
  const std::pair<int, int> commands[] = {{cmd::kSpO2Trend, 1},
                                          {cmd::kBarGraph, 2},
                                          {cmd::kPieChart, 3},
                                          {cmd::kCorrelation, 4},
                                          {cmd::kBpTrend, 0}};
  std::set<qint64> pictures;
  for (const auto& [command, kind] : commands) {
    QVERIFY(ui_->frame->ExecuteCommand(command));
    QCOMPARE(View()->ChartKind(), kind);
    QCOMPARE(charts->kind(), kind);
    const QImage shown = Shown(charts);
    QVERIFY2(DrawnPixels(shown) > 2000, qPrintable(QString::number(kind)));
    pictures.insert(qint64(qHashBits(shown.constBits(), size_t(shown.sizeInBytes()))));
  }
  QCOMPARE(pictures.size(), size_t(5));
  // The pie leaves the bound fields' column free; the others use the whole view.
  ui_->frame->ExecuteCommand(cmd::kPieChart);
  auto* field = View()->findChild<QWidget*>("1013");
  QVERIFY(charts->geometry().right() < field->geometry().left());
  QVERIFY(charts->geometry().top() > View()->findChild<QWidget*>("1001")->geometry().bottom());
  ui_->frame->ExecuteCommand(cmd::kCorrelation);
  QCOMPARE(charts->width(), View()->width());
  // No control covers the chart.
  for (QWidget* w : View()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (w != charts && w->isVisible()) QVERIFY(!w->geometry().intersects(charts->geometry()));
  QVERIFY(ui_->messages.sink.messages.empty());
}

void ChartsViewTest::graphTypeButtonTogglesTheTrendMode() {
  auto* button = View()->findChild<CButtonNew*>("1212");
  QCOMPARE(button->CurrentFace(), QColor(199, 237, 204));
  OpenAmbulatory();
  ChartWidget* charts = View()->Charts();
  const QImage curves = Shown(charts);
  button->click();
  QCOMPARE(charts->host().Trend().DisplayMode(), 1);
  QCOMPARE(View()->TrendMode(), 1);
  const QImage bars = Shown(charts);
  QVERIFY(curves != bars);
  button->click();
  QCOMPARE(charts->host().Trend().DisplayMode(), 0);
  QCOMPARE(View()->TrendMode(), 0);
  QVERIFY(Shown(charts) == curves);
}

void ChartsViewTest::periodAndBoundsRecomputeThePie() {
  OpenAmbulatory();
  CZavView* view = View();
  CaseAnalysis& analysis = view->Session().Analysis();
  ChartWidget* charts = view->Charts();
  // Bound edits on the trend chart are ignored, and so is a period change.
  view->Spin(0)->SetPos(120);
  QCOMPARE(charts->host().Source().ranges.sysHigh, 140);
  QCOMPARE(view->Range(0, 0), 140);

  // The pie is prepared with the bounds the fields show.
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kPieChart));
  QCOMPARE(charts->host().Source().ranges.sysHigh, 120);
  const double allWithin = analysis.extremes.sys.within;
  const QImage allPie = Shown(charts);

  view->findChild<QRadioButton*>("1003")->click();
  QCOMPARE(charts->host().Source().period, Period::Asleep);
  const QImage asleepPie = Shown(charts);
  QVERIFY(asleepPie != allPie);

  // Narrowing the systolic band to nothing leaves no reading within it.
  view->Spin(0)->SetPos(10);  // held at the lower bound
  QCOMPARE(view->Spin(0)->Pos(), 100);
  view->Spin(1)->SetPos(0);
  view->Spin(0)->SetPos(0);
  QCOMPARE(charts->host().Source().ranges.sysHigh, 0);
  QCOMPARE(charts->host().Source().ranges.sysLow, 0);
  QCOMPARE(analysis.extremes.sys.within, 0.0);
  QCOMPARE(analysis.extremes.sys.above, 1.0);
  QVERIFY(Shown(charts) != asleepPie);
  QCOMPARE(view->Range(2, 0), 0);
  QCOMPARE(view->Range(0, 0), 140);

  // Back to all readings with the starting bounds gives the first picture again.
  view->Spin(0)->SetPos(120);  // the field kept what was typed while the trend was shown
  view->Spin(1)->SetPos(100);
  view->findChild<QRadioButton*>("1001")->click();
  QCOMPARE(analysis.extremes.sys.within, allWithin);
  QVERIFY(Shown(charts) == allPie);
}

void ChartsViewTest::spo2ToolsMoveTheWindow() {
  OpenMiru();
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kSpO2Trend));
  ChartWidget* charts = View()->Charts();
  const Spo2Window& window = charts->host().Spo2().Window();
  auto tool = [this](int id) { return View()->findChild<QToolButton*>(QString::number(id)); };
  QVERIFY(View()->findChild<QWidget*>("1213")->isVisible());
  QCOMPARE(window.Length(), 600);  // a case opens on ten minutes
  QVERIFY(tool(2002)->isChecked());
  const QImage tenMinutes = Shown(charts);

  tool(2001)->click();
  QCOMPARE(window.Length(), 60);
  QVERIFY(tool(2001)->isChecked() && !tool(2002)->isChecked());
  QVERIFY(Shown(charts) != tenMinutes);
  tool(2003)->click();
  QCOMPARE(window.Length(), 3600);
  QVERIFY(tool(2003)->isChecked() && !tool(2001)->isChecked());

  // Paging right moves the start on; paging left at the start stays there.
  QVERIFY(window.SeriesSeconds() > 2 * 3600);
  tool(2008)->click();
  QVERIFY(window.Start() > 0);
  tool(2005)->click();
  QCOMPARE(window.Start(), int64_t(0));
  tool(2005)->click();
  QCOMPARE(window.Start(), int64_t(0));
  tool(2007)->click();
  QCOMPARE(window.Start(), int64_t(window.GridSeconds()));

  // The length dialog: two hours.
  bool shown = false;
  OnNextModal([&](QDialog* dialog) {
    auto* length = qobject_cast<TrendLengthDialog*>(dialog);
    shown = length != nullptr;
    if (!length) return;
    length->hoursField()->setValue(2);
    length->minutesField()->setValue(0);
    length->accept();
  });
  tool(2004)->click();
  QVERIFY(shown);
  QCOMPARE(window.Length(), 7200);
  QVERIFY(!tool(2001)->isChecked() && !tool(2002)->isChecked() && !tool(2003)->isChecked());
  // Cancelling the dialog changes nothing.
  OnNextModal([](QDialog* dialog) { dialog->reject(); });
  tool(2004)->click();
  QCOMPARE(window.Length(), 7200);
}

void ChartsViewTest::spo2ParameterDialogSavesTheConfiguration() {
  OpenMiru();
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kSpO2Trend));
  const CaseAnalysis& analysis = View()->Session().Analysis();
  const size_t eventsBefore = analysis.spo2Events.size();
  // A stricter criterion level with a least change of 1 finds at least as many events.
  bool shown = false;
  OnNextModal([&](QDialog* dialog) {
    auto* params = qobject_cast<Spo2ParamDialog*>(dialog);
    shown = params != nullptr;
    if (!params) return;
    const char* values[] = {"1", "1", "97", "5", "5"};
    for (int i = 0; i < 5; ++i) params->field(i)->setText(values[i]);
    params->accept();
  });
  View()->findChild<CButtonNew*>("1213")->click();
  QVERIFY(shown);
  QCOMPARE(g_Config->settings.spo2CriterialLevel, 97);
  QCOMPARE(g_Config->settings.prMinTime, 5);
  const std::string saved = ui_->home.Read("MreConfig.ini");
  QVERIFY(saved.find("SpO2CriterialLevel=97") != std::string::npos);
  QVERIFY(analysis.spo2Events.size() >= eventsBefore);

  // Cancel keeps the configuration as it is.
  OnNextModal([](QDialog* dialog) {
    qobject_cast<Spo2ParamDialog*>(dialog)->field(2)->setText("80");
    dialog->reject();
  });
  View()->findChild<CButtonNew*>("1213")->click();
  QCOMPARE(g_Config->settings.spo2CriterialLevel, 97);
}

void ChartsViewTest::clickOnTheTrendAnalysesAgain() {
  OpenAmbulatory();
  CaseSession& session = View()->Session();
  const int before = session.Analysis().statistics.analysedCount;
  QVERIFY(before > 2);
  // An exclusion made elsewhere shows up in the statistics after the next click.
  session.Document().AllReadings()[0].included = 0;
  QCOMPARE(session.Analysis().statistics.analysedCount, before);
  ChartWidget* charts = View()->Charts();
  QTest::mouseClick(charts, Qt::LeftButton, {}, charts->rect().center());
  QCOMPARE(session.Analysis().statistics.analysedCount, before - 1);
  // A right click does not analyse.
  session.Document().AllReadings()[1].included = 0;
  QTest::mouseClick(charts, Qt::RightButton, {}, charts->rect().center());
  QCOMPARE(session.Analysis().statistics.analysedCount, before - 1);
}

void ChartsViewTest::paintFailureIsShownOnce() {
  OpenAmbulatory();
  ChartWidget* charts = View()->Charts();
  charts->host().SetPaintProbe([](int kind) {
    if (kind == 0) throw std::runtime_error("broken");
  });
  charts->refresh();
  Shown(charts);
  Shown(charts);
  QCoreApplication::processEvents();
  QVERIFY(ui_->messages.Saw("EN:IDS_SYS_ERRORBpTrend in Repaint"));
  // Each failed paint is reported by itself, never several boxes at once from one paint.
  QVERIFY(ui_->messages.sink.messages.size() <= 2);
  charts->host().SetPaintProbe({});
}

void ChartsViewTest::contextMenuSavesAndCopiesTheChart() {
  ChartWidget* charts = View()->Charts();
  auto* save = charts->findChild<QAction*>("SaveChartImage");
  auto* copy = charts->findChild<QAction*>("CopyChartImage");
  QVERIFY(save && copy);
  QCOMPARE(charts->contextMenuPolicy(), Qt::ActionsContextMenu);
  QVERIFY(charts->actions().contains(save) && charts->actions().contains(copy));

  QString proposed;
  QString answer;
  auto& chooser = CZavView::ImagePathChooser();
  const auto original = chooser;
  chooser = [&](QWidget*, const QString& p) {
    proposed = p;
    return answer;
  };
  // Without a case there is nothing to save: the dialog is not even asked.
  save->trigger();
  QVERIFY(proposed.isEmpty());

  OpenAmbulatory();
  View()->OnChartKind(4);
  QTemporaryDir out;
  answer = out.filePath("picture");  // no extension: saved as picture.png
  save->trigger();
  QCOMPARE(proposed, QString("a-correlation.png"));
  QImage written(out.filePath("picture.png"));
  QCOMPARE(written.size(), charts->size());
  QVERIFY(DrawnPixels(written.convertToFormat(QImage::Format_RGB32)) > 1000);

  // Cancelling writes nothing; an unwritable place is told, nothing else happens.
  answer.clear();
  save->trigger();
  answer = out.filePath("missing/folder/x.png");
  save->trigger();
  chooser = original;
  QCOMPARE(ui_->messages.sink.messages.size(), size_t(1));
  QVERIFY(ui_->messages.Saw("The chart could not be saved: " + answer.toStdString()));

  QGuiApplication::clipboard()->clear();
  copy->trigger();
  const QImage copied = QGuiApplication::clipboard()->image();
  QCOMPARE(copied.size(), charts->size());
  QCOMPARE(copied.convertToFormat(QImage::Format_RGB32),
           charts->renderImage().convertToFormat(QImage::Format_RGB32));
}

void ChartsViewTest::contextMenuTextsFollowTheLanguage() {
  QCOMPARE(ChartImageMenuTexts("English").save, QString("Save chart as PNG..."));
  QCOMPARE(ChartImageMenuTexts("German").copy, QString("Copy chart"));
  QCOMPARE(ChartImageMenuTexts("Chinese").save, QString::fromUtf8("将图表另存为 PNG..."));
  QCOMPARE(ChartImageMenuTexts("Chinese").copy, QString::fromUtf8("复制图表"));
  QCOMPARE(DefaultChartImageName("", 9), QString("chart-chart.png"));
  QCOMPARE(DefaultChartImageName("/x/y/case.v2.awp", 1), QString("case.v2-spo2.png"));

  auto* copy = View()->Charts()->findChild<QAction*>("CopyChartImage");
  QCOMPARE(copy->text(), QString("Copy chart"));
  ui_->home.StoreLanguage("Chinese");
  View()->Retext();
  QCOMPARE(copy->text(), QString::fromUtf8("复制图表"));
}

QTEST_MAIN(ChartsViewTest)
#include "test_ui_charts_view.moc"
