// The preview window driven as a user drives it: its pages, zoom and Save as PDF.
#include <gtest/gtest.h>

#include <QtGui/QAction>
#include <QtPrintSupport/QPrintPreviewWidget>
#include <QtWidgets/QApplication>
#include <cstdlib>
#include <filesystem>

#include "PreviewWindow.h"
#include "ReportPages.h"
#include "ReportTestApp.h"
#include "core/reports/ReportTestData.h"
#include "reports/ReportFiles.h"
#include "support/HomeFixture.h"

namespace vesk::report {
namespace {

class PreviewWindowTest : public test::HomeFixture {
 protected:
  void SetUp() override {
    HomeFixture::SetUp();
    TestApp();
    ASSERT_TRUE(texts_.Load("English"));
    CLanguage language;
    test::LoadEnglish(language);
    ReportHead head = test::AllPages();
    head.pages[PageIndex(ReportPageId::SpO2)] = 0;
    const ReportData d =
        BuildReportData(ReportCaseOf(test::SmallCase()), head, ReportOptions{}, language);
    ASSERT_TRUE(WriteReportFiles(HomePath("ZavStart"), d).ok);
    std::string error;
    ASSERT_TRUE(LoadReportModel(HomePath("ZavStart"), model_, error)) << error;
    job_.paperSize = 9;
  }
  ReportTexts texts_;
  ReportModel model_;
  ReportJob job_;
};

TEST_F(PreviewWindowTest, ShowsEveryPageZoomsAndSavesAPdf) {
  PreviewWindow window(job_, model_, texts_);
  window.show();
  QPrintPreviewWidget* pages = window.findChild<QPrintPreviewWidget*>("pages");
  ASSERT_NE(pages, nullptr);
  pages->updatePreview();
  QApplication::processEvents();
  EXPECT_EQ(pages->pageCount(), 12);  // every page but SpO2, each on one sheet

  for (const char* name :
       {"previous", "next", "zoomIn", "zoomOut", "fitWidth", "print", "savePdf", "close"})
    EXPECT_NE(window.findChild<QAction*>(name), nullptr) << name;
  pages->setZoomMode(QPrintPreviewWidget::CustomZoom);
  pages->setZoomFactor(1.0);
  window.findChild<QAction*>("zoomIn")->trigger();
  EXPECT_GT(pages->zoomFactor(), 1.0);
  window.findChild<QAction*>("next")->trigger();
  EXPECT_EQ(pages->currentPage(), 2);

  // VESK_REPORT_SHOTS=/dir keeps a picture of the window for a look.
  if (const char* shots = std::getenv("VESK_REPORT_SHOTS"))
    window.grab().save(QString::fromUtf8(shots) + QStringLiteral("/preview.png"));

  const std::string copy = HomePath("copy.pdf");
  EXPECT_TRUE(window.SaveAs(QString::fromStdString(copy)));
  EXPECT_GT(std::filesystem::file_size(copy), 1000u);
  window.findChild<QAction*>("close")->trigger();
  EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace vesk::report
