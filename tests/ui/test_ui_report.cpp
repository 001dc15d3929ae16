// The report command with a fake report program (the main window hidden while it runs, the
// event loop alive, the PDF hand-over and the diagnosis XML), and the print setup.

#include <sys/stat.h>

#include <QtPrintSupport/QPrintDialog>
#include <QtTest/QSignalSpy>
#include <QtTest/QTest>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QRadioButton>

#include "UiTestSupport.h"
#include "cases/CaseDocument.h"
#include "common/Globals.h"
#include "common/Texts.h"
#include "dialogs/PrintSetup.h"
#include "frame/CommandIds.h"
#include "frame/MainFrame.h"
#include "platform/FileUtil.h"
#include "settings/SystemSettings.h"
#include "view/CaseSession.h"
#include "view/ReportCommands.h"
#include "view/ZavDoc.h"
#include "view/ZavView.h"

using namespace vesk;
using namespace vesk::uitest;

namespace {

// The report program's part: read the job, leave a PDF (at once or a little later, after it
// ended), note that it ran.
const char* const kReportNow =
    "#!/bin/sh\n"
    "here=$(dirname \"$0\")\n"
    "pdf=$(sed -n 's/^ReportPath=//p' \"$here/Cnf.start\" | tr -d '\\r')\n"
    "sleep 0.3\n"
    "printf '%%PDF' > \"$pdf\"\n"
    "echo ran >> \"$here/rpt.log\"\n";
const char* const kReportLate =
    "#!/bin/sh\n"
    "here=$(dirname \"$0\")\n"
    "pdf=$(sed -n 's/^ReportPath=//p' \"$here/Cnf.start\" | tr -d '\\r')\n"
    "(sleep 0.6; printf '%%PDF' > \"$pdf\") &\n";
const char* const kReportNoPdf = "#!/bin/sh\nexit 0\n";
const char* const kPdfProgram =
    "#!/bin/sh\n"
    "printf '[%s][%s]' \"$1\" \"$2\" > \"$(dirname \"$0\")/pdf-args\"\n";

const std::string kPolish = "\xC5\x81ucja W\xC3\xB3jcik";

}  // namespace

class ReportTest : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void reportHidesTheWindowWhileTheProgramRunsAndKeepsTheLoopAlive();
  void handOverWaitsForTheLatePdfThenWritesTheXml();
  void handOverWithoutAPdfWritesNoXml();
  void reportProgramMissingBringsTheWindowBackSilently();
  void unwritableStartFolderIsShownAndNothingRuns();
  void reportNeedsAnOpenCase();
  void printSetupWithoutPrinterStoresPaperAndOrientation();
  void printSetupCancelledKeepsTheStoredSettings();
  void printSetupWithAPrinterShowsThePrintDialogWithoutAPrintButton();

 private:
  void Program(const std::string& name, const char* script);
  void RunWithHandOver(const char* reportScript, int waitMs);
  ReportCommands& Commands() { return ReportCommands::Of(ui_->View()); }
  std::unique_ptr<WindowFixture> ui_;
};

void ReportTest::init() {
  ui_ = std::make_unique<WindowFixture>(WithFrame{});
  ui_->OpenCase("data/ann.awp", kPolish, "A-1");
  ReportProgramLocator() = [path = ui_->home.Path("Rpt.exe")] { return path; };
}

void ReportTest::cleanup() {
  ui_.reset();
  InstalledPrinters() = [] { return QStringList(); };
  ReportProgramLocator() = [] { return ReportProgramPath(); };
}

void ReportTest::Program(const std::string& name, const char* script) {
  QVERIFY(fsutil::WriteFileAtomic(ui_->home.Path(name), script));
  QCOMPARE(::chmod(ui_->home.Path(name).c_str(), 0755), 0);
}

// Runs the report command with `reportScript` as the report program and a PDF program to
// hand the report over to, and waits for the command to end.
void ReportTest::RunWithHandOver(const char* reportScript, int waitMs) {
  Program("Rpt.exe", reportScript);
  Program("pdf-handler", kPdfProgram);
  g_Config->system.useOtherExePdf = 1;
  g_Config->system.otherExePdf = ui_->home.Path("pdf-handler");
  QSignalSpy finished(&Commands(), &ReportCommands::reportFinished);
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kReport));
  QVERIFY(finished.wait(waitMs));
}

void ReportTest::reportHidesTheWindowWhileTheProgramRunsAndKeepsTheLoopAlive() {
  Program("Rpt.exe", kReportNow);
  int ticks = 0;
  QTimer ticker;
  connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
  ticker.start(20);
  QSignalSpy finished(&Commands(), &ReportCommands::reportFinished);

  QVERIFY(ui_->frame->ExecuteCommand(cmd::kReport));
  QVERIFY(!ui_->frame->isVisible());
  QVERIFY(Commands().ReportRunning());
  QVERIFY(QFile::exists(Qs(ui_->home.Path("ZavStart/Report.txt"))));
  QVERIFY(finished.wait(10000));
  QVERIFY(ui_->frame->isVisible());
  QVERIFY(!Commands().ReportRunning());
  QVERIFY2(ticks >= 5, "the event loop stood still while the report program ran");

  const ReportRunResult& r = Commands().LastReport();
  QCOMPARE(int(r.outcome), int(ReportOutcome::Done));
  QVERIFY(QFile::exists(Qs(r.pdfPath)));
  QCOMPARE(ui_->home.Read("rpt.log"), std::string("ran\n"));
  QVERIFY(!QFile::exists(Qs(ui_->home.Path("DIAGNOSEINFO.xml"))));  // no hand-over asked for
  QVERIFY(ui_->messages.sink.messages.empty());
}

void ReportTest::handOverWaitsForTheLatePdfThenWritesTheXml() {
  RunWithHandOver(kReportLate, 10000);
  if (QTest::currentTestFailed()) return;

  const ReportRunResult& r = Commands().LastReport();
  QCOMPARE(int(r.outcome), int(ReportOutcome::HandedOver));
  QVERIFY(ui_->frame->isVisible());
  QCOMPARE(ui_->home.Read("pdf-args"), "[][" + r.pdfPath + "]");
  const std::string xml = ui_->home.Read("DIAGNOSEINFO.xml");
  QVERIFY(xml.find("<report>" + r.pdfPath + "</report>") != std::string::npos);
  // The Polish name is kept as character references in the GBK file.
  QVERIFY(xml.find("<caseName>&#321;ucja W") != std::string::npos);
}

void ReportTest::handOverWithoutAPdfWritesNoXml() {
  RunWithHandOver(kReportNoPdf, 15000);
  if (QTest::currentTestFailed()) return;
  QCOMPARE(int(Commands().LastReport().outcome), int(ReportOutcome::PdfMissing));
  QVERIFY(ui_->frame->isVisible());
  QVERIFY(!QFile::exists(Qs(ui_->home.Path("pdf-args"))));
  QVERIFY(!QFile::exists(Qs(ui_->home.Path("DIAGNOSEINFO.xml"))));
}

void ReportTest::reportProgramMissingBringsTheWindowBackSilently() {
  QSignalSpy finished(&Commands(), &ReportCommands::reportFinished);
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kReport));
  if (finished.isEmpty()) QVERIFY(finished.wait(5000));
  QCOMPARE(int(Commands().LastReport().outcome), int(ReportOutcome::ReportNotStarted));
  QVERIFY(ui_->frame->isVisible());
  QVERIFY(ui_->messages.sink.messages.empty());
  QVERIFY(!Commands().ReportRunning());
}

void ReportTest::unwritableStartFolderIsShownAndNothingRuns() {
  Program("Rpt.exe", kReportNow);
  QVERIFY(fsutil::WriteFileAtomic(ui_->home.Path("ZavStart"), "a file in the folder's place"));
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kReport));
  QCOMPARE(int(Commands().LastReport().outcome), int(ReportOutcome::FilesFailed));
  QVERIFY(ui_->frame->isVisible());
  QVERIFY(!Commands().ReportRunning());
  QCOMPARE(ui_->messages.sink.messages.size(), size_t(1));
  QVERIFY(ui_->messages.Saw(ui_->home.Path("ZavStart")));
  QCOMPARE(int(ui_->messages.sink.messages[0].icon), int(MessageIcon::Error));
  QVERIFY(!QFile::exists(Qs(ui_->home.Path("rpt.log"))));
}

void ReportTest::reportNeedsAnOpenCase() {
  ui_->View()->Session().Close();
  Commands().OnReport();
  QVERIFY(!Commands().ReportRunning());
  QVERIFY(!QFile::exists(Qs(ui_->home.Path("ZavStart"))));
  QVERIFY(ui_->frame->isVisible());
}

void ReportTest::printSetupWithoutPrinterStoresPaperAndOrientation() {
  InstalledPrinters() = [] { return QStringList(); };
  QVERIFY(WritePrintSetup({9, 1, "Ward 3"}));  // A4, portrait, a printer since removed
  QString shownPaper;
  OnNextModal([&](QDialog* dialog) {
    auto* paper = dialog->findChild<QComboBox*>("pageSizeCombo");
    auto* landscape = dialog->findChild<QRadioButton*>("landscape");
    QVERIFY(paper && landscape);
    shownPaper = paper->currentText();
    const int letter = paper->findText("Letter", Qt::MatchStartsWith);
    QVERIFY(letter >= 0);
    paper->setCurrentIndex(letter);
    landscape->click();
    dialog->accept();
  });
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kPrintSetup));
  QVERIFY2(shownPaper.startsWith("A4"), qPrintable(shownPaper));  // started from the stored
  QVERIFY(ui_->messages.Saw(g_Language.GetText("Global Setting", "IDS_NO_PRINTER")));
  const PrintSetup stored = ReadPrintSetup();
  QCOMPARE(stored.paperSize, 1);  // the driver's number of Letter
  QCOMPARE(stored.orientation, 2);
  QCOMPARE(stored.deviceName, std::string("Ward 3"));
}

void ReportTest::printSetupCancelledKeepsTheStoredSettings() {
  InstalledPrinters() = [] { return QStringList(); };
  QVERIFY(WritePrintSetup({8, 1, ""}));  // A3
  const std::string before = ui_->home.Read("Cnf.start");
  OnNextModal([](QDialog* dialog) { dialog->reject(); });
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kPrintSetup));
  QCOMPARE(ui_->home.Read("Cnf.start"), before);
}

void ReportTest::printSetupWithAPrinterShowsThePrintDialogWithoutAPrintButton() {
  InstalledPrinters() = [] { return QStringList{"Ward 3"}; };
  QVERIFY(WritePrintSetup({9, 1, "Ward 3"}));
  QStringList acceptTexts;
  bool printDialog = false;
  OnNextModal([&](QDialog* dialog) {
    printDialog = qobject_cast<QPrintDialog*>(dialog) != nullptr;
    for (QDialogButtonBox* box : dialog->findChildren<QDialogButtonBox*>())
      for (QAbstractButton* b : box->buttons())
        if (box->buttonRole(b) == QDialogButtonBox::AcceptRole) acceptTexts << b->text();
    dialog->accept();
  });
  QVERIFY(ui_->frame->ExecuteCommand(cmd::kPrintSetup));
  QVERIFY(printDialog);
  QCOMPARE(acceptTexts, QStringList{"EN:IDS_MAKE_SURE"});
  QVERIFY(!ui_->messages.Saw(g_Language.GetText("Global Setting", "IDS_NO_PRINTER")));
  const PrintSetup stored = ReadPrintSetup();
  QCOMPARE(stored.paperSize, 9);
  QCOMPARE(stored.orientation, 1);
  // This machine has no real printer, so the dialog printed to a PDF: the name stays.
  QCOMPARE(stored.deviceName, std::string("Ward 3"));
}

QTEST_MAIN(ReportTest)
#include "test_ui_report.moc"
