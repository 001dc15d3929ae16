// The main window: the command table with its enabling rules, menu and toolbar, the view's
// controls per chart kind, the bound fields, the keyboard entry, help, and the language switch.

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QUrl>
#include <QtTest/QTest>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QToolBar>
#include <QtWidgets/QToolButton>
#include <map>

#include "UiTestSupport.h"
#include "app/AppInfo.h"
#include "common/Globals.h"
#include "controls/UpDown.h"
#include "frame/CommandIds.h"
#include "frame/CommandTable.h"
#include "frame/MainFrame.h"
#include "view/ZavDoc.h"
#include "view/ZavView.h"

using namespace vesk;
using namespace vesk::uitest;

namespace {

// Every command with the rule it must follow.
const std::map<int, EnableRule> kExpectedRules = {
    {32901, EnableRule::Always},      {32771, EnableRule::Always},   {32772, EnableRule::Always},
    {32807, EnableRule::CaseOpen},    {32806, EnableRule::Always},   {32784, EnableRule::Always},
    {32779, EnableRule::Always},      {32778, EnableRule::Always},   {32812, EnableRule::Always},
    {32801, EnableRule::Always},      {32908, EnableRule::CaseOpen}, {32774, EnableRule::Always},
    {57606, EnableRule::Always},      {32909, EnableRule::CaseOpen}, {32904, EnableRule::CaseOpen},
    {32775, EnableRule::CaseOpen},    {32800, EnableRule::CaseOpen}, {32776, EnableRule::Always},
    {32777, EnableRule::Always},      {32810, EnableRule::Always},   {32780, EnableRule::Always},
    {32781, EnableRule::Always},      {57664, EnableRule::Always},   {32903, EnableRule::CaseOpen},
    {32902, EnableRule::CaseHasSpO2}, {32905, EnableRule::CaseOpen}, {32906, EnableRule::CaseOpen},
    {32907, EnableRule::CaseOpen},    {32910, EnableRule::CaseOpen}, {32773, EnableRule::CaseOpen},
    {57607, EnableRule::Always},      {57608, EnableRule::Always},   {57609, EnableRule::Always},
    {57600, EnableRule::Always},      {57601, EnableRule::Always}};

QStringList VisibleTexts(CMainFrame& frame) {
  QStringList texts;
  for (QAction* top : frame.menuBar()->actions()) {
    texts << top->text();
    if (QMenu* menu = top->menu())
      for (QAction* a : menu->actions())
        if (!a->isSeparator()) texts << a->text();
  }
  for (QToolButton* b : frame.ToolButtons()) texts << b->text();
  for (int i = 0; i < 4; ++i) texts << frame.StatusPane(i)->text();
  for (QAbstractButton* b : frame.View()->findChildren<QAbstractButton*>())
    if (!b->text().isEmpty() && b->text().size() > 2) texts << b->text();
  for (QLabel* l : frame.View()->findChildren<QLabel*>()) texts << l->text();
  return texts;
}

}  // namespace

class CommandsTest : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void tableHoldsEveryCommandWithItsRule();
  void menuAndToolbarFollowTheirLayouts();
  void enablingFollowsTheCaseState();
  void openingACaseSetsTitleFlagsAndControls();
  void failedLoadKeepsThePreviousState();
  void controlsFollowTheChartKind();
  void boundFieldsHoldTheirPairs();
  void keyboardShowsTheVersion();
  void helpOpensTheLanguagesGuide();
  void languageSwitchLeavesNoPreviousText();

 private:
  std::unique_ptr<WindowFixture> ui_;
};

void CommandsTest::init() {
  ui_ = std::make_unique<WindowFixture>(WithFrame{});
}

void CommandsTest::cleanup() {
  ui_.reset();
}

void CommandsTest::tableHoldsEveryCommandWithItsRule() {
  QCOMPARE(CommandTable().size(), kExpectedRules.size());
  for (const auto& [id, rule] : kExpectedRules) {
    const CommandEntry* e = FindCommand(id);
    QVERIFY2(e, qPrintable(QString::number(id)));
    QVERIFY2(e->rule == rule, qPrintable(QString::number(id)));
  }
  QVERIFY(FindCommand(12345) == nullptr);
  QVERIFY(FindCommand(cmd::kAbout)->receiver == Receiver::Application);
  QVERIFY(FindCommand(cmd::kCopyData)->receiver == Receiver::Document);
  QVERIFY(FindCommand(cmd::kOpenData)->receiver == Receiver::View);
}

void CommandsTest::menuAndToolbarFollowTheirLayouts() {
  const QList<QAction*> top = ui_->frame->menuBar()->actions();
  QCOMPARE(top.size(), 8);
  QVERIFY(top[2]->menu() == nullptr && top[2]->text() == "EN:IDS_UPLOAD");
  QVERIFY(top[5]->menu() == nullptr && top[5]->text() == "EN:IDS_LANGUAGE");
  QCOMPARE(top[7]->text(), QString("EN:IDS_HELPS"));
  QStringList fileItems;
  for (QAction* a : top[0]->menu()->actions())
    fileItems << (a->isSeparator() ? "-" : a->objectName());
  QCOMPARE(fileItems.join(","), QString("32901,32771,32772,32807,-,32806,-,32784,-,32779"));
  QCOMPARE(ui_->frame->MenuAction(cmd::kStandardValues)->text(),
           QString("EN:IDS_STANDARD_VALUES_Menu"));
  QCOMPARE(ui_->frame->MenuAction(cmd::kAbout)->text(), QString("EN:IDS_ABOULT"));
  QVERIFY(ui_->frame->MenuAction(cmd::kFilePreview) == nullptr);  // not in the menu layout

  const QList<QToolButton*>& buttons = ui_->frame->ToolButtons();
  QCOMPARE(buttons.size(), 15);
  QCOMPARE(ui_->frame->ToolBar()->actions().size(), 15);
  const int order[] = {32780, 32801, 32812, 32901, 32903, 32902, 32904, 32905,
                       32906, 32907, 32908, 32909, 32910, 32781, 32779};
  for (int i = 0; i < 15; ++i) {
    QCOMPARE(buttons[i]->defaultAction()->data().toInt(), order[i]);
    QCOMPARE(buttons[i]->size(), QSize(55, 55));
    QCOMPARE(buttons[i]->iconSize(), QSize(32, 32));
    QVERIFY(!buttons[i]->icon().isNull());
  }
  QCOMPARE(buttons[3]->text(), QString("EN:IDS_OPEN_DATA"));
  QCOMPARE(buttons[14]->text(), QString("EN:IDS_EXIT"));
}

void CommandsTest::enablingFollowsTheCaseState() {
  const int caseCommands[] = {32807, 32903, 32904, 32905, 32906, 32907,
                              32908, 32909, 32910, 32775, 32800};
  ui_->frame->UpdateCommandUI();
  for (int id : caseCommands) {
    QAction* a =
        ui_->frame->MenuAction(id) ? ui_->frame->MenuAction(id) : ui_->frame->ToolAction(id);
    QVERIFY2(a && !a->isEnabled(), qPrintable(QString::number(id)));
  }
  QVERIFY(!IsCommandEnabled(cmd::kFilePreview, CurrentCaseFlags()));
  QVERIFY(!ui_->frame->ToolAction(cmd::kSpO2Trend)->isEnabled());
  QVERIFY(ui_->frame->MenuAction(cmd::kOpenData)->isEnabled());
  QVERIFY(!ui_->frame->ExecuteCommand(cmd::kBpTrend));

  g_Config->caseState.caseOpen = 1;
  ui_->frame->UpdateCommandUI();
  for (int id : caseCommands) {
    QAction* a =
        ui_->frame->MenuAction(id) ? ui_->frame->MenuAction(id) : ui_->frame->ToolAction(id);
    QVERIFY2(a->isEnabled(), qPrintable(QString::number(id)));
  }
  QVERIFY(!ui_->frame->ToolAction(cmd::kSpO2Trend)->isEnabled());
  g_Config->caseState.caseHasSpO2 = 1;
  ui_->frame->UpdateCommandUI();
  QVERIFY(ui_->frame->ToolAction(cmd::kSpO2Trend)->isEnabled());
}

void CommandsTest::openingACaseSetsTitleFlagsAndControls() {
  const std::string path = ui_->home.WriteCase(
      "data/family/VESK/20240330091200"
      "01.awp",
      "Ann Lee", "A-7");
  CZavView* view = ui_->View();
  QCOMPARE(view->OpenCase(path), 1);
  QVERIFY(ui_->messages.sink.messages.empty());
  QCOMPARE(g_Config->caseState.caseOpen, 1);
  QCOMPARE(g_Config->caseState.caseHasSpO2, 0);
  QCOMPARE(ui_->frame->windowTitle(),
           QString::fromStdString(g_AppTitle) +
               "     EN:IDS_PATIENTS_NAMES:Ann Lee      EN:IDS_PATIENTS_ID:A-7      EN:IDS_AGE:47");
  QVERIFY(ui_->frame->ToolAction(cmd::kBpTrend)->isEnabled());
  QVERIFY(!ui_->frame->ToolAction(cmd::kSpO2Trend)->isEnabled());
  QCOMPARE(view->ChartKind(), 0);
  QVERIFY(view->findChild<QWidget*>("1212")->isVisible());

  QCOMPARE(FormatCaseTitle("T", "N", "n", "I", "i", "A", 0),
           std::string("T     N:n      I:i      A:--"));
  QCOMPARE(FormatCaseTitle("T", "N", "n", "I", "i", "A", -3),
           std::string("T     N:n      I:i      A:--"));
}

void CommandsTest::failedLoadKeepsThePreviousState() {
  const std::string bad = ui_->home.Path("data/broken.awp");
  std::string junk = "not a case file at all";
  QFile f(QString::fromStdString(bad));
  QDir().mkpath(QString::fromStdString(ui_->home.Path("data")));
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(junk.data(), qint64(junk.size()));
  f.close();
  QVERIFY(ui_->View()->OpenCase(bad) != 1);
  QVERIFY(ui_->messages.Saw("EN:IDS_CASE_FILE"));
  QCOMPARE(g_Config->caseState.caseOpen, 0);
  QCOMPARE(ui_->frame->windowTitle(), QString::fromStdString(g_AppTitle));

  const std::string locked = ui_->home.WriteCase("data/locked.awp", "L", "1", true);
  QCOMPARE(ui_->View()->OpenCase(locked), 4);
  QVERIFY(ui_->messages.Saw("EN:IDS_CANNOT_CHECK"));
  QCOMPARE(g_Config->caseState.caseOpen, 0);
}

void CommandsTest::controlsFollowTheChartKind() {
  CZavView* view = ui_->View();
  view->OnChartKind(3);  // no case: nothing happens
  QCOMPARE(view->ChartKind(), 0);
  QVERIFY(!view->findChild<QWidget*>("1013")->isVisible());

  ui_->OpenCase("data/a.awp", "A", "1");
  auto visible = [view](const char* id) { return view->findChild<QWidget*>(id)->isVisible(); };
  QVERIFY(visible("1212") && !visible("1213") && visible("2001") && visible("2008"));
  QVERIFY(!visible("1001") && !visible("1013") && !visible("1019") && !visible("1004"));
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kPieChart));
  QCOMPARE(view->ChartKind(), 3);
  QVERIFY(visible("1013") && visible("1024") && visible("1007") && visible("1006") &&
          visible("1001") && visible("1003"));
  QVERIFY(!visible("1212") && !visible("2001"));
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kBarGraph));
  QVERIFY(visible("1002") && !visible("1013") && !visible("2003"));
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kCorrelation));
  QVERIFY(!visible("1001") && !visible("1013") && !visible("1212") && !visible("2001"));
  QVERIFY(!ui_->frame->ExecuteCommand(cmd::kSpO2Trend));  // no SpO2 in this case
}

void CommandsTest::boundFieldsHoldTheirPairs() {
  CZavView* view = ui_->View();
  ui_->OpenCase("data/a.awp", "A", "1");
  // While the trend chart is shown a bound edit changes nothing.
  view->Spin(1)->SetPos(120);
  QCOMPARE(view->Range(0, 1), 100);

  ui_->frame->ExecuteCommand(cmd::kPieChart);
  auto* band = view->findChild<QLabel*>("1004");
  QCOMPARE(band->text(), QString("100-140 mmHg"));
  // A systolic lower bound above the upper bound lifts the upper bound to it.
  view->Spin(1)->Buddy()->setText("150");
  QCOMPARE(view->Spin(0)->Pos(), 150);
  QCOMPARE(view->Spin(1)->Pos(), 150);
  QCOMPARE(band->text(), QString("150-150 mmHg"));
  QCOMPARE(view->Range(0, 0), 150);
  // An upper bound pulled below the lower one is held at it.
  view->Spin(2)->SetPos(50);
  QCOMPARE(view->Spin(2)->Pos(), 60);
  QCOMPARE(view->findChild<QLabel*>("1005")->text(), QString("60-60 mmHg"));
  // Bounds go to the selected period.
  view->findChild<QRadioButton*>("1003")->click();
  QCOMPARE(view->SelectedPeriod(), 2);
  view->Spin(5)->SetPos(50);
  QCOMPARE(view->Range(2, 5), 50);
  QCOMPARE(view->Range(0, 5), 60);
  QCOMPARE(view->findChild<QLabel*>("1006")->text(), QString("50-100 EN:IDS_HEART_RATE"));

  // Opening data, here through the frame's private message, puts the fields back to their
  // starting values.
  bool browserShown = false;
  OnNextModal([&](QDialog* browser) {
    browserShown = browser->windowTitle() == "EN:IDS_SEL_OPENDATA";
    browser->reject();
  });
  QEvent message(QEvent::Type(cmd::kOpenDataMessage));
  QCoreApplication::sendEvent(ui_->frame.get(), &message);
  QVERIFY(browserShown);
  QCOMPARE(view->Spin(0)->Pos(), 140);
  QCOMPARE(band->text(), QString("100-140 mmHg"));
}

void CommandsTest::keyboardShowsTheVersion() {
  CZavView* view = ui_->View();
  QTest::keyClicks(view, "xy ve");
  QCOMPARE(view->TypedCharacters(), QString("xyve"));
  QTest::keyClick(view, Qt::Key_Return);
  QVERIFY(ui_->messages.sink.messages.empty());
  QTest::keyClicks(view, "vesk");
  QTest::keyClick(view, Qt::Key_Return);
  QVERIFY(ui_->messages.Saw(g_Version));
  QCOMPARE(view->TypedCharacters(), QString());
  QTest::keyClicks(view, "0123456789abc");
  QCOMPARE(view->TypedCharacters(), QString("56789abc").prepend("4"));
  QTest::keyClick(view, Qt::Key_Return);
  QCOMPARE(ui_->messages.sink.messages.size(), size_t(1));
  QTest::keyClicks(view, "VESK");
  QTest::keyClick(view, Qt::Key_Return);
  QCOMPARE(ui_->messages.sink.messages.size(), size_t(1));  // the name is lower case
}

void CommandsTest::helpOpensTheLanguagesGuide() {
  QUrl opened;
  auto saved = CZavView::UrlOpener();
  CZavView::UrlOpener() = [&](const QUrl& url) {
    opened = url;
    return true;
  };
  // Without a guide the command says where it belongs and opens nothing.
  ui_->home.StoreLanguage("Chinese");
  ui_->frame->ExecuteCommand(cmd::kHelp);
  QVERIFY(opened.isEmpty());
  QVERIFY(ui_->messages.Saw("EN:IDS_HELP_MISSING\n" + ui_->home.Path("Help/English.html")));

  QVERIFY(QDir().mkpath(QString::fromStdString(ui_->home.Path("Help"))));
  auto write = [&](const char* name) {
    QFile file(QString::fromStdString(ui_->home.Path(std::string("Help/") + name)));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<html></html>");
  };
  write("English.html");
  // A Chinese guide that is not there falls back to the English one.
  ui_->frame->ExecuteCommand(cmd::kHelp);
  QCOMPARE(opened.toLocalFile(), QString::fromStdString(ui_->home.Path("Help/English.html")));
  write("Chinese.html");
  ui_->frame->ExecuteCommand(cmd::kHelp);
  QCOMPARE(opened.toLocalFile(), QString::fromStdString(ui_->home.Path("Help/Chinese.html")));
  ui_->home.StoreLanguage("chinese");  // only the exact name is Chinese
  ui_->frame->ExecuteCommand(cmd::kHelp);
  QVERIFY(opened.toLocalFile().endsWith("/Help/English.html"));
  CZavView::UrlOpener() = saved;
}

void CommandsTest::languageSwitchLeavesNoPreviousText() {
  QVERIFY(VisibleTexts(*ui_->frame).filter("EN:").size() > 40);
  OnNextModal([](QDialog* dialog) {
    QCOMPARE(dialog->windowTitle(), QString("EN:IDS_SET_LANGUAGE"));
    auto* list = dialog->findChild<QComboBox*>("1054");
    QCOMPARE(list->currentText(), QString("English"));
    list->setCurrentIndex(list->findText("Chinese"));
    dialog->findChild<QPushButton*>("1")->click();
  });
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kLanguage));
  const QStringList texts = VisibleTexts(*ui_->frame);
  QVERIFY2(texts.filter("EN:").isEmpty(), qPrintable(texts.filter("EN:").join("|")));
  QVERIFY(texts.filter(QString::fromUtf8(kChinesePrefix)).size() > 40);
  QCOMPARE(ui_->frame->StatusPane(0)->text(),
           QString::fromUtf8(kChinesePrefix) + "IDS_IDLEMESSAGE");
  QVERIFY(ui_->home.Read("Cnf.start").find("Language=Chinese") != std::string::npos);
  QVERIFY(ui_->home.Read("MreConfig.ini").find("Language=Chinese") != std::string::npos);
}

QTEST_MAIN(CommandsTest)
#include "test_ui_commands.moc"
