// The export command: the export dialog, the questions on the window's thread, the worker
// behind the progress window, UTF-8 beside the narrow code page.

#include <QtTest/QSignalSpy>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QProgressBar>
#include <QtWidgets/QPushButton>

#include "UiTestSupport.h"
#include "cases/CaseDocument.h"
#include "common/Globals.h"
#include "common/Texts.h"
#include "common/UiMessages.h"
#include "dialogs/PrintSetup.h"
#include "dialogs/SystemSetDialog.h"
#include "dialogs/export/ExportDialog.h"
#include "dialogs/export/TaskProgressDialog.h"
#include "frame/CommandIds.h"
#include "frame/MainFrame.h"
#include "platform/CodePage.h"
#include "platform/FileUtil.h"
#include "platform/ProgramDir.h"
#include "settings/SystemSettings.h"
#include "view/CaseSession.h"
#include "view/ReportCommands.h"
#include "view/ZavDoc.h"
#include "view/ZavView.h"

using namespace vesk;
using namespace vesk::uitest;

namespace {

const std::string kPolish = "\xC5\x81ucja W\xC3\xB3jcik-\xC5\xBB\xC3\xB3\xC5\x82\xC4\x87";
const std::string kArabic = "\xD9\x85\xD8\xAD\xD9\x85\xD8\xAF \xD8\xB9\xD9\x84\xD9\x8A";
const std::string kChinese = "\xE5\xBC\xA0\xE4\xBC\x9F";

// Fills the export dialog and confirms it.
void Answer(const std::string& path, int format, int encoding, bool* sawDialog = nullptr) {
  OnNextModal([=](QDialog* dialog) {
    auto* d = qobject_cast<CExportDialog*>(dialog);
    if (!d) return;
    if (sawDialog) *sawDialog = true;
    d->PathField()->setText(Qs(path));
    d->FormatBox()->setCurrentIndex(format);
    d->EncodingBox()->setCurrentIndex(encoding);
    d->findChild<QPushButton*>("1")->click();
  });
}

}  // namespace

class ExportTest : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void utf8ExportKeepsEveryNameByteForByte();
  void narrowExportAsksBeforeLosingCharacters();
  void questionsAndMessagesStayOnTheWindowThread();
  void cancelledDialogWritesNothing();
  void dialogKeepsAnEmptyNameOpenAndProposesTheCaseName();
  void progressWindowFollowsTheStatusAndClosesAtTheEnd();
  void codePageIsASystemSetting();
  void screenshotsWhenAskedFor();

 private:
  ReportCommands& Commands() { return ReportCommands::Of(ui_->View()); }
  std::vector<_BP_RECORD>& Readings() { return ui_->View()->Session().Document().AllReadings(); }
  std::unique_ptr<WindowFixture> ui_;
};

void ExportTest::init() {
  ui_ = std::make_unique<WindowFixture>(WithFrame{});
  ui_->OpenCase("data/ann.awp", "Ann", "A-1");
  QVERIFY(Readings().size() >= 3);
  Readings()[0].comment = kPolish;
  Readings()[1].comment = kArabic;
  Readings()[2].comment = kChinese;
}

void ExportTest::cleanup() {
  ui_.reset();
}

void ExportTest::utf8ExportKeepsEveryNameByteForByte() {
  Answer(ui_->home.Path("out"), 1, 1);
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kExport));
  const std::string bytes = ui_->home.Read("out.csv");
  QVERIFY(bytes.rfind(kUtf8Bom, 0) == 0);
  std::string expected = std::string(kUtf8Bom) + ExportHeading(g_Language);
  for (const _BP_RECORD& r : Readings()) expected += ExportLine(r);
  QCOMPARE(bytes, expected);
  for (const std::string& name : {kPolish, kArabic, kChinese})
    QVERIFY(bytes.find("," + name + "\r\n") != std::string::npos);
  QCOMPARE(ui_->messages.sink.messages.size(), size_t(1));
  QCOMPARE(ui_->messages.sink.messages[0].text,
           g_Language.GetText("Global Setting", "IDS_SAVEFILESUCCESS"));
  QCOMPARE(int(Commands().ExportStatus().state.load()), int(TaskState::Finished));
  QCOMPARE(Commands().ExportStatus().progress.load(), 100);
}

void ExportTest::narrowExportAsksBeforeLosingCharacters() {
  ui_->messages.sink.answers = {MessageAnswer::Cancel};
  Answer(ui_->home.Path("narrow"), 0, 0);
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kExport));
  QVERIFY(!QFile::exists(Qs(ui_->home.Path("narrow.txt"))));
  QCOMPARE(ui_->messages.sink.messages.size(), size_t(1));
  QVERIFY(ui_->messages.sink.messages[0].text.find(
              g_Language.GetText("Global Setting", "IDS_EXPORT_LOSSY")) == 0);
  QVERIFY(ui_->messages.sink.messages[0].text.find("GBK: \xC5\x81") != std::string::npos);

  // Told and confirmed: the narrow file is written, the Chinese name in GBK bytes.
  ui_->messages.sink.messages.clear();
  Answer(ui_->home.Path("narrow"), 0, 0);
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kExport));
  const std::string bytes = ui_->home.Read("narrow.txt");
  QVERIFY(bytes.find(codepage::ToAnsi(kChinese)) != std::string::npos);
  QVERIFY(bytes.find("?ucja") != std::string::npos);
  QCOMPARE(ui_->messages.sink.messages.back().text,
           g_Language.GetText("Global Setting", "IDS_SAVEFILESUCCESS"));
}

void ExportTest::questionsAndMessagesStayOnTheWindowThread() {
  QVERIFY(fsutil::WriteFileAtomic(ui_->home.Path("x.csv"), "old"));
  ui_->messages.sink.answers = {MessageAnswer::Ok};  // replace it
  Answer(ui_->home.Path("x"), 1, 1);
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kExport));
  QCOMPARE(ui_->messages.sink.messages.size(), size_t(2));
  QCOMPARE(
      ui_->messages.sink.messages[0].text,
      ui_->home.Path("x.csv") + "\r\n" + g_Language.GetText("Global Setting", "IDS_FINDFILEEXIST"));
  QVERIFY(ui_->messages.sink.onWindowThread);
  QVERIFY(ui_->home.Read("x.csv") != "old");

  // A file that cannot be made is told after the worker ended, on this thread too.
  ui_->messages.sink.messages.clear();
  Answer(ui_->home.Path("no/such/folder/x"), 1, 1);
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kExport));
  QCOMPARE(ui_->messages.sink.messages.size(), size_t(1));
  QCOMPARE(ui_->messages.sink.messages[0].text,
           g_Language.GetText("Global Setting", "IDS_AWPTOFILEERROR"));
  QVERIFY(ui_->messages.sink.onWindowThread);
}

void ExportTest::cancelledDialogWritesNothing() {
  OnNextModal([](QDialog* dialog) { dialog->reject(); });
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kExport));
  QVERIFY(ui_->messages.sink.messages.empty());
  QCOMPARE(int(Commands().ExportStatus().state.load()), int(TaskState::Cancelled));
  QCOMPARE(QDir(Qs(ui_->home.Path(""))).entryList({"*.txt", "*.csv"}).size(), 0);
}

void ExportTest::dialogKeepsAnEmptyNameOpenAndProposesTheCaseName() {
  QString proposed;
  bool stayedOpen = false;
  OnNextModal([&](QDialog* dialog) {
    auto* d = qobject_cast<CExportDialog*>(dialog);
    QVERIFY(d);
    proposed = d->PathField()->text();
    d->PathField()->clear();
    d->OnOk();
    stayedOpen = d->isVisible();
    // The browse button takes the chooser's name and the type its extension names.
    CExportDialog::SaveFileChooser() = [](QWidget*, const QString&, const QString& filter) {
      return filter.contains("csv") ? QString("/tmp/chosen.csv") : QString();
    };
    d->findChild<QPushButton*>("ExportBrowse")->click();
    QCOMPARE(d->PathField()->text(), QString("/tmp/chosen.csv"));
    QCOMPARE(d->FormatBox()->currentIndex(), 1);
    d->reject();
  });
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kExport));
  QCOMPARE(proposed, Qs(ui_->home.Path("data/ann")));
  QVERIFY(stayedOpen);
}

void ExportTest::progressWindowFollowsTheStatusAndClosesAtTheEnd() {
  TaskStatus status;
  status.Reset("Exporting");
  status.progress.store(40);
  CTaskProgressDialog dialog(ui_->frame.get(), status);
  dialog.show();
  QCOMPARE(dialog.MessageLabel()->text(), QString("Exporting"));
  QCOMPARE(dialog.Bar()->value(), 40);
  dialog.reject();  // the worker cannot be stopped halfway: Escape does not close it
  QVERIFY(dialog.isVisible());
  status.progress.store(100);
  status.state.store(TaskState::Finished);
  QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 2000);
  QCOMPARE(dialog.Bar()->value(), 100);
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void ExportTest::codePageIsASystemSetting() {
  {
    CSystemSetDialog dialog(SystemSettings{});
    auto* box = dialog.findChild<QComboBox*>("CodePage");
    QVERIFY(box);
    QCOMPARE(box->currentData().toString(), QString("GBK"));  // the default
    const int polish = box->findData(QString("CP1250"));
    QVERIFY(polish >= 0);
    QVERIFY(box->findData(QString("CP1256")) >= 0);  // Arabic
    // Every offered name is one the conversions know, and holds the letters it shows.
    for (const CodePageChoice& c : CodePageChoices()) {
      QVERIFY2(codepage::SetAnsiCodePage(c.name), c.name);
      QVERIFY2(codepage::UnencodableCharacters(c.covers).empty(), c.name);
    }
    QVERIFY(codepage::SetAnsiCodePage("GBK"));
    box->setCurrentIndex(polish);
    dialog.show();
    dialog.OnOk();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
  }
  SystemSettings stored = LoadSystemSettings(ProgramPath("\\MreConfig.ini"));
  QCOMPARE(stored.codePage, std::string("CP1250"));

  // A name written by hand that the list lacks is shown and kept, not silently replaced.
  stored.codePage = "ISO-8859-2";
  QVERIFY(SaveSystemSettings(ProgramPath("\\MreConfig.ini"), stored));
  CSystemSetDialog again(stored);
  QCOMPARE(again.CodePage()->currentData().toString(), QString("ISO-8859-2"));

  // The export dialog names the code page in force.
  QVERIFY(ApplyCodePage(stored));
  CExportDialog dialog(ui_->frame.get(), g_Language, {});
  const QString narrow = dialog.EncodingBox()->itemText(0);
  QVERIFY(codepage::SetAnsiCodePage("GBK"));
  QVERIFY2(narrow.endsWith("ISO-8859-2"), qPrintable(narrow));
}

// VESK_SHOT_DIR=folder: pictures of the export, progress, print-setup and system-settings
// windows in the shipped English and Chinese texts, for looking at them.
void ExportTest::screenshotsWhenAskedFor() {
  const QString dir = qEnvironmentVariable("VESK_SHOT_DIR");
  if (dir.isEmpty()) QSKIP("VESK_SHOT_DIR not set");
  QDir().mkpath(dir);
  for (const char* language : {"English", "Chinese"}) {
    QVERIFY(ui_->home.UseShippedLanguage(language));
    const QString suffix = QString("-%1.png").arg(QString(language).toLower());
    {
      ExportChoice proposal{ui_->home.Path("data/ann"), ExportFormat::Csv, ExportEncoding::Utf8};
      CExportDialog dialog(ui_->frame.get(), g_Language, proposal);
      QVERIFY(SaveShot(&dialog, dir + "/export-dialog" + suffix));
    }
    {
      TaskStatus status;
      status.Reset(g_Language.GetText("Global Setting", "IDS_DERIVEDATAING"));
      status.progress.store(60);
      CTaskProgressDialog dialog(ui_->frame.get(), status);
      QVERIFY(SaveShot(&dialog, dir + "/export-progress" + suffix));
      status.state.store(TaskState::Finished);
    }
    {
      CSystemSetDialog dialog(SystemSettings{});
      QVERIFY(SaveShot(&dialog, dir + "/system-settings" + suffix));
    }
    const QString pageShot = dir + "/print-setup" + suffix;
    OnNextModal([pageShot](QDialog* dialog) { SaveShot(dialog, pageShot); });
    ui_->frame->ExecuteCommand(cmd::kPrintSetup);
    InstalledPrinters() = [] { return QStringList{"Ward 3"}; };
    const QString printShot = dir + "/print-dialog" + suffix;
    OnNextModal([printShot](QDialog* dialog) { SaveShot(dialog, printShot); });
    ui_->frame->ExecuteCommand(cmd::kPrintSetup);
    InstalledPrinters() = [] { return QStringList(); };
  }
}

QTEST_MAIN(ExportTest)
#include "test_ui_export.moc"
