// Start-up and shutdown of the program on a fresh program folder: the language choice with its
// three fixed messages, Cnf.start, the user dialog at every start, and what exit leaves behind;
// and the system settings, which the application object holds.

#include <QtTest/QTest>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTabWidget>

#include "UiTestSupport.h"
#include "app/AppInfo.h"
#include "app/ZavApp.h"
#include "common/Globals.h"
#include "frame/CommandIds.h"
#include "frame/MainFrame.h"
#include "platform/CodePage.h"
#include "platform/FileUtil.h"

using namespace vesk;
using namespace vesk::uitest;

class StartupTest : public QObject {
  Q_OBJECT
 private slots:
  void startsShowsUserDialogAndExitsCleanly();
  void englishMissingEndsWithReinstallMessage();
  void otherLanguageMissingAnsweredNoEnds();
  void otherLanguageMissingAnsweredYesSwitchesToEnglish();
  void storedSystemSettingsAreTheOnesInForce();
};

void StartupTest::startsShowsUserDialogAndExitsCleanly() {
  TestHome home;
  SinkGuard messages;
  fsutil::CreateFolders(home.Path("res"));
  std::string icon;
  fsutil::ReadFile(std::string(VESK_SOURCE_DIR) + "/data/res/Logo.ico", icon);
  fsutil::WriteFileAtomic(home.Path("res/Logo.ico"), icon);

  CZavApp app;
  bool sawSettingsOnCasePath = false;
  // A new user typed with blanks around it: the settings dialog follows on its first tab.
  OnNextModal([&](QDialog* users) {
    QVERIFY(users->windowTitle() == "EN:IDS_INPUT_USERNAME");
    OnNextModal([&](QDialog* settings) {
      auto* tabs = settings->findChild<QTabWidget*>("1151");
      sawSettingsOnCasePath = tabs && tabs->currentIndex() == 0;
      settings->reject();
    });
    users->findChild<QComboBox*>("1083")->setEditText("  alice  ");
    users->findChild<QPushButton*>("1")->click();
  });
  QVERIFY(app.InitInstance());
  QVERIFY(sawSettingsOnCasePath);
  QCOMPARE(g_Config->currentConfigName, std::string("alice"));
  QVERIFY(!app.AppIcon().isNull());
  CMainFrame* frame = app.MainFrame();
  QVERIFY(frame && frame->isVisible());
  QCOMPARE(frame->windowTitle(), QString::fromStdString(g_AppTitle));
  QVERIFY(home.Read("Cnf.start").find("Language=English") != std::string::npos);
  QCOMPARE(frame->StatusPane(0)->text(), QString("EN:IDS_IDLEMESSAGE"));
  QCOMPARE(frame->StatusPane(3)->text(), QString("EN:IDS_INDICATOR_SCRL"));
  QCOMPARE(frame->StatusPane(1)->width() * 7, frame->StatusPane(0)->width());
  QVERIFY(messages.sink.messages.empty());

  // Running another program without a path tells so and leaves the window visible.
  QCOMPARE(app.RunOtherExe("", "one", "two"), 0);
  QVERIFY(messages.Saw("EN:IDS_PATH_NULL"));
  QVERIFY(frame->isVisible());
  QCOMPARE(app.RunOtherExe(home.Path("no-such-program"), "", ""), 0);
  QVERIFY(messages.Saw("EN:IDS_PATH_NOEXIST"));
  QVERIFY(frame->isVisible());

  fsutil::CreateFolders(home.Path("ZavStart/deeper/deepest"));
  fsutil::WriteFileAtomic(home.Path("ZavStart/deeper/deepest/page.dat"), "x");
  fsutil::WriteFileAtomic(home.Path("ZavStart/head.dat"), "x");
  app.ExitInstance();
  QVERIFY(!fsutil::FolderExists(home.Path("ZavStart")));
  QVERIFY(g_Config == nullptr);
  const std::string config = home.Read("MreConfig.ini");
  QVERIFY(config.find("Current Config=alice") != std::string::npos);
  QVERIFY(config.find("[Config alice]") != std::string::npos);
}

void StartupTest::englishMissingEndsWithReinstallMessage() {
  TestHome home(false, true);
  SinkGuard messages;
  CZavApp app;
  QVERIFY(!app.InitInstance());
  QVERIFY(app.MainFrame() == nullptr);
  QCOMPARE(messages.sink.messages.size(), size_t(1));
  QCOMPARE(messages.sink.messages[0].text,
           std::string("There has an error in reading \"English\" language "
                       "file.Please reinstall this application."));
  QVERIFY(messages.sink.messages[0].icon == MessageIcon::Error);
  app.ExitInstance();
}

void StartupTest::otherLanguageMissingAnsweredNoEnds() {
  TestHome home(true, false);
  home.StoreLanguage("Chinese");
  SinkGuard messages;
  messages.sink.answers = {MessageAnswer::No};
  CZavApp app;
  QVERIFY(!app.InitInstance());
  QVERIFY(app.MainFrame() == nullptr);
  QCOMPARE(messages.sink.messages.size(), size_t(1));
  QVERIFY(messages.sink.messages[0].buttons == MessageButtons::YesNo);
  QVERIFY(
      messages.Saw("\"Chinese\" language file.Whether to switch to the default(English) "
                   "language?"));
  app.ExitInstance();
}

void StartupTest::otherLanguageMissingAnsweredYesSwitchesToEnglish() {
  TestHome home(true, false);
  home.StoreLanguage("Chinese");
  SinkGuard messages;
  messages.sink.answers = {MessageAnswer::Yes};
  CZavApp app;
  OnNextModal([](QDialog* users) { users->reject(); });
  QVERIFY(app.InitInstance());
  QVERIFY(home.Read("MreConfig.ini").find("Language=English") != std::string::npos);
  QVERIFY(home.Read("Cnf.start").find("Language=English") != std::string::npos);
  // No icon file in this folder: the window still comes up.
  QVERIFY(app.AppIcon().isNull());
  QVERIFY(app.MainFrame()->isVisible());
  app.ExitInstance();
}

// The system settings dialog stores the file; the code page and the settings the transfers
// read change only because the application reads the file again.
void StartupTest::storedSystemSettingsAreTheOnesInForce() {
  TestHome home;
  SinkGuard messages;
  CZavApp app;
  OnNextModal([](QDialog* users) { users->reject(); });
  QVERIFY(app.InitInstance());
  QCOMPARE(codepage::AnsiCodePage(), std::string("GBK"));
  OnNextModal([](QDialog* dialog) {
    auto* box = dialog->findChild<QComboBox*>("CodePage");
    box->setCurrentIndex(box->findData(QString("CP1250")));
    dialog->findChild<QPushButton*>("1")->click();
  });
  QVERIFY(app.MainFrame()->ExecuteCommand(cmd::kSystemSettings));
  QCOMPARE(app.system.codePage, std::string("CP1250"));
  QCOMPARE(g_Config->system.codePage, std::string("CP1250"));
  QCOMPARE(codepage::AnsiCodePage(), std::string("CP1250"));
  app.ExitInstance();
  QVERIFY(codepage::SetAnsiCodePage("GBK"));
}

QTEST_MAIN(StartupTest)
#include "test_ui_startup.moc"
