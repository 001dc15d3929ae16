// The data table and the reading editor in the real windows: the command opens the table
// over the open case, exclusion, views, the editor's checks and fixed texts, the popup
// commands, confirm (saved with history, analysed again), cancel (nothing written), saves
// that fail because the file became read-only or disappeared, and files changed elsewhere.

#include <sys/stat.h>
#include <unistd.h>
#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtGui/QAction>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QDateEdit>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenu>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QTableView>
#include <QtWidgets/QTableWidget>
#include <QtWidgets/QTimeEdit>

#include <cstdio>
#include <ctime>
#include <fstream>

#include "UiTestSupport.h"
#include "cases/CaseDocument.h"
#include "cases/CaseLock.h"
#include "cases/Filemanage.h"
#include "common/Globals.h"
#include "dialogs/table/DataTableDialog.h"
#include "dialogs/table/ReadingEditDialog.h"
#include "frame/CommandIds.h"
#include "frame/MainFrame.h"
#include "platform/FileUtil.h"
#include "view/CaseSession.h"
#include "view/ZavDoc.h"
#include "view/ZavView.h"

using namespace vesk;
using namespace vesk::uitest;

namespace {

std::string ReadAll(const std::string& path) {
  std::string s;
  fsutil::ReadFile(path, s);
  return s;
}

QString Cell(DataTableDialog* d, int row, int column) {
  return d->Grid()->model()->index(row, column).data().toString();
}

QString Heading0(DataTableDialog* d) {
  return d->Grid()->model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString();
}

}  // namespace

class TableTest : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void commandOpensTheTableAndCancelWritesNothing();
  void exclusionViewsAndTheSummary();
  void confirmSavesWithHistoryAndAnalysesAgain();
  void editorChecksAndFixedTexts();
  void popupEditAddDelete();
  void commentInPlaceAndNewStartTime();
  void readOnlyOrDeletedFileKeepsTheTableOpen();
  void fileChangedElsewhereIsNeverSavedOver();
  void damagedHistoryIsShownAndNotOverwritten();
  void caseLockedElsewhereOpensForViewingOnly();
  void staleLockIsTakenOverOnlyWhenConfirmed();
  void screenshots();

 private:
  CZavView* View() { return ui_->View(); }
  std::string Open() { return ui_->OpenCase("data/a.awp", "A", "1"); }
  // Runs the edit-data command with `act` on the table it opens.
  void WithTable(std::function<void(DataTableDialog*)> act) {
    bool ran = false;
    OnNextModal([&](QDialog* d) {
      auto* table = qobject_cast<DataTableDialog*>(d);
      if (!table) qFatal("the command opened another dialog");
      ran = true;
      act(table);
    });
    QVERIFY(ui_->frame->ExecuteCommand(cmd::kEditData));
    QVERIFY(ran);
  }

  std::unique_ptr<WindowFixture> ui_;
};

void TableTest::init() {
  ui_ = std::make_unique<WindowFixture>(WithFrame{{1200, 800}});
}

void TableTest::cleanup() {
  ui_.reset();
}

void TableTest::commandOpensTheTableAndCancelWritesNothing() {
  const std::string path = Open();
  const std::string before = ReadAll(path);
  const size_t count = View()->Session().Document().AllReadings().size();
  WithTable([&](DataTableDialog* d) {
    QCOMPARE(d->windowTitle(), QString("EN:IDS_EDIT_PREDATA"));
    for (const char* id : {"1216", "1004", "1005", "1136", "1049", "1036", "1037", "1038", "1035",
                           "1039", "1054", "2"})
      QVERIFY2(d->findChild<QWidget*>(id), id);
    QCOMPARE(d->Grid()->model()->rowCount(), int(count));
    QCOMPARE(d->Grid()->model()->columnCount(), 11);
    QCOMPARE(d->Grid()->model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
             QString("EN:IDS_HEADING_NUM"));
    QCOMPARE(Cell(d, 0, 1), QString("1"));
    QVERIFY(Heading0(d).startsWith("*="));
    // Changes, then cancel.
    d->OnCellClicked(0, 0);
    QCOMPARE(Cell(d, 0, 0), QString("*"));
    Child<QPushButton>(d, "2")->click();
  });
  QCOMPARE(ReadAll(path), before);
  QCOMPARE(View()->Session().Document().AllReadings()[0].included, 1);
  // Confirm without a change writes nothing either.
  WithTable([&](DataTableDialog* d) { Child<QPushButton>(d, "1054")->click(); });
  QCOMPARE(ReadAll(path), before);
  QVERIFY(ui_->messages.sink.messages.empty());
}

void TableTest::exclusionViewsAndTheSummary() {
  Open();
  WithTable([&](DataTableDialog* d) {
    const int rows = d->Grid()->model()->rowCount();
    ReadingTable& t = d->Table();
    const int excludedAtStart = t.ExcludedCount();
    d->OnCellClicked(2, 0);
    QCOMPARE(Cell(d, 2, 0), QString("*"));
    QCOMPARE(t.ExcludedCount(), excludedAtStart + 1);
    QCOMPARE(Heading0(d).toStdString(), t.Heading());
    // Without show-excluded the excluded rows go.
    auto* show = Child<QCheckBox>(d, "1039");
    QVERIFY(show->isChecked());
    show->click();
    QCOMPARE(d->Grid()->model()->rowCount(), rows - t.ExcludedCount());
    show->click();
    QCOMPARE(d->Grid()->model()->rowCount(), rows);

    auto* interval = Child<QComboBox>(d, "1035");
    QVERIFY(!interval->isEnabled());
    Child<QRadioButton>(d, "1038")->click();
    QVERIFY(interval->isEnabled());
    QVERIFY(!show->isEnabled());
    QVERIFY(!show->isChecked());
    QVERIFY(Heading0(d).endsWith("(0.0%)"));
    QVERIFY(Heading0(d).startsWith("*=0/"));
    const int hourly = d->Grid()->model()->rowCount();
    interval->setCurrentText("120");
    QVERIFY(d->Grid()->model()->rowCount() < hourly);
    QCOMPARE(Cell(d, 0, 0), QString());
    // Averaged rows cannot be excluded, and the popup offers no editing.
    d->OnCellClicked(0, 0);
    QCOMPARE(Cell(d, 0, 0), QString());
    d->SelectRow(0);
    d->OnDelete();
    QVERIFY(ui_->messages.sink.messages.empty());

    Child<QRadioButton>(d, "1037")->click();
    QVERIFY(!interval->isEnabled());
    QVERIFY(show->isEnabled());
    QVERIFY(d->Grid()->model()->rowCount() < rows);
    Child<QRadioButton>(d, "1036")->click();
    QCOMPARE(d->Grid()->model()->rowCount(), rows - t.ExcludedCount());
  });
}

void TableTest::confirmSavesWithHistoryAndAnalysesAgain() {
  const std::string path = Open();
  const int analysed = View()->Session().Analysis().statistics.analysedCount;
  WithTable([&](DataTableDialog* d) {
    d->OnCellClicked(0, 0);
    d->Grid()->model()->setData(d->Grid()->model()->index(1, 10), "cuff moved", Qt::EditRole);
    Child<QPushButton>(d, "1054")->click();
    QVERIFY(!d->isVisible());
  });
  QVERIFY(ui_->messages.sink.messages.empty());
  QCOMPARE(View()->Session().Analysis().statistics.analysedCount, analysed - 1);
  std::vector<EditEntry> history;
  QCOMPARE(CFilemanage::LoadEditHistory(path, history), int32_t(CaseFileResult::Ok));
  QCOMPARE(history.size(), size_t(2));
  QVERIFY(history[0].kind == EditKind::Excluded);
  QVERIFY(history[1].kind == EditKind::Comment);
  QCOMPARE(history[1].newValue, std::string("cuff moved"));
  QCOMPARE(history[0].user, g_Config->currentConfigName);

  // The edit survives a reopen, and the table shows the history of the selected reading.
  QCOMPARE(View()->OpenCase(path), 1);
  QCOMPARE(View()->Session().Document().AllReadings()[0].included, 0);
  QCOMPARE(View()->Session().Document().AllReadings()[1].comment, std::string("cuff moved"));
  WithTable([&](DataTableDialog* d) {
    QCOMPARE(Cell(d, 0, 0), QString("*"));
    d->SelectRow(1);
    QCOMPARE(d->History()->rowCount(), 1);
    QCOMPARE(d->History()->item(0, 2)->text(), QString("EN:IDS_HIST_COMMENT"));
    QCOMPARE(d->History()->item(0, 4)->text(), QString("cuff moved"));
    d->SelectRow(2);
    QCOMPARE(d->History()->rowCount(), 0);
  });
}

void TableTest::editorChecksAndFixedTexts() {
  ReadingInput v;
  v.sys = 120, v.dia = 80, v.map = 120, v.pr = 70;
  v.year = 2024, v.month = 3, v.day = 30, v.hour = 8, v.minute = 5;
  {
    ReadingEditDialog editor(ReadingEditDialog::kEdit, v, "3+", g_Language, true);
    QCOMPARE(editor.windowTitle(), QString("编辑血压数据"));
    QCOMPARE(Child<QLabel>(&editor, "number")->text(), QString("3+"));
    editor.show();
    editor.OnOk();
    QVERIFY(ui_->messages.Saw("收缩压值不应小于平均压值，请重新填写。"));
    QVERIFY(editor.isVisible());
    QCOMPARE(editor.result(), 0);
    editor.Map()->setValue(80);
    editor.OnOk();
    QVERIFY(ui_->messages.Saw("平均压值不应小于舒张压值，请重新填写。"));
    QVERIFY(editor.isVisible());
    editor.Map()->setValue(95);
    editor.OnOk();
    QCOMPARE(editor.result(), int(QDialog::Accepted));
    QCOMPARE(editor.Values().map, 95);
  }
  ReadingEditDialog add(ReadingEditDialog::kAdd, v, "4", g_Language, false);
  QCOMPARE(add.windowTitle(), QString("Add Blood Pressure Reading"));
  QCOMPARE(Child<QLabel>(&add, "number")->text(), QString("4 Add"));
  add.OnOk();
  QVERIFY(ui_->messages.Saw(FixedTextOf(FixedText::MapNotBelowSys, false)));

  // Delete without a selection, in English and in Chinese.
  Open();
  WithTable([&](DataTableDialog* d) {
    d->Grid()->clearSelection();
    d->OnDelete();
  });
  QVERIFY(ui_->messages.Saw("Please select a row first."));
  ui_->home.StoreLanguage("Chinese");
  g_Language.SetLanguage("Chinese");
  QVERIFY(g_Language.Load());
  WithTable([&](DataTableDialog* d) {
    QCOMPARE(d->windowTitle(), QString("中:IDS_EDIT_PREDATA"));
    d->Grid()->clearSelection();
    d->OnEdit();
  });
  QVERIFY(ui_->messages.Saw("请首先选中一行。"));
}

void TableTest::popupEditAddDelete() {
  const std::string path = Open();
  const size_t count = View()->Session().Document().AllReadings().size();
  WithTable([&](DataTableDialog* d) {
    QMenu* menu = d->PopupMenu();
    QCOMPARE(menu->actions().size(), 3);
    QCOMPARE(menu->actions()[0]->objectName(), QString("32811"));
    const QString timeOfRow1 = Cell(d, 1, 2);
    d->SelectRow(0);
    OnNextModal([](QDialog* e) {
      auto* editor = qobject_cast<ReadingEditDialog*>(e);
      QCOMPARE(editor->windowTitle(), QString("Edit Blood Pressure Reading"));
      editor->Sys()->setValue(300);
      editor->Dia()->setValue(0);
      editor->Map()->setValue(150);
      editor->OnOk();
    });
    d->OnEdit();
    QCOMPARE(Cell(d, 0, 4), QString("300/---"));
    QCOMPARE(Cell(d, 0, 7), QString("---"));
    QCOMPARE(Cell(d, 0, 0), QString("*"));  // DIA 0 is not a valid reading

    d->SelectRow(0);
    OnNextModal([](QDialog* e) {
      auto* editor = qobject_cast<ReadingEditDialog*>(e);
      QCOMPARE(editor->windowTitle(), QString("Add Blood Pressure Reading"));
      QVERIFY(editor->findChild<QLabel*>("number")->text().endsWith(" Add"));
      editor->Sys()->setValue(128);
      editor->Dia()->setValue(84);
      editor->Map()->setValue(99);
      editor->OnOk();
    });
    d->OnAdd();
    QCOMPARE(d->Grid()->model()->rowCount(), int(count) + 1);
    QCOMPARE(d->SelectedRow(), 1);
    QCOMPARE(Cell(d, 1, 4), QString("128/84"));
    QCOMPARE(Cell(d, 2, 2), timeOfRow1);

    d->SelectRow(1);
    d->OnDelete();
    QCOMPARE(d->Grid()->model()->rowCount(), int(count));
    Child<QPushButton>(d, "1054")->click();
  });
  std::vector<EditEntry> history;
  QCOMPARE(CFilemanage::LoadEditHistory(path, history), int32_t(CaseFileResult::Ok));
  // The added and deleted reading nets out; the edit and its exclusion remain.
  QCOMPARE(history.size(), size_t(2));
  QVERIFY(history[0].kind == EditKind::Values);
  QVERIFY(history[1].kind == EditKind::Excluded);
  QCOMPARE(View()->Session().Document().AllReadings()[0].sys, 300);
}

void TableTest::commentInPlaceAndNewStartTime() {
  const std::string path = Open();
  WithTable([&](DataTableDialog* d) {
    d->show();
    // A click on column 10 opens the comment for editing; confirm takes the open edit along.
    d->OnCellClicked(2, 10);
    auto* editor = qobject_cast<QLineEdit*>(d->Grid()->indexWidget(d->Grid()->currentIndex()));
    if (!editor) editor = d->Grid()->viewport()->findChild<QLineEdit*>();
    QVERIFY(editor);
    editor->setText("coughing");
    // Columns other than 0 and 10 neither exclude nor edit.
    d->OnCellClicked(3, 4);
    QCOMPARE(Cell(d, 3, 0), QString());

    auto* date = Child<QDateEdit>(d, "1004");
    auto* time = Child<QTimeEdit>(d, "1005");
    QCOMPARE(Cell(d, 0, 2), time->time().toString("HH:mm"));
    date->setDate(QDate(2025, 1, 31));
    time->setTime(QTime(23, 50));
    Child<QPushButton>(d, "1136")->click();
    QCOMPARE(Cell(d, 0, 2), QString("23:50"));
    QCOMPARE(Cell(d, 0, 3), QString("31-01-2025"));
    Child<QPushButton>(d, "1054")->click();
    QVERIFY(!d->isVisible());
  });
  const auto& readings = View()->Session().Document().AllReadings();
  QCOMPARE(readings[0].year, 2025);
  QCOMPARE(readings[2].comment, std::string("coughing"));
  std::vector<EditEntry> history;
  QCOMPARE(CFilemanage::LoadEditHistory(path, history), int32_t(CaseFileResult::Ok));
  QCOMPARE(history.size(), size_t(2));
  QVERIFY(history[0].kind == EditKind::StartMoved);
  QCOMPARE(history[0].newValue, std::string("2025-01-31 23:50"));
  QVERIFY(history[1].kind == EditKind::Comment);
}

void TableTest::readOnlyOrDeletedFileKeepsTheTableOpen() {
  const std::string path = Open();
  const std::string before = ReadAll(path);
  WithTable([&](DataTableDialog* d) {
    d->OnCellClicked(0, 0);
    QCOMPARE(::chmod(path.c_str(), 0444), 0);
    Child<QPushButton>(d, "1054")->click();
    QVERIFY(d->isVisible());
    QVERIFY(ui_->messages.Saw("EN:IDS_SAVE_CASE_FAILED\nEN:IDS_CASE_READONLY\n" + path));
    QCOMPARE(ReadAll(path), before);
    QCOMPARE(View()->Session().Document().AllReadings()[0].included, 1);

    QCOMPARE(::chmod(path.c_str(), 0644), 0);
    QCOMPARE(std::remove(path.c_str()), 0);
    Child<QPushButton>(d, "1054")->click();
    QVERIFY(d->isVisible());
    QVERIFY(ui_->messages.Saw("EN:IDS_SAVE_CASE_FAILED\nEN:IDS_CASE_MISSING\n" + path));
    QVERIFY(!fsutil::FileExists(path));

    // A file put back in its place is not the one the table was opened on, whatever it
    // holds: the table closes and the case opens as the file is now.
    std::ofstream(path, std::ios::binary) << before;
    Child<QPushButton>(d, "1054")->click();
    QVERIFY(!d->isVisible());
  });
  QVERIFY(ui_->messages.Saw("EN:IDS_CASE_CHANGED\n" + path));
  QCOMPARE(View()->Session().Document().AllReadings()[0].included, 1);
  QCOMPARE(ReadAll(path), before);
}

void TableTest::fileChangedElsewhereIsNeverSavedOver() {
  const std::string path = Open();
  // What a program that takes no lock (vesk-cli, an older version) writes meanwhile.
  auto writeElsewhere = [&](const std::string& comment) {
    auto lib = CFilemanage::CreateFor(path);
    QCOMPARE(lib->LoadBPData(), ToInt(CaseFileResult::Ok));
    lib->FileInfo().readings[1].comment = comment;
    QCOMPARE(lib->SaveBPData(), ToInt(CaseFileResult::Ok));
  };
  const auto stored = [&] {
    auto lib = CFilemanage::CreateFor(path);
    if (lib->LoadBPData() != ToInt(CaseFileResult::Ok)) qFatal("case unreadable");
    return lib->FileInfo().readings;
  };

  // Changed before the table opens: the table starts from the file as it is and saves.
  writeElsewhere("before the table");
  WithTable([&](DataTableDialog* d) {
    QCOMPARE(View()->Session().Document().AllReadings()[1].comment,
             std::string("before the table"));
    d->OnCellClicked(0, 0);
    Child<QPushButton>(d, "1054")->click();
    QVERIFY(!d->isVisible());
  });
  QVERIFY(!ui_->messages.Saw("EN:IDS_CASE_CHANGED"));
  QCOMPARE(stored()[0].included, 0);
  QCOMPARE(stored()[1].comment, std::string("before the table"));

  // Changed while the table is open: nothing is written, the user is told, and the case on
  // screen is the file's.
  WithTable([&](DataTableDialog* d) {
    d->OnCellClicked(0, 0);
    writeElsewhere("while the table was open");
    Child<QPushButton>(d, "1054")->click();
    QVERIFY(!d->isVisible());
  });
  QVERIFY(ui_->messages.Saw("EN:IDS_CASE_CHANGED\n" + path));
  QCOMPARE(stored()[0].included, 0);
  QCOMPARE(stored()[1].comment, std::string("while the table was open"));
  const CaseDocument& doc = View()->Session().Document();
  QCOMPARE(doc.AllReadings()[0].included, 0);
  QCOMPARE(doc.AllReadings()[1].comment, std::string("while the table was open"));
  QVERIFY(!QFile::exists(QString::fromStdString(CaseLock::LockPathFor(path))));
}

void TableTest::damagedHistoryIsShownAndNotOverwritten() {
  const std::string path = ui_->home.WriteCase("data/a.awp", "A", "1");
  // A history whose count promises more entries than the file holds (a cut file).
  std::string bytes = ReadAll(path) + "[EDIT HISTORY]\r\nEntries=3\r\nE0=x,y,1,0,,,\r\n";
  QVERIFY(fsutil::WriteFileAtomic(path, bytes));
  QCOMPARE(View()->OpenCase(path), 1);
  WithTable([&](DataTableDialog* d) {
    QVERIFY(Child<QLabel>(d, "historyLabel")->text().contains("EN:IDS_HISTORY_DAMAGED"));
    d->OnCellClicked(0, 0);
    Child<QPushButton>(d, "1054")->click();
    QVERIFY(d->isVisible());
  });
  QVERIFY(ui_->messages.Saw("EN:IDS_SAVE_CASE_FAILED\nEN:IDS_HISTORY_DAMAGED"));
  QCOMPARE(ReadAll(path), bytes);
  QCOMPARE(View()->Session().Document().AllReadings()[0].included, 1);
}

// With VESK_SHOTS set to a folder: the table with the shipped English and Chinese texts.
void TableTest::caseLockedElsewhereOpensForViewingOnly() {
  const std::string path = Open();
  const std::string lockPath = CaseLock::LockPathFor(path);
  LockOwner other;
  other.host = "other-workstation";
  other.user = "nurse2";
  other.pid = 4242;
  other.since = static_cast<int64_t>(time(nullptr));
  const std::string lockText = CaseLock::Format(other);
  QVERIFY(fsutil::WriteFileAtomic(lockPath, lockText));
  WithTable([](DataTableDialog* d) {
    QVERIFY(!d->findChild<QPushButton*>("1054")->isEnabled());
    d->reject();
  });
  QVERIFY(ui_->messages.Saw("EN:IDS_CASE_LOCKED"));
  QVERIFY(ui_->messages.Saw("nurse2@other-workstation"));
  // The other workstation's lock is left as it was.
  QCOMPARE(ReadAll(lockPath), lockText);
}

void TableTest::staleLockIsTakenOverOnlyWhenConfirmed() {
  const std::string path = Open();
  const std::string lockPath = CaseLock::LockPathFor(path);
  LockOwner ended = CaseLock::Me();
  ended.pid = 0x3ffffe;  // above any pid in use here: the process has ended
  ended.started = 1;
  QVERIFY(fsutil::WriteFileAtomic(lockPath, CaseLock::Format(ended)));

  ui_->messages.sink.answers = {MessageAnswer::No};
  WithTable([](DataTableDialog* d) {
    QVERIFY(!d->findChild<QPushButton*>("1054")->isEnabled());
    d->reject();
  });
  QVERIFY(ui_->messages.Saw("EN:IDS_CASE_LOCK_STALE"));
  QVERIFY(QFile::exists(QString::fromStdString(lockPath)));

  ui_->messages.sink.answers.push_back(MessageAnswer::Yes);
  WithTable([&](DataTableDialog* d) {
    QVERIFY(d->findChild<QPushButton*>("1054")->isEnabled());
    LockOwner holder;
    QVERIFY(CaseLock::Parse(ReadAll(lockPath), holder));
    QCOMPARE(holder.pid, long(getpid()));
    d->reject();
  });
  // Released with the table.
  QVERIFY(!QFile::exists(QString::fromStdString(lockPath)));
}

void TableTest::screenshots() {
  const QByteArray folder = qgetenv("VESK_SHOTS");
  if (folder.isEmpty()) QSKIP("VESK_SHOTS not set");
  QDir().mkpath(QString::fromUtf8(folder));
  for (const char* language : {"English", "Chinese"}) {
    QVERIFY(ui_->home.UseShippedLanguage(language));
    const std::string path = Open();
    // One reading excluded, a comment, and a saved history to show.
    WithTable([&](DataTableDialog* d) {
      d->OnCellClicked(3, 0);
      d->Grid()->model()->setData(d->Grid()->model()->index(3, 10), "moved arm", Qt::EditRole);
      Child<QPushButton>(d, "1054")->click();
    });
    QCOMPARE(View()->OpenCase(path), 1);
    WithTable([&](DataTableDialog* d) {
      d->SelectRow(3);
      SaveShot(d, QString::fromUtf8(folder) + "/table-" + language + ".png");
      Child<QRadioButton>(d, "1038")->click();
      SaveShot(d, QString::fromUtf8(folder) + "/table-averages-" + language + ".png");
      OnNextModal([&](QDialog* e) {
        e->grab().save(QString::fromUtf8(folder) + "/editor-" + language + ".png");
      });
      Child<QRadioButton>(d, "1036")->click();
      d->SelectRow(3);
      d->OnEdit();
    });
  }
}

QTEST_MAIN(TableTest)
#include "test_ui_table.moc"
