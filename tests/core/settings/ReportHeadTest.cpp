#include "settings/ReportHead.h"

#include <gtest/gtest.h>

#include "ConfigTestSupport.h"

namespace vesk::test {
namespace {

OleDateTime At(int day, int hour, int minute) {
  return OleDateTime::FromParts(2024, 3, day, hour, minute);
}

TEST(RecordingLengthTest, OneToSeventyTwoWholeHoursIsTheShortLayout) {
  const OleDateTime start = At(1, 8, 0);
  EXPECT_EQ(RecordingLengthFlag(100, start, At(4, 8, 59)), 0);  // 72 h 59 min
  EXPECT_EQ(RecordingLengthFlag(100, start, At(4, 9, 0)), 1);   // 73 h
  EXPECT_EQ(RecordingLengthFlag(100, start, At(1, 8, 59)), 1);  // under an hour
  EXPECT_EQ(RecordingLengthFlag(100, start, At(1, 9, 0)), 0);   // exactly one hour
  EXPECT_EQ(RecordingLengthFlag(1, start, At(2, 8, 0)), 1);     // a single reading
  EXPECT_EQ(RecordingLengthFlag(100, At(2, 8, 0), start), 1);   // reversed
  // A full hour stored a hair short still counts; before the epoch the fraction is the time
  // of day (06:00 to 18:00 on 29 December 1899).
  EXPECT_EQ(WholeHoursBetween({10.0, 0}, {10.0 + 1.0 / 24.0 - 1e-9, 0}), 1);
  EXPECT_EQ(WholeHoursBetween({-1.25, 0}, {-1.75, 0}), 12);
}

TEST_F(ConfigTest, ReportHeadFollowsTheCurrentSetAndTheCase) {
  WriteBytes(HomePath("Language/Test.lng"), "[Title]\r\nIDS_TITLE_RPT=ABPM Report\r\n");
  language.ScanLanguageFolder(HomePath("Language"));
  language.SetLanguage("Test");
  ASSERT_TRUE(language.Load());
  ReportCaseFacts facts{true, 50, At(1, 8, 0), At(2, 8, 0)};
  config->currentReportName = "Set";
  config->report.title = "Clinic report";
  config->report.pages = {1, 0, 2, 0, -1, 0, 0, 0, 0, 0, 1, 0};
  config->report.aasi = 1;
  config->report.morningSurge = 1;

  ReportHead head = MakeReportHead(*config, language, facts);
  EXPECT_EQ(head.pages, (std::array<int32_t, 13>{1, 0, 1, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0}));
  EXPECT_EQ(head.spo2Variant, -1) << "no \"Spo2 Page\": never the SpO2 page";
  EXPECT_EQ(head.title, "Clinic report");
  EXPECT_EQ(head.aasi + head.smoothIndex * 2 + head.morningSurge * 4, 5);
  EXPECT_EQ(head.recordingLength, 0);

  config->report.spo2Page = 2;
  head = MakeReportHead(*config, language, facts);
  EXPECT_EQ(head.pages[kSpo2ReportPage], 1);
  EXPECT_EQ(head.spo2Variant, 2);

  facts.hasSpO2 = false;
  config->currentReportName = "";
  head = MakeReportHead(*config, language, facts);
  EXPECT_EQ(head.pages[kSpo2ReportPage], 0);
  EXPECT_EQ(head.spo2Variant, -1);
  EXPECT_EQ(head.title, "ABPM Report");
}

}  // namespace
}  // namespace vesk::test
