#include <gtest/gtest.h>

#include "ConfigTestSupport.h"
#include "settings/ConfigKeys.h"

namespace vesk::test {
namespace {

class ReportSetTest : public ConfigTest {
 protected:
  void SetUp() override {
    ConfigTest::SetUp();
    config->Load();
    config->LoadReportSettings();
  }
  std::string Key(const std::string& section, const std::string& key) {
    return ReadReport("family", section, key);
  }
  void AddSets(std::initializer_list<const char*> names) {
    for (const char* n : names) {
      ASSERT_EQ(config->AddReportSection(n), 1);
      config->report.title = std::string("Title of ") + n;
      ASSERT_EQ(config->SaveReportSection(n), 1);
    }
  }
};

TEST_F(ReportSetTest, DeletingAMiddleSetKeepsTheKeysConsecutive) {
  AddSets({"A", "B", "C", "D"});
  EXPECT_EQ(config->AddReportSection("A"), 1);
  EXPECT_EQ(config->reportNames.size(), 4u) << "a listed name is not added again";
  ASSERT_EQ(config->SetCurReportSettings("B"), 1);
  EXPECT_EQ(config->DeleteReportSection("X"), 0);
  EXPECT_EQ(config->DeleteReportSection("B"), 1);
  EXPECT_EQ(config->reportNames, (std::vector<std::string>{"A", "C", "D"}));
  EXPECT_EQ(Key("INFO", "count"), "3");
  EXPECT_EQ(Key("INFO", "RP1"), "A");
  EXPECT_EQ(Key("INFO", "RP2"), "C");
  EXPECT_EQ(Key("INFO", "RP3"), "D");
  EXPECT_EQ(Key("INFO", "RP4"), "<missing>");
  EXPECT_EQ(Key("B", "Title"), "<missing>");
  EXPECT_EQ(Key("INFO", "currentReportName"), "B") << "a deleted current set stays named";
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ReportSetTest, DeletingTheOnlySetLeavesNoCurrentSet) {
  AddSets({"Only"});
  ASSERT_EQ(config->SetCurReportSettings("Only"), 1);
  EXPECT_EQ(config->DeleteReportSection("Only"), 1);
  EXPECT_EQ(Key("INFO", "currentReportName"), "");
  EXPECT_EQ(Key("INFO", "count"), "0");
  // The save at exit must not bring it back.
  ASSERT_EQ(config->SaveReportSettings(), 1);
  EXPECT_EQ(Key("Only", "Title"), "<missing>");
  EXPECT_EQ(config->LoadReportSettings(), 0);
}

TEST_F(ReportSetTest, TheTwoLoadsDifferOnlyInTheHourlyPage) {
  WriteBytes(HomePath("Report_family.ini"),
             "[INFO]\r\ncurrentReportName=Bare\r\ncount=1\r\nRP1=Bare\r\n[Bare]\r\n");
  ASSERT_EQ(config->LoadReportSettings(), 1);
  const ReportSettings settingsLoad = config->report;
  ASSERT_EQ(config->LoadReportSection("Bare"), 1);
  ReportSettings sectionLoad = config->report;

  EXPECT_EQ(settingsLoad.title, "Blood Pressure Report");
  EXPECT_EQ(settingsLoad.pages, kDefaultReportPages);
  EXPECT_FALSE(settingsLoad.Spo2PagePresent());
  EXPECT_EQ(sectionLoad.pages[kHourlySummaryPage], 1);
  sectionLoad.pages[kHourlySummaryPage] = 0;
  EXPECT_EQ(sectionLoad, settingsLoad);
}

TEST_F(ReportSetTest, SettingsRoundTripAndAnUnchosenSpo2PageIsRemoved) {
  AddSets({"One", "Two"});
  config->currentReportName = "Two";
  config->report.pages = {0, 1, 1, 0, 0, 1, 0, 1, 1, 0, 0, 1};
  config->report.spo2Page = 3;
  config->report.morningSurge = 1;
  ASSERT_EQ(config->SaveReportSettings(), 1);

  CConfigFile& again = Reloaded();
  ASSERT_EQ(again.LoadReportSettings(), 1);
  EXPECT_EQ(again.currentReportName, "Two");
  EXPECT_EQ(again.reportNames, (std::vector<std::string>{"One", "Two"}));
  EXPECT_EQ(again.report, config->report);

  again.report.spo2Page = -1;
  ASSERT_EQ(again.SaveReportSettings(), 1);
  EXPECT_EQ(Key("Two", "Spo2 Page"), "<missing>");
}

TEST_F(ReportSetTest, SetsWithoutACurrentOneSurviveRestarts) {
  AddSets({"Kept"});
  for (int restart = 0; restart < 2; ++restart) {
    CConfigFile& again = Reloaded();
    EXPECT_EQ(again.LoadReportSettings(), 0);
    EXPECT_EQ(again.reportNames, std::vector<std::string>{"Kept"});
    ASSERT_EQ(again.SaveReportSettings(), 1);
  }
}

TEST_F(ReportSetTest, ChoosingTheCurrentSetLoadsItAndOutlivesTheExitSave) {
  AddSets({"A", "B"});
  ASSERT_EQ(config->SetCurReportSettings("A"), 1);
  EXPECT_EQ(config->report.title, "Title of A");
  ASSERT_EQ(config->SaveReportSettings(), 1);
  EXPECT_EQ(Key("INFO", "currentReportName"), "A");
  EXPECT_EQ(Key("A", "Title"), "Title of A");
}

TEST_F(ReportSetTest, UserNamesCannotLeadOutOfTheProgramFolder) {
  EXPECT_EQ(ReportFilePath("../../etc/x"), HomePath("Report_.._.._etc_x.ini"));
  EXPECT_EQ(ReportFilePath("a\\b"), HomePath("Report_a_b.ini"));
}

}  // namespace
}  // namespace vesk::test
