// The report program's own parts: the job, the model it reads from the start folder, the
// page plan and the PDF it paints.
#include <gtest/gtest.h>

#include <QtCore/QByteArray>
#include <QtWidgets/QApplication>
#include <filesystem>

#include "ReportJob.h"
#include "ReportPages.h"
#include "ReportRender.h"
#include "ReportTestApp.h"
#include "ReportTexts.h"
#include "cases/SampleCases.h"
#include "core/reports/ReportTestData.h"
#include "platform/FileUtil.h"
#include "platform/ProgramDir.h"
#include "reports/ReportFiles.h"
#include "support/HomeFixture.h"

namespace vesk::report {
namespace {

int CountPages(const QByteArray& pdf) {
  int n = 0;
  for (qsizetype at = pdf.indexOf("/Type /Page\n"); at >= 0;
       at = pdf.indexOf("/Type /Page\n", at + 1))
    ++n;
  return n;
}

class ReportProgram : public test::HomeFixture {
 protected:
  void SetUp() override {
    HomeFixture::SetUp();
    TestApp();
    ASSERT_TRUE(texts_.Load("English"));
    test::LoadEnglish(language_);
  }
  // Writes the data files of `f` with `head` into a start folder and reads them back.
  void Load(const _FILE_ALL_INFO& f, const ReportHead& head, ReportModel& m) {
    const ReportData d = BuildReportData(ReportCaseOf(f), head, ReportOptions{}, language_);
    const std::string folder = HomePath("ZavStart");
    ASSERT_TRUE(WriteReportFiles(folder, d).ok);
    std::string error;
    ASSERT_TRUE(LoadReportModel(folder, m, error)) << error;
  }
  ReportTexts texts_;
  CLanguage language_;
};

TEST_F(ReportProgram, JobNeedsAnExistingFileThatNamesAPdf) {
  ReportJob job;
  std::string error;
  const std::string cnf = HomePath("Cnf.start");
  EXPECT_FALSE(LoadReportJob(cnf, job, error));
  EXPECT_NE(error.find("missing"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(cnf)) << "reading must not create the job";

  ASSERT_TRUE(fsutil::WriteFileAtomic(cnf, "[START]\r\nCasePath=/c/a.awp\r\nReportPrint=0\r\n"));
  EXPECT_FALSE(LoadReportJob(cnf, job, error));
  EXPECT_NE(error.find("ReportPath"), std::string::npos);

  ASSERT_TRUE(fsutil::WriteFileAtomic(
      cnf,
      "[START]\r\nCasePath=/c/a.awp\r\nReportPath=/p/1.pdf\r\nPaperSize=1\r\n"
      "DeviceName=Ward printer\r\nLanguage=Chinese\r\n"));
  ASSERT_TRUE(LoadReportJob(cnf, job, error)) << error;
  EXPECT_EQ(job.casePath, "/c/a.awp");
  EXPECT_EQ(job.reportPath, "/p/1.pdf");
  EXPECT_EQ(job.deviceName, "Ward printer");
  EXPECT_EQ(job.language, "Chinese");
  EXPECT_EQ(PaperOf(job.paperSize), Paper::Letter);
  EXPECT_EQ(PaperOf(10), Paper::A4);  // the print setup's default
  EXPECT_EQ(PaperOf(9), Paper::A4);
}

TEST(HourlyMeans, OneEntryPerClockHourInTimeOrder) {
  std::vector<_BP_RECORD> rs{
      test::Reading(0, 5, 23, 10, 120, 80, 93, 60), test::Reading(1, 5, 23, 50, 130, 70, 90, 70),
      test::Reading(2, 6, 0, 5, 110, 60, 77, 50), test::Reading(3, 5, 9, 0, 140, 90, 107, 80)};
  rs.push_back(test::Reading(4, 31, 9, 0, 140, 90, 107, 80));
  rs.back().month = 2;  // 31 February: no real date
  ReadingRefs refs;
  for (const _BP_RECORD& r : rs) refs.push_back(&r);
  const std::vector<HourMean> h = HourlyMeans(refs, 22 * 60, 7 * 60);
  ASSERT_EQ(h.size(), 3u);
  EXPECT_EQ(h[0].hour, 9);
  EXPECT_FALSE(h[0].asleep);
  EXPECT_EQ(h[1].hour, 23);
  EXPECT_EQ(h[1].count, 2);
  EXPECT_DOUBLE_EQ(h[1].sys, 125.0);
  EXPECT_DOUBLE_EQ(h[1].dia, 75.0);
  EXPECT_TRUE(h[1].asleep);
  EXPECT_EQ(h[2].day, 6);
  EXPECT_EQ(h[2].hour, 0);
}

TEST_F(ReportProgram, ModelCarriesCommentsAndJudgesTheRecording) {
  ReportModel m;
  Load(test::SmallCase(), test::AllPages(), m);
  ASSERT_EQ(m.readings.size(), 3u);
  EXPECT_EQ(m.readings[0].comment, "walk");
  EXPECT_EQ(m.refs.analysed.size(), 3u);
  EXPECT_FALSE(m.quality.adequate);  // three readings are not a recording to interpret
  EXPECT_EQ(m.hours.size(), 3u);
}

TEST_F(ReportProgram, DamagedDataFilesAreRefusedWithTheirName) {
  ReportModel m;
  Load(test::SmallCase(), test::AllPages(), m);
  const std::string folder = HomePath("ZavStart");
  std::string bytes;
  ASSERT_TRUE(fsutil::ReadFile(folder + "/2.rp", bytes));
  ASSERT_TRUE(fsutil::WriteFileAtomic(folder + "/2.rp", bytes.substr(0, bytes.size() / 2)));
  ReportModel again;
  std::string error;
  EXPECT_FALSE(LoadReportModel(folder, again, error));
  EXPECT_NE(error.find("2.rp"), std::string::npos) << error;

  std::filesystem::remove(folder + "/2.rp");
  EXPECT_FALSE(LoadReportModel(folder, again, error));
  EXPECT_NE(error.find("2.rp"), std::string::npos) << error;
}

TEST_F(ReportProgram, ThousandReadingsRunOverSeveralListPages) {
  _FILE_ALL_INFO f = test::SmallCase();
  f.readings.clear();
  for (int i = 0; i < 1000; ++i)
    f.readings.push_back(
        test::Reading(i, 5 + i / 96, i % 96 / 4, i % 4 * 15, 120 + i % 30, 80, 93, 70));
  ReportHead head;
  head.pages[PageIndex(ReportPageId::Data)] = 1;
  head.pages[PageIndex(ReportPageId::Demographics)] = 1;
  ReportModel m;
  Load(f, head, m);
  const QSizeF a4(793.7, 1122.5);
  const std::vector<PlannedPage> plan = PlanPages(m, a4);
  const int per = ReadingRowsPerPage(BodyOf(QRectF(QPointF(), a4)).height());
  ASSERT_GT(per, 30);
  const int lists = (1000 + per - 1) / per;
  ASSERT_EQ(int(plan.size()), 1 + lists);
  EXPECT_EQ(plan[0].id, ReportPageId::Demographics);
  for (int i = 0; i < lists; ++i) {
    EXPECT_EQ(plan[size_t(1 + i)].id, ReportPageId::Data);
    EXPECT_EQ(plan[size_t(1 + i)].part, i);
    EXPECT_EQ(plan[size_t(1 + i)].parts, lists);
  }
}

TEST_F(ReportProgram, PdfHasOnePagePerPlannedPageOnA4AndLetter) {
  SampleOptions o;
  o.language = 0;
  const _FILE_ALL_INFO miru = MakeMiruSample(o);
  for (int variant : {1, 2}) {  // the SpO2 page's other variants paint as well
    ReportModel m;
    Load(miru, test::AllPages(variant), m);
    ReportJob job;
    QByteArray pdf;
    QString error;
    ASSERT_TRUE(RenderPdf(job, m, texts_, pdf, error)) << error.toStdString();
  }
  ReportModel m;
  Load(miru, test::AllPages(3), m);
  for (int paper : {9, 1}) {
    ReportJob job;
    job.paperSize = paper;
    QByteArray pdf;
    QString error;
    ASSERT_TRUE(RenderPdf(job, m, texts_, pdf, error)) << error.toStdString();
    ASSERT_TRUE(pdf.startsWith("%PDF"));
    const QSizeF size = PageSizeOf(job).size(QPageSize::Inch) * 96.0;
    EXPECT_EQ(CountPages(pdf), int(PlanPages(m, size).size())) << paper;
    EXPECT_GE(CountPages(pdf), 14);  // 13 pages and a data list of two
  }
}

TEST_F(ReportProgram, ACaseWithoutReadingsStillGivesEveryPage) {
  _FILE_ALL_INFO f = test::SmallCase();
  f.readings.clear();
  ReportModel m;
  Load(f, test::AllPages(), m);
  ReportJob job;
  QByteArray pdf;
  QString error;
  ASSERT_TRUE(RenderPdf(job, m, texts_, pdf, error)) << error.toStdString();
  EXPECT_EQ(CountPages(pdf), 13);  // one sheet each, the SpO2 page without samples too
}

TEST_F(ReportProgram, UnwritablePathLeavesNoFile) {
  ReportModel m;
  Load(test::SmallCase(), test::AllPages(), m);
  ReportJob job;
  QString error;
  const std::string path = HomePath("no such folder/r.pdf");
  EXPECT_FALSE(WritePdf(path, job, m, texts_, error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace vesk::report
