// The case browser, the copy dialog with its folder chooser and the delete dialog, on a small
// folder of generated case files.

#include <QtTest/QTest>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QDateEdit>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QTimeEdit>
#include <QtWidgets/QTreeWidget>

#include "UiTestSupport.h"
#include "cases/CaseLock.h"
#include "common/Globals.h"
#include "controls/DriveFolderLists.h"
#include "dialogs/CaseFileDialogs.h"
#include "dialogs/CaseListPanel.h"
#include "dialogs/OpenDataDialog.h"
#include "frame/CommandIds.h"
#include "frame/MainFrame.h"
#include "platform/FileUtil.h"
#include "platform/ProgramDir.h"
#include "view/ZavDoc.h"

using namespace vesk;
using namespace vesk::uitest;

namespace {

QStringList Column(QTreeWidget* list, int column) {
  QStringList out;
  for (int i = 0; i < list->topLevelItemCount(); ++i) out << list->topLevelItem(i)->text(column);
  return out;
}

void SelectRowsNamed(QTreeWidget* list, const QStringList& names) {
  list->clearSelection();
  for (int i = 0; i < list->topLevelItemCount(); ++i)
    if (names.contains(list->topLevelItem(i)->text(0))) list->topLevelItem(i)->setSelected(true);
}

// The case dialog that the next command opens shows the folder, selects the named row and is
// answered with OK.
template <typename CaseDialog>
void PickOnNextModal(const QString& folder, const QString& name) {
  OnNextModal([folder, name](QDialog* d) {
    auto* dialog = static_cast<CaseDialog*>(d);
    dialog->Panel()->Lists()->SetFolder(folder);
    SelectRowsNamed(dialog->Panel()->List(), {name});
    d->findChild<QPushButton*>("1")->click();
  });
}

}  // namespace

class BrowserTest : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void listsAndSearches();
  void okRefusesNothingSelectedAndLockedCases();
  void changesTheMeasuringTime();
  void openDataCommandOpensTheChosenCase();
  void copyReplacesFilesInTheChosenFolder();
  void deleteRefusesTheOpenCase();
  void deleteCommandRefusesTheCaseOnScreen();

 private:
  std::unique_ptr<WindowFixture> ui_;
  QString folder_;
};

void BrowserTest::init() {
  ui_ = std::make_unique<WindowFixture>();
  ui_->home.WriteCase("data/family/VESK/2024033009120001.awp", "Ann Lee", "A-1");
  ui_->home.WriteCase("data/family/VESK/2024033009120101.awp", "ann lee", "B-2");
  ui_->home.WriteCase("data/family/VESK/2024033009120201.awp", "Bob", "C-3");
  ui_->home.WriteCase("data/family/VESK/2024033009120301.awp", "Zed", "Z-9", true);
  folder_ = QString::fromStdString(ui_->home.Path("data/family/VESK"));
}

void BrowserTest::cleanup() {
  ui_.reset();
}

void BrowserTest::listsAndSearches() {
  COpenDataDialog dialog(*g_Config, g_Language);
  QCOMPARE(dialog.windowTitle(), QString("EN:IDS_SEL_OPENDATA"));
  // It opens on the user's folder below the data path, which holds folders only.
  QCOMPARE(dialog.Panel()->Folder().toStdString(), ui_->home.Path("data/family"));
  QCOMPARE(dialog.Panel()->List()->topLevelItemCount(), 0);
  QVERIFY(dialog.Panel()->Lists()->Folders()->findItems("VESK", Qt::MatchExactly).size() == 1);
  QVERIFY(CDriveFolderLists::DriveRoots().contains("/"));

  QVERIFY(dialog.Panel()->Lists()->SetFolder(folder_));
  QTreeWidget* list = dialog.Panel()->List();
  QCOMPARE(Column(list, 0), (QStringList{"Ann Lee", "ann lee", "Bob", "Zed"}));
  QCOMPARE(Column(list, 1), (QStringList{"A-1", "B-2", "C-3", "Z-9"}));
  QCOMPARE(list->topLevelItem(0)->text(2), QString("2024/03/30 09:12"));
  QCOMPARE(list->headerItem()->text(0), QString("EN:IDS_PATIENTS_NAMES"));

  // Name search: case-sensitive part of the name, anywhere in it.
  dialog.SearchText()->setText("nn L");
  dialog.OnSearch();
  QCOMPARE(Column(list, 0), QStringList{"Ann Lee"});
  dialog.SearchBy(1)->setChecked(true);
  dialog.SearchText()->setText("-");
  dialog.OnSearch();
  QCOMPARE(list->topLevelItemCount(), 4);
  // An empty text is refused and the list stays.
  dialog.SearchText()->setText("");
  dialog.SearchBy(0)->setChecked(true);
  dialog.OnSearch();
  QVERIFY(ui_->messages.Saw("EN:IDS_SEARCHNULL"));
  QCOMPARE(list->topLevelItemCount(), 4);
  dialog.SearchBy(2)->setChecked(true);
  dialog.SearchDate()->setDate(QDate(2024, 3, 31));
  dialog.OnSearch();
  QCOMPARE(list->topLevelItemCount(), 0);
  dialog.SearchDate()->setDate(QDate(2024, 3, 30));
  dialog.OnSearch();
  QCOMPARE(list->topLevelItemCount(), 4);
}

void BrowserTest::okRefusesNothingSelectedAndLockedCases() {
  COpenDataDialog dialog(*g_Config, g_Language);
  dialog.Panel()->Lists()->SetFolder(folder_);
  dialog.OnOk();
  QVERIFY(ui_->messages.Saw("EN:IDS_PLEASE_CHOSE"));
  SelectRowsNamed(dialog.Panel()->List(), {"Zed"});
  dialog.OnOk();
  QVERIFY(ui_->messages.Saw("EN:IDS_CANNOT_CHECK"));
  QVERIFY(dialog.result() != QDialog::Accepted);
  SelectRowsNamed(dialog.Panel()->List(), {"Bob"});
  dialog.OnOk();
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QCOMPARE(dialog.ChosenPath(), ui_->home.Path("data/family/VESK/2024033009120201.awp"));
}

void BrowserTest::changesTheMeasuringTime() {
  COpenDataDialog dialog(*g_Config, g_Language);
  dialog.Panel()->Lists()->SetFolder(folder_);
  dialog.OnUpdateTime();
  QVERIFY(ui_->messages.Saw("EN:IDS_PLEASE_CHOSE"));
  SelectRowsNamed(dialog.Panel()->List(), {"Bob"});
  dialog.MeasureDate()->setDate(QDate(2024, 5, 1));
  dialog.MeasureTime()->setTime(QTime(10, 30));
  dialog.OnUpdateTime();
  QTreeWidget* list = dialog.Panel()->List();
  QCOMPARE(list->findItems("Bob", Qt::MatchExactly).value(0)->text(2), QString("2024/05/01 10:30"));
  QCOMPARE(list->findItems("Zed", Qt::MatchExactly).value(0)->text(2), QString("2024/03/30 09:12"));

  // Another workstation edits the case: the change is refused and the file left as it is.
  const std::string path = ui_->home.Path("data/family/VESK/2024033009120201.awp");
  LockOwner other;
  other.host = "other-workstation";
  other.user = "nurse2";
  other.pid = 4242;
  other.since = static_cast<int64_t>(time(nullptr));
  QVERIFY(fsutil::WriteFileAtomic(CaseLock::LockPathFor(path), CaseLock::Format(other)));
  const std::string before = ui_->home.Read("data/family/VESK/2024033009120201.awp");
  SelectRowsNamed(list, {"Bob"});
  dialog.MeasureDate()->setDate(QDate(2024, 6, 2));
  dialog.OnUpdateTime();
  QVERIFY(ui_->messages.Saw("EN:IDS_CASE_LOCKED"));
  QCOMPARE(ui_->home.Read("data/family/VESK/2024033009120201.awp"), before);
  QCOMPARE(list->findItems("Bob", Qt::MatchExactly).value(0)->text(2), QString("2024/05/01 10:30"));
}

void BrowserTest::openDataCommandOpensTheChosenCase() {
  CZavDoc doc(*g_Config, g_Language);
  CMainFrame frame(nullptr, &doc);
  PickOnNextModal<COpenDataDialog>(folder_, "ann lee");
  QVERIFY(frame.ExecuteCommand(cmd::kOpenData));
  QCOMPARE(g_Config->caseState.caseOpen, 1);
  QVERIFY(frame.windowTitle().contains("EN:IDS_PATIENTS_NAMES:ann lee"));
  QVERIFY(frame.windowTitle().endsWith("EN:IDS_AGE:47"));
}

void BrowserTest::copyReplacesFilesInTheChosenFolder() {
  const std::string target = ui_->home.Path("usb-stick");
  fsutil::CreateFolders(target);
  fsutil::WriteFileAtomic(target + "/2024033009120001.awp", "old bytes");
  CCopyDialog dialog(*g_Config, g_Language);
  QCOMPARE(dialog.windowTitle(), QString("EN:IDS_NEED_COPY"));
  dialog.Panel()->Lists()->SetFolder(folder_);
  dialog.OnOk();
  QVERIFY(ui_->messages.Saw("EN:IDS_PLEASE_CHOSE"));
  SelectRowsNamed(dialog.Panel()->List(), {"Ann Lee", "Bob"});
  CCopyDialog::ChooseFolder = [](QWidget*, const QString&) { return QString(); };
  dialog.OnOk();  // chooser cancelled: nothing copied, dialog stays
  QVERIFY(dialog.result() != QDialog::Accepted);
  CCopyDialog::ChooseFolder = [](QWidget*, const QString&) {
    return QString::fromStdString(vesk::GetProgramDir() + "/usb-stick");
  };
  dialog.OnOk();
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QCOMPARE(ui_->home.Read("usb-stick/2024033009120001.awp"),
           ui_->home.Read("data/family/VESK/2024033009120001.awp"));
  QVERIFY(fsutil::FileExists(target + "/2024033009120201.awp"));
  QVERIFY(!fsutil::FileExists(target + "/2024033009120101.awp"));
}

void BrowserTest::deleteRefusesTheOpenCase() {
  const std::string open = ui_->home.Path("data/family/VESK/2024033009120001.awp");
  {
    // A path alone protects nothing: the case it names may have been closed since.
    const std::string closedCase = ui_->home.Path("data/family/VESK/2024033009120301.awp");
    CDeleteDialog closed(*g_Config, g_Language, closedCase);
    closed.Panel()->Lists()->SetFolder(folder_);
    SelectRowsNamed(closed.Panel()->List(), {"Zed"});
    ui_->messages.sink.answers = {MessageAnswer::Yes};
    closed.OnOk();
    QVERIFY(!fsutil::FileExists(closedCase));
    ui_->messages.sink.next = 0;
  }
  g_Config->caseState.caseOpen = 1;
  CDeleteDialog dialog(*g_Config, g_Language, open);
  dialog.Panel()->Lists()->SetFolder(folder_);
  SelectRowsNamed(dialog.Panel()->List(), {"Ann Lee", "Bob"});
  ui_->messages.sink.answers = {MessageAnswer::No, MessageAnswer::Yes};
  dialog.OnOk();
  QVERIFY(fsutil::FileExists(ui_->home.Path("data/family/VESK/2024033009120201.awp")));
  dialog.OnOk();
  QVERIFY(ui_->messages.Saw("EN:IDS_UNABLE_DEL"));
  QVERIFY(ui_->messages.Saw(open));
  QVERIFY(fsutil::FileExists(open));
  QVERIFY(!fsutil::FileExists(ui_->home.Path("data/family/VESK/2024033009120201.awp")));
  QCOMPARE(Column(dialog.Panel()->List(), 0), (QStringList{"Ann Lee", "ann lee"}));
}

// The case the browser opened is the one the delete command then refuses.
void BrowserTest::deleteCommandRefusesTheCaseOnScreen() {
  CZavDoc doc(*g_Config, g_Language);
  CMainFrame frame(nullptr, &doc);
  const std::string chosen = ui_->home.Path("data/family/VESK/2024033009120201.awp");
  PickOnNextModal<COpenDataDialog>(folder_, "Bob");
  QVERIFY(frame.ExecuteCommand(cmd::kOpenData));
  QCOMPARE(doc.currentCasePath, chosen);

  ui_->messages.sink.answers = {MessageAnswer::Yes};
  PickOnNextModal<CDeleteDialog>(folder_, "Bob");
  QVERIFY(frame.ExecuteCommand(cmd::kDeleteData));
  QVERIFY(ui_->messages.Saw("EN:IDS_UNABLE_DEL"));
  QVERIFY(fsutil::FileExists(chosen));
}

QTEST_MAIN(BrowserTest)
#include "test_ui_browser.moc"
