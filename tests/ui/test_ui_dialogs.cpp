// The settings dialogs: users, the settings sheet with its three tabs, standard values, report
// sets and their editor, the system settings, and the About box.

#include <QtTest/QTest>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QTabWidget>
#include <filesystem>

#include "UiTestSupport.h"
#include "common/Globals.h"
#include "controls/DriveFolderLists.h"
#include "controls/UpDown.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/CasePathPage.h"
#include "dialogs/ReportPage.h"
#include "dialogs/SetEditor.h"
#include "dialogs/SettingsDialog.h"
#include "dialogs/StandardValuesPage.h"
#include "dialogs/SystemSetDialog.h"
#include "dialogs/UserDialog.h"
#include "platform/FileUtil.h"
#include "platform/ProgramDir.h"
#include "settings/ConfigKeys.h"
#include "settings/SystemSettings.h"

using namespace vesk;
using namespace vesk::uitest;

namespace {

// What the next set editor is filled with before its OK is pressed.
std::function<void(CSetEditor&)> g_fillEditor;
int FillAndOk(CSetEditor& editor) {
  if (g_fillEditor) g_fillEditor(editor);
  editor.OnOk();
  return editor.result();
}

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void userDialogTrimsAndRefusesBlanks();
  void userDialogDeleteRules();
  void userDialogDeleteAll();
  void settingsDialogOpensOnItsTab();
  void casePathPageDefaultAndChosenFolder();
  void standardValuesHoldPairsApart();
  void reportSetAddDuplicateAndDelete();
  void reportSetThatCannotBeWrittenIsTold();
  void setEditorLimitsAndEnabling();
  void systemSettingsNeedAPathForATickedBox();
  void aboutShowsSerialAndEdition();

 private:
  // Two stored users, and a report-set file of the one named.
  void UsersAnnaAndCarl(const std::string& withReportFile) {
    g_Config->SelectConfig("anna");
    g_Config->SelectConfig("carl");
    g_Config->Save();
    fsutil::WriteFileAtomic(ui_->home.Path("Report_" + withReportFile + ".ini"),
                            "[INFO]\r\ncount=0\r\n");
  }
  std::unique_ptr<WindowFixture> ui_;
};

void DialogsTest::init() {
  ui_ = std::make_unique<WindowFixture>();
}

void DialogsTest::cleanup() {
  ui_.reset();
  CReportPage::RunEditor = [](CSetEditor& e) { return e.exec(); };
}

void DialogsTest::userDialogTrimsAndRefusesBlanks() {
  g_Config->SelectConfig("bob");
  CUserDialog dialog(*g_Config);
  QCOMPARE(dialog.windowTitle(), QString("EN:IDS_INPUT_USERNAME"));
  dialog.Users()->setEditText("    ");
  dialog.OnOk();
  QVERIFY(ui_->messages.Saw("EN:IDS_WRITE_NAME"));
  QVERIFY(dialog.result() != QDialog::Accepted);

  // An existing user typed with blanks around it is chosen without them.
  dialog.Users()->setEditText("  bob ");
  dialog.OnOk();
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QCOMPARE(g_Config->currentConfigName, std::string("bob"));
}

void DialogsTest::userDialogDeleteRules() {
  UsersAnnaAndCarl("anna");
  CUserDialog dialog(*g_Config);
  QCOMPARE(dialog.Users()->count(), 2);
  dialog.Users()->setEditText("");
  dialog.OnDelete();
  QVERIFY(ui_->messages.Saw("EN:IDS_APPOINT_NAME"));
  dialog.Users()->setEditText("nobody");
  dialog.OnDelete();
  QVERIFY(ui_->messages.Saw("EN:IDS_UNABLE_DEL"));
  dialog.Users()->setEditText("Anna");  // names are told apart by letter case
  dialog.OnDelete();
  QCOMPARE(ui_->messages.sink.messages.size(), size_t(3));

  ui_->messages.sink.answers = {MessageAnswer::No, MessageAnswer::Yes};
  dialog.Users()->setEditText("anna");
  dialog.OnDelete();
  QCOMPARE(ui_->messages.sink.messages.back().text, std::string("EN:IDS_DELETE_USERanna?"));
  QCOMPARE(dialog.Users()->count(), 2);
  dialog.Users()->setCurrentIndex(dialog.Users()->findText("anna"));
  dialog.OnDelete();
  QCOMPARE(dialog.Users()->count(), 1);
  QCOMPARE(g_Config->configNames, std::vector<std::string>{"carl"});
  QVERIFY(!fsutil::FileExists(ui_->home.Path("Report_anna.ini")));
}

void DialogsTest::userDialogDeleteAll() {
  UsersAnnaAndCarl("carl");
  CUserDialog dialog(*g_Config);
  ui_->messages.sink.answers = {MessageAnswer::No};
  dialog.OnDeleteAll();
  QCOMPARE(dialog.Users()->count(), 2);
  QVERIFY(fsutil::FileExists(ui_->home.Path("MreConfig.ini")));

  ui_->messages.sink.answers = {MessageAnswer::Yes};
  ui_->messages.sink.next = 0;
  dialog.OnDeleteAll();
  QVERIFY(ui_->messages.Saw("EN:IDS_DEL_ALLUSER"));
  QCOMPARE(dialog.Users()->count(), 0);
  QVERIFY(g_Config->configNames.empty());
  QVERIFY(!fsutil::FileExists(ui_->home.Path("Report_carl.ini")));
  QVERIFY(!fsutil::FileExists(ui_->home.Path("MreConfig.ini")));
  // The configuration is written again at exit.
  QCOMPARE(g_Config->Save(), 1);
  QVERIFY(fsutil::FileExists(ui_->home.Path("MreConfig.ini")));
}

void DialogsTest::settingsDialogOpensOnItsTab() {
  for (int page = 0; page < 3; ++page) {
    CSettingsDialog dialog(*g_Config, page);
    QCOMPARE(dialog.windowTitle(), QString("EN:IDS_SET_CONFIGURATION"));
    QCOMPARE(dialog.Tabs()->count(), 3);
    QCOMPARE(dialog.Tabs()->currentIndex(), page);
    QCOMPARE(dialog.Tabs()->tabText(0), QString("EN:IDS_CASE_PATH"));
    QCOMPARE(dialog.Tabs()->tabText(1), QString("EN:IDS_REPORT"));
    QCOMPARE(dialog.Tabs()->tabText(2), QString("EN:IDS_STANDARD_VALUES"));
    QCOMPARE(dialog.findChild<QPushButton*>("1063")->text(), QString("EN:IDS_MAKE_SURE"));
    QCOMPARE(dialog.findChild<QPushButton*>("1064")->text(), QString("EN:IDS_CANCEL"));
  }
  // Cancel keeps what was there.
  CSettingsDialog dialog(*g_Config, 2);
  dialog.StandardValuesPage()->Enter(CStandardValuesPage::DayLoad, 77);
  dialog.reject();
  QCOMPARE(g_Config->settings.dayBPLoad, 40);
  CSettingsDialog accepted(*g_Config, 2);
  accepted.StandardValuesPage()->Enter(CStandardValuesPage::DayLoad, 77);
  accepted.OnOk();
  QCOMPARE(g_Config->settings.dayBPLoad, 77);
}

void DialogsTest::casePathPageDefaultAndChosenFolder() {
  const std::string other = ui_->home.Path("elsewhere/cases");
  fsutil::CreateFolders(other);
  CCasePathPage page(*g_Config);
  QVERIFY(page.UseDefault()->isChecked());
  QVERIFY(!page.Lists()->Folders()->isEnabled());
  QCOMPARE(page.Lists()->PathLabel()->text(), QString::fromStdString(ProgramPath("\\data")));
  page.UseDefault()->setChecked(false);
  QVERIFY(page.Lists()->Folders()->isEnabled());
  QVERIFY(page.Lists()->SetFolder(QString::fromStdString(other)));
  page.Apply();
  QCOMPARE(g_Config->settings.useDefaultPath, 0);
  QCOMPARE(g_Config->settings.patientFilePath, other);

  // A stored folder that is gone shows its nearest existing parent; nothing is lost.
  g_Config->settings.patientFilePath = other + "/gone/too";
  CCasePathPage again(*g_Config);
  QCOMPARE(again.Lists()->Folder().toStdString(), other);
  again.UseDefault()->setChecked(true);
  again.Apply();
  QCOMPARE(g_Config->settings.useDefaultPath, 1);
  QCOMPARE(g_Config->settings.patientFilePath, ProgramPath("\\data"));
}

void DialogsTest::standardValuesHoldPairsApart() {
  using P = CStandardValuesPage;
  P page(*g_Config);
  QCOMPARE(page.Values(), kDefaultThresholds);
  QCOMPARE(page.Spin(P::AwakeSys)->objectName(), QString("1029"));
  page.Enter(P::AwakeSys, 80);  // not above diastolic 85
  QCOMPARE(page.Values().awakeSys, 86);
  page.Enter(P::AwakeSys, 400);
  QCOMPARE(page.Values().awakeSys, 280);
  page.Enter(P::AwakeDia, 300);  // not below systolic 280
  QCOMPARE(page.Values().awakeDia, 279);
  page.Enter(P::AsleepDia, 20);
  QCOMPARE(page.Values().asleepDia, 40);
  page.Enter(P::AsleepSys, 10);  // partner 40: systolic becomes 41
  QCOMPARE(page.Values().asleepSys, 41);
  page.Enter(P::LowCR, 20);  // not below high 20
  QCOMPARE(page.Values().lowCR, 19);
  page.Enter(P::HighCR, 5);  // not above low 19
  QCOMPARE(page.Values().highCR, 20);
  page.Enter(P::NightLoad, 150);
  QCOMPARE(page.Values().nightBPLoad, 100);
  // The arrows obey the same ranges.
  page.Spin(P::DayLoad)->SetPos(-5);
  QCOMPARE(page.Values().dayBPLoad, 0);
  page.findChild<QPushButton*>("1071")->click();
  QCOMPARE(page.Values(), kDefaultThresholds);
  page.Enter(P::AsleepSys, 150);
  page.Apply();
  QCOMPARE(g_Config->settings.asleepSysThresh, 150);
}

// A report file that cannot be replaced (here a folder stands in its way) must not let a new
// or edited set look saved.
void DialogsTest::reportSetThatCannotBeWrittenIsTold() {
  CReportPage::RunEditor = FillAndOk;
  CReportPage page(*g_Config);
  QVERIFY(std::filesystem::create_directories(ui_->home.Path("blocked.ini")));
  g_Config->reportFile = ui_->home.Path("blocked.ini");
  g_fillEditor = [](CSetEditor& e) { e.Page()->NameField()->setText("Lost"); };
  page.OnAdd();
  QVERIFY(ui_->messages.Saw("EN:IDS_SAVE_FAULT"));

  const size_t before = ui_->messages.sink.messages.size();
  page.Sets()->setCurrentText("Lost");
  page.OnEdit();
  QCOMPARE(ui_->messages.sink.messages.size(), before + 1);
  QCOMPARE(ui_->messages.sink.messages.back().text, std::string("EN:IDS_SAVE_FAULT"));
}

void DialogsTest::reportSetAddDuplicateAndDelete() {
  CReportPage::RunEditor = FillAndOk;
  CReportPage page(*g_Config);
  QCOMPARE(page.Sets()->count(), 0);

  g_fillEditor = [](CSetEditor& e) { e.Page()->NameField()->setText("   "); };
  page.OnAdd();
  QVERIFY(ui_->messages.Saw("EN:IDS_SPECIFY_FILE"));
  QCOMPARE(ui_->messages.sink.messages.back().title, std::string("EN:IDS_REPOET_PAGE"));

  g_fillEditor = [](CSetEditor& e) {
    e.Page()->NameField()->setText("Short");
    e.Page()->TitleField()->setText("Short report");
    e.Page()->PageBox(1)->setChecked(true);
  };
  page.OnAdd();
  g_fillEditor = [](CSetEditor& e) { e.Page()->NameField()->setText("Long"); };
  page.OnAdd();
  QCOMPARE(page.Sets()->count(), 2);
  QCOMPARE(g_Config->reportNames, (std::vector<std::string>{"Short", "Long"}));
  const ReportSettings stored = g_Config->ReadReportSet("Short", 1);
  QCOMPARE(stored.title, std::string("Short report"));
  QCOMPARE(stored.pages[1], 1);
  QCOMPARE(stored.pages[0], 1);

  const size_t before = ui_->messages.sink.messages.size();
  g_fillEditor = [](CSetEditor& e) { e.Page()->NameField()->setText("Short"); };
  page.OnAdd();
  QCOMPARE(ui_->messages.sink.messages.size(), before + 1);
  QVERIFY(ui_->messages.Saw("EN:IDS_DUPLICATE_FORMAT"));
  QCOMPARE(g_Config->reportNames.size(), size_t(2));

  // Delete: a No keeps the set; a Yes removes it and selects the first set.
  page.Sets()->setCurrentIndex(0);
  ui_->messages.sink.answers = {MessageAnswer::No, MessageAnswer::Yes};
  ui_->messages.sink.next = 0;
  page.OnDelete();
  QCOMPARE(page.Sets()->count(), 2);
  page.OnDelete();
  QCOMPARE(page.Sets()->count(), 1);
  QCOMPARE(page.Sets()->currentText(), QString("Long"));
  QVERIFY(ui_->home.Read("Report_family.ini").find("RP1=Long") != std::string::npos);

  page.Apply();
  QCOMPARE(g_Config->currentReportName, std::string("Long"));
  page.Sets()->clear();
  page.OnDelete();
  QVERIFY(ui_->messages.Saw("EN:IDS_NAME_EMPTY"));
}

void DialogsTest::setEditorLimitsAndEnabling() {
  CSetEditor editor(*g_Config, std::string(), DefaultReportSettings());
  CEditPrintPage* page = editor.Page();
  QCOMPARE(editor.windowTitle(), QString("EN:IDS_ADD_REPORT"));
  page->NameField()->setText(QString(45, 'n'));
  QCOMPARE(page->NameField()->text().size(), 30);
  page->TitleField()->setText(QString(90, 't'));
  QCOMPARE(page->TitleField()->text().size(), 60);
  const int ticked[] = {0, 4, 5, 6, 10};
  for (int i = 0; i < 12; ++i) {
    const bool expected = std::find(std::begin(ticked), std::end(ticked), i) != std::end(ticked);
    QCOMPARE(page->PageBox(i)->isChecked(), expected);
    QCOMPARE(page->PageBox(i)->objectName(), QString::number(1201 + i));
  }
  QVERIFY(page->IndexBox(0)->isEnabled());
  page->PageBox(0)->setChecked(false);
  QVERIFY(!page->IndexBox(0)->isEnabled() && !page->IndexBox(2)->isEnabled());
  page->PageBox(0)->setChecked(true);

  // The morning surge asks for the times of the configuration's case state; cancelling leaves
  // the box clear.
  static CaseState* asked = nullptr;
  CEditPrintPage::ConfirmSurgeTimes = [](CaseState& times, QWidget*) {
    asked = &times;
    return false;
  };
  page->IndexBox(2)->click();
  QVERIFY(!page->IndexBox(2)->isChecked());
  QCOMPARE(asked, &g_Config->caseState);
  CEditPrintPage::ConfirmSurgeTimes = [](CaseState&, QWidget*) { return true; };
  page->IndexBox(2)->click();
  QVERIFY(page->IndexBox(2)->isChecked());

  QVERIFY(!page->Spo2Variant(0)->isEnabled());
  QCOMPARE(page->Values().spo2Page, -1);
  page->Spo2Box()->setChecked(true);
  QVERIFY(page->Spo2Variant(2)->isEnabled());
  page->Spo2Variant(2)->setChecked(true);
  const ReportSettings v = page->Values();
  QCOMPARE(v.spo2Page, 3);
  QCOMPARE(v.morningSurge, 1);
  QCOMPARE(page->Spo2Variant(1)->text(), QString("EN:IDS_RATION_REPORT"));

  // Editing an existing set keeps its name.
  CSetEditor existing(*g_Config, "Kept", v);
  QVERIFY(existing.Page()->NameField()->isReadOnly());
  QVERIFY(existing.Page()->Spo2Variant(2)->isChecked());
}

void DialogsTest::systemSettingsNeedAPathForATickedBox() {
  std::vector<std::string> told;
  CSystemSetDialog dialog(SystemSettings{}, [&](const std::string& ini) { told.push_back(ini); });
  QCOMPARE(dialog.windowTitle(), QString("EN:IDD_DLG_SYSTEMSET"));
  QVERIFY(!dialog.OtherExe()->isEnabled());
  QVERIFY(!dialog.findChild<QPushButton*>("1136")->isEnabled());
  dialog.UseOtherExe()->setChecked(true);
  QVERIFY(dialog.OtherExe()->isEnabled());
  QVERIFY(dialog.findChild<QPushButton*>("1136")->isEnabled());
  dialog.show();
  dialog.OnOk();
  QVERIFY(dialog.result() != QDialog::Accepted);
  QVERIFY(dialog.isVisible());
  QVERIFY(told.empty());

  CSystemSetDialog::ChooseProgram = [](QWidget*, const QString&) {
    return QString("/opt/info/patient-info");
  };
  dialog.findChild<QPushButton*>("1136")->click();
  QCOMPARE(dialog.OtherExe()->text(), QString("/opt/info/patient-info"));
  dialog.OnOk();
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  const SystemSettings stored = LoadSystemSettings(ProgramPath("\\MreConfig.ini"));
  QCOMPARE(stored.useOtherExe, 1);
  QCOMPARE(stored.otherExe, std::string("/opt/info/patient-info"));
  QCOMPARE(stored.useOtherExePdf, 0);
  // The owner of the settings in force is told where they were stored, once.
  QCOMPARE(told, std::vector<std::string>{ProgramPath("\\MreConfig.ini")});
}

void DialogsTest::aboutShowsSerialAndEdition() {
  CAboutDialog about;
  QCOMPARE(about.windowTitle(), QString("EN:IDS_ABOULT_BMP"));
  QCOMPARE(about.findChild<QLabel*>("1127")->text(), QString("SN:V5.3.0-0000-S(F)"));
  QCOMPARE(about.findChild<QLabel*>("1197")->text(), QString("EN:IDS_EDITION V5.3.0"));
  QCOMPARE(about.findChild<QPushButton*>("1")->text(), QString("EN:IDS_MAKE_SURE"));
}

QTEST_MAIN(DialogsTest)
#include "test_ui_dialogs.moc"
