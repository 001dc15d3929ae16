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
  ReportCommands& Commands() { return ReportCommands::Of(frame_->View()); }
  std::unique_ptr<TestHome> home_;
  std::unique_ptr<SinkGuard> messages_;
  std::unique_ptr<CZavDoc> doc_;
  std::unique_ptr<CMainFrame> frame_;
};

void ReportTest::init() {
  home_ = std::make_unique<TestHome>();
  messages_ = std::make_unique<SinkGuard>();
  LoadConfigAndLanguage();
  doc_ = std::make_unique<CZavDoc>(*g_Config, g_Language);
  frame_ = std::make_unique<CMainFrame>(nullptr, doc_.get());
  frame_->show();
  QCOMPARE(frame_->View()->OpenCase(home_->WriteCase("data/ann.awp", kPolish, "A-1")), 1);
  ReportProgramLocator() = [path = home_->Path("Rpt.exe")] { return path; };
}

void ReportTest::cleanup() {
  frame_.reset();
  doc_.reset();
  DropConfig();
  messages_.reset();
  home_.reset();
  InstalledPrinters() = [] { return QStringList(); };
  ReportProgramLocator() = [] { return ReportProgramPath(); };
}

void ReportTest::Program(const std::string& name, const char* script) {
  QVERIFY(fsutil::WriteFileAtomic(home_->Path(name), script));
  QCOMPARE(::chmod(home_->Path(name).c_str(), 0755), 0);
}

void ReportTest::reportHidesTheWindowWhileTheProgramRunsAndKeepsTheLoopAlive() {
  Program("Rpt.exe", kReportNow);
  int ticks = 0;
  QTimer ticker;
  connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
  ticker.start(20);
  QSignalSpy finished(&Commands(), &ReportCommands::reportFinished);

  QVERIFY(frame_->ExecuteCommand(cmd::kReport));
  QVERIFY(!frame_->isVisible());
  QVERIFY(Commands().ReportRunning());
  QVERIFY(QFile::exists(Qs(home_->Path("ZavStart/Report.txt"))));
  QVERIFY(finished.wait(10000));
  QVERIFY(frame_->isVisible());
  QVERIFY(!Commands().ReportRunning());
  QVERIFY2(ticks >= 5, "the event loop stood still while the report program ran");

  const ReportRunResult& r = Commands().LastReport();
  QCOMPARE(int(r.outcome), int(ReportOutcome::Done));
  QVERIFY(QFile::exists(Qs(r.pdfPath)));
  QCOMPARE(home_->Read("rpt.log"), std::string("ran\n"));
  QVERIFY(!QFile::exists(Qs(home_->Path("DIAGNOSEINFO.xml"))));  // no hand-over asked for
  QVERIFY(messages_->sink.messages.empty());
}

void ReportTest::handOverWaitsForTheLatePdfThenWritesTheXml() {
  Program("Rpt.exe", kReportLate);
  Program("pdf-handler", kPdfProgram);
  g_Config->system.useOtherExePdf = 1;
  g_Config->system.otherExePdf = home_->Path("pdf-handler");
  QSignalSpy finished(&Commands(), &ReportCommands::reportFinished);
  QVERIFY(frame_->ExecuteCommand(cmd::kReport));
  QVERIFY(finished.wait(10000));

  const ReportRunResult& r = Commands().LastReport();
  QCOMPARE(int(r.outcome), int(ReportOutcome::HandedOver));
  QVERIFY(frame_->isVisible());
  QCOMPARE(home_->Read("pdf-args"), "[][" + r.pdfPath + "]");
  const std::string xml = home_->Read("DIAGNOSEINFO.xml");
  QVERIFY(xml.find("<report>" + r.pdfPath + "</report>") != std::string::npos);
  // The Polish name is kept as character references in the GBK file.
  QVERIFY(xml.find("<caseName>&#321;ucja W") != std::string::npos);
}

void ReportTest::handOverWithoutAPdfWritesNoXml() {
  Program("Rpt.exe", kReportNoPdf);
  Program("pdf-handler", kPdfProgram);
  g_Config->system.useOtherExePdf = 1;
  g_Config->system.otherExePdf = home_->Path("pdf-handler");
  QSignalSpy finished(&Commands(), &ReportCommands::reportFinished);
  QVERIFY(frame_->ExecuteCommand(cmd::kReport));
  QVERIFY(finished.wait(15000));
  QCOMPARE(int(Commands().LastReport().outcome), int(ReportOutcome::PdfMissing));
  QVERIFY(frame_->isVisible());
  QVERIFY(!QFile::exists(Qs(home_->Path("pdf-args"))));
  QVERIFY(!QFile::exists(Qs(home_->Path("DIAGNOSEINFO.xml"))));
}

void ReportTest::reportProgramMissingBringsTheWindowBackSilently() {
  QSignalSpy finished(&Commands(), &ReportCommands::reportFinished);
  QVERIFY(frame_->ExecuteCommand(cmd::kReport));
  if (finished.isEmpty()) QVERIFY(finished.wait(5000));
  QCOMPARE(int(Commands().LastReport().outcome), int(ReportOutcome::ReportNotStarted));
  QVERIFY(frame_->isVisible());
  QVERIFY(messages_->sink.messages.empty());
  QVERIFY(!Commands().ReportRunning());
}

void ReportTest::unwritableStartFolderIsShownAndNothingRuns() {
  Program("Rpt.exe", kReportNow);
  QVERIFY(fsutil::WriteFileAtomic(home_->Path("ZavStart"), "a file in the folder's place"));
  QVERIFY(frame_->ExecuteCommand(cmd::kReport));
  QCOMPARE(int(Commands().LastReport().outcome), int(ReportOutcome::FilesFailed));
  QVERIFY(frame_->isVisible());
  QVERIFY(!Commands().ReportRunning());
  QCOMPARE(messages_->sink.messages.size(), size_t(1));
  QVERIFY(messages_->Saw(home_->Path("ZavStart")));
  QCOMPARE(int(messages_->sink.messages[0].icon), int(MessageIcon::Error));
  QVERIFY(!QFile::exists(Qs(home_->Path("rpt.log"))));
}

void ReportTest::reportNeedsAnOpenCase() {
  frame_->View()->Session().Close();
  Commands().OnReport();
  QVERIFY(!Commands().ReportRunning());
  QVERIFY(!QFile::exists(Qs(home_->Path("ZavStart"))));
  QVERIFY(frame_->isVisible());
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
  QVERIFY(frame_->ExecuteCommand(cmd::kPrintSetup));
  QVERIFY2(shownPaper.startsWith("A4"), qPrintable(shownPaper));  // started from the stored
  QVERIFY(messages_->Saw(g_Language.GetText("Global Setting", "IDS_NO_PRINTER")));
  const PrintSetup stored = ReadPrintSetup();
  QCOMPARE(stored.paperSize, 1);  // the driver's number of Letter
  QCOMPARE(stored.orientation, 2);
  QCOMPARE(stored.deviceName, std::string("Ward 3"));
}

void ReportTest::printSetupCancelledKeepsTheStoredSettings() {
  InstalledPrinters() = [] { return QStringList(); };
  QVERIFY(WritePrintSetup({8, 1, ""}));  // A3
  const std::string before = home_->Read("Cnf.start");
  OnNextModal([](QDialog* dialog) { dialog->reject(); });
  QVERIFY(frame_->ExecuteCommand(cmd::kPrintSetup));
  QCOMPARE(home_->Read("Cnf.start"), before);
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
  QVERIFY(frame_->ExecuteCommand(cmd::kPrintSetup));
  QVERIFY(printDialog);
  QCOMPARE(acceptTexts, QStringList{"EN:IDS_MAKE_SURE"});
  QVERIFY(!messages_->Saw(g_Language.GetText("Global Setting", "IDS_NO_PRINTER")));
  const PrintSetup stored = ReadPrintSetup();
  QCOMPARE(stored.paperSize, 9);
  QCOMPARE(stored.orientation, 1);
  // This machine has no real printer, so the dialog printed to a PDF: the name stays.
  QCOMPARE(stored.deviceName, std::string("Ward 3"));
}

QTEST_MAIN(ReportTest)
#include "test_ui_report.moc"
