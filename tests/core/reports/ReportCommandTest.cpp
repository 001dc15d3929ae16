#include <gtest/gtest.h>
#include <sys/stat.h>

#include "ReportTestData.h"
#include "platform/FileUtil.h"
#include "platform/ProgramDir.h"
#include "reports/DiagnosisXml.h"
#include "reports/ReportCommand.h"
#include "reports/ReportFiles.h"
#include "settings/IniFile.h"
#include "settings/SystemSettings.h"

namespace vesk::test {
namespace {

class FakePrograms : public IReportPrograms {
 public:
  bool RunReportProgram(const std::string& program) override {
    reportProgram = program;
    ++reportRuns;
    if (makePdf) {
      CIniFile cnf(CnfStartPath(), false);
      WriteBytes(cnf.ReadString("START", "ReportPath", ""), "%PDF");
    }
    return startReport;
  }
  bool RunPdfProgram(const std::string& program, const std::string& a1,
                     const std::string& a2) override {
    pdfCalls.push_back({program, a1, a2});
    return pdfResult;
  }
  void Sleep(int ms) override { slept.push_back(ms); }

  bool startReport = true, makePdf = true, pdfResult = true;
  int reportRuns = 0;
  std::string reportProgram;
  std::vector<std::vector<std::string>> pdfCalls;
  std::vector<int> slept;
};

class ReportCommandTest : public HomeFixture {
 protected:
  void SetUp() override {
    HomeFixture::SetUp();
    LoadEnglish(language_);
    info_ = SmallCase();
    request_.caseOpen = true;
    request_.reportCase = ReportCaseOf(info_);
    request_.reportCase.casePath = HomePath("data/ann.awp");
    request_.head = AllPages();
    request_.now = {2024, 3, 6, 8, 5, 9};
  }
  ReportRunResult Run() { return RunReportCommand(request_, language_, sink_, programs_); }

  CLanguage language_;
  RecordingMessageSink sink_;
  FakePrograms programs_;
  _FILE_ALL_INFO info_;
  ReportRequest request_;
};

TEST_F(ReportCommandTest, TimeStampAndPaths) {
  EXPECT_EQ(ReportTimeStamp({2024, 3, 6, 8, 5, 9}), "20240306080509");
  EXPECT_EQ(ReportTimeStamp({999, 12, 31, 23, 59, 59}), "9991231235959");
  EXPECT_EQ(ReportStartFolder(), HomePath("ZavStart/"));
  EXPECT_EQ(ReportProgramPath(), JoinPath(GetExecutableDir(), "vesk-report"));
  // A portable folder's own report program serves; a program in the home folder alone does not.
  SetShareDir(HomePath("share"));
  WriteBytes(HomePath("vesk-report"), "#!/bin/sh\n");
  EXPECT_EQ(ReportProgramPath(), JoinPath(GetExecutableDir(), "vesk-report"));
  WriteBytes(HomePath("share/Rpt.exe"), "#!/bin/sh\n");
  EXPECT_EQ(ReportProgramPath(), HomePath("share/Rpt.exe"));
  WriteBytes(HomePath("share/vesk-report"), "#!/bin/sh\n");
  EXPECT_EQ(ReportProgramPath(), HomePath("share/vesk-report"));
  SetShareDir("");
}

TEST_F(ReportCommandTest, NoCaseDoesNothing) {
  request_.caseOpen = false;
  EXPECT_EQ(Run().outcome, ReportOutcome::NoCase);
  EXPECT_EQ(programs_.reportRuns, 0);
  EXPECT_FALSE(fsutil::FolderExists(HomePath("ZavStart")));
}

TEST_F(ReportCommandTest, WritesFilesAndJobThenRunsTheReportProgram) {
  const ReportRunResult r = Run();
  EXPECT_EQ(r.outcome, ReportOutcome::Done);
  EXPECT_EQ(r.pdfPath, HomePath("PDF/20240306080509.pdf"));
  EXPECT_EQ(programs_.reportProgram, ReportProgramPath());
  ReportData back;
  ASSERT_TRUE(ReadReportFiles(HomePath("ZavStart"), back).ok);
  EXPECT_EQ(back.main.readings.size(), 3u);
  CIniFile cnf(HomePath("Cnf.start"), false);
  EXPECT_EQ(cnf.ReadString("START", "CasePath", ""), HomePath("data/ann.awp"));
  EXPECT_EQ(cnf.ReadString("START", "ReportPath", ""), r.pdfPath);
  EXPECT_EQ(cnf.ReadInt("START", "ReportPrint", -1), 0);
  // Hand-over off: no looks for the PDF, no XML.
  EXPECT_TRUE(programs_.slept.empty());
  EXPECT_TRUE(programs_.pdfCalls.empty());
  EXPECT_FALSE(fsutil::FileExists(DiagnosisXmlPath()));
  EXPECT_TRUE(sink_.messages.empty());
}

TEST_F(ReportCommandTest, HandsThePdfOverAndWritesTheDiagnosis) {
  request_.system.useOtherExePdf = 1;
  request_.system.otherExePdf = "/opt/pdf/tool";
  const ReportRunResult r = Run();
  EXPECT_EQ(r.outcome, ReportOutcome::HandedOver);
  ASSERT_EQ(programs_.pdfCalls.size(), 1u);
  EXPECT_EQ(programs_.pdfCalls[0], (std::vector<std::string>{"/opt/pdf/tool", "", r.pdfPath}));
  EXPECT_TRUE(programs_.slept.empty());  // present at the first look
  EXPECT_EQ(r.xmlPath, HomePath("DIAGNOSEINFO.xml"));
  EXPECT_NE(ReadBytes(r.xmlPath).find(r.pdfPath), std::string::npos);
}

TEST_F(ReportCommandTest, MissingPdfStopsAfterAHundredLooks) {
  request_.system.useOtherExePdf = 1;
  programs_.makePdf = false;
  EXPECT_EQ(Run().outcome, ReportOutcome::PdfMissing);
  EXPECT_EQ(programs_.slept, std::vector<int>(99, 50));
  EXPECT_TRUE(programs_.pdfCalls.empty());
  EXPECT_FALSE(fsutil::FileExists(DiagnosisXmlPath()));
}

TEST_F(ReportCommandTest, FailuresOfTheSteps) {
  programs_.startReport = false;
  EXPECT_EQ(Run().outcome, ReportOutcome::ReportNotStarted);
  EXPECT_TRUE(sink_.messages.empty());  // the report program's failure shows no message

  // The PDF program does not run: no XML.
  programs_.startReport = true;
  request_.system.useOtherExePdf = 1;
  programs_.pdfResult = false;
  EXPECT_EQ(Run().outcome, ReportOutcome::PdfProgramFailed);
  EXPECT_FALSE(fsutil::FileExists(DiagnosisXmlPath()));

  // A PDF folder that cannot be created.
  fsutil::RemoveFolderTree(HomePath("PDF"));
  WriteBytes(HomePath("PDF"), "in the way");
  ReportRunResult r = Run();
  EXPECT_EQ(r.outcome, ReportOutcome::PdfFolderFailed);
  ASSERT_EQ(sink_.messages.size(), 1u);
  EXPECT_EQ(sink_.messages[0].text, HomePath("PDF"));
  EXPECT_EQ(sink_.messages[0].icon, MessageIcon::Error);

  // A start folder that cannot be created: nothing is run.
  fsutil::RemoveFolderTree(HomePath("ZavStart"));
  WriteBytes(HomePath("ZavStart"), "in the way");
  const int runs = programs_.reportRuns;
  r = Run();
  EXPECT_EQ(r.outcome, ReportOutcome::FilesFailed);
  EXPECT_EQ(sink_.messages.back().text, HomePath("ZavStart/"));
  EXPECT_EQ(programs_.reportRuns, runs);
}

TEST_F(ReportCommandTest, ReadOnlyPdfFolderIsRefusedBeforeTheReportRuns) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  ASSERT_TRUE(fsutil::CreateFolders(HomePath("PDF")));
  ::chmod(HomePath("PDF").c_str(), 0555);
  EXPECT_EQ(Run().outcome, ReportOutcome::PdfFolderFailed);
  ::chmod(HomePath("PDF").c_str(), 0755);
  EXPECT_EQ(programs_.reportRuns, 0);
}

// The phases a window runs one by one: preparing runs nothing, the hand-over runs only the
// PDF program and writes the XML.
TEST_F(ReportCommandTest, PhasesPrepareLookAndHandOverSeparately) {
  request_.system.useOtherExePdf = 1;
  request_.system.otherExePdf = "/opt/pdf/tool";
  const PreparedReport prepared = PrepareReport(request_, language_, sink_);
  EXPECT_EQ(prepared.result.outcome, ReportOutcome::Done);
  EXPECT_TRUE(prepared.handOver);
  EXPECT_EQ(prepared.pdfProgram, "/opt/pdf/tool");
  EXPECT_EQ(prepared.result.pdfPath, HomePath("PDF/20240306080509.pdf"));
  EXPECT_EQ(programs_.reportRuns, 0);
  EXPECT_TRUE(fsutil::FileExists(HomePath("ZavStart/Report.txt")));
  CIniFile cnf(HomePath("Cnf.start"), false);
  EXPECT_EQ(cnf.ReadString("START", "ReportPath", ""), prepared.result.pdfPath);
  EXPECT_FALSE(PdfPresent(prepared));
  WriteBytes(prepared.result.pdfPath, "%PDF");
  EXPECT_TRUE(PdfPresent(prepared));

  const ReportRunResult r = HandOverPdf(prepared, programs_);
  EXPECT_EQ(r.outcome, ReportOutcome::HandedOver);
  EXPECT_EQ(programs_.reportRuns, 0);
  ASSERT_EQ(programs_.pdfCalls.size(), 1u);
  EXPECT_EQ(programs_.pdfCalls[0], (std::vector<std::string>{"/opt/pdf/tool", "", r.pdfPath}));
  EXPECT_TRUE(fsutil::FileExists(DiagnosisXmlPath()));

  request_.caseOpen = false;
  EXPECT_EQ(PrepareReport(request_, language_, sink_).result.outcome, ReportOutcome::NoCase);
  request_.caseOpen = true;
  request_.system.useOtherExePdf = 0;
  EXPECT_FALSE(PrepareReport(request_, language_, sink_).handOver);
  EXPECT_TRUE(sink_.messages.empty());
}

// The real PDF launcher with a program that does not exist: the user is told, no XML.
class RealPdfProgram : public FakePrograms {
 public:
  RealPdfProgram(const CLanguage& l, IMessageSink& s) : real_(l, s, nullptr) {}
  bool RunPdfProgram(const std::string& p, const std::string& a1, const std::string& a2) override {
    return real_.RunPdfProgram(p, a1, a2);
  }

 private:
  ProcessReportPrograms real_;
};

TEST_F(ReportCommandTest, MissingPdfProgramIsReported) {
  RealPdfProgram programs(language_, sink_);
  request_.system.useOtherExePdf = 1;
  request_.system.otherExePdf = HomePath("no-such-program");
  const ReportRunResult r = RunReportCommand(request_, language_, sink_, programs);
  EXPECT_EQ(r.outcome, ReportOutcome::PdfProgramFailed);
  ASSERT_EQ(sink_.messages.size(), 1u);
  EXPECT_EQ(sink_.messages[0].text, language_.GetText("SystemSet", "IDS_PATH_NOEXIST") +
                                        HomePath("no-such-program") + "\r\n");
  EXPECT_FALSE(fsutil::FileExists(DiagnosisXmlPath()));
}

}  // namespace
}  // namespace vesk::test
