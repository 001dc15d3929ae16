// The home-folder commands of vesk-cli, run as a user would run them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "CliRun.h"
#include "support/TempDir.h"

namespace vesk::test {
namespace {

class CliHomeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home = temp / "home";
    const CliRun r = Cli(home, std::string("demo init --data '") + VESK_SOURCE_DIR + "/data'");
    ASSERT_EQ(r.exitCode, 0) << r.out;
  }
  nlohmann::json Show() {
    const CliRun r = Cli(home, "config show");
    EXPECT_EQ(r.exitCode, 0);
    return nlohmann::json::parse(r.out);
  }
  TempDir temp;
  std::string home;
};

TEST_F(CliHomeTest, DemoInitRunsAgainWithoutCopyingAndRefusesBadArguments) {
  EXPECT_TRUE(std::filesystem::is_directory(home + "/data"));
  const CliRun again = Cli(home, std::string("demo init --data '") + VESK_SOURCE_DIR + "/data'");
  EXPECT_EQ(again.exitCode, 0);
  EXPECT_EQ(again.out.find("created"), std::string::npos) << again.out;
  EXPECT_EQ(Cli(home, "demo init").exitCode, 2);
  EXPECT_EQ(Cli(home, "demo init --data '" + temp / "nowhere" + "'").exitCode, 1);
}

TEST_F(CliHomeTest, ConfigShowOfUsersAndReportSets) {
  WriteBytes(home + "/MreConfig.ini",
             "[Previous Config]\r\nLanguage=Chinese\r\nCurrent Config=Bob\r\n"
             "[Config Name List]\r\nCount=2\r\n1=Ann\r\n2=Bob\r\n"
             "[Config Bob]\r\nUse Default Path=0\r\nPatient File Path=/cases/bob\r\n"
             "Low CR=7\r\n[SYSTEM]\r\nISUSEOTHEREXE=1\r\nOTHEREXE=/opt/info\r\n");
  WriteBytes(home + "/Report_Bob.ini",
             "[INFO]\r\ncurrentReportName=Night\r\ncount=2\r\nRP1=Day\r\nRP2=Night\r\n"
             "[Night]\r\nTitle=Night study\r\nSpo2 Page=1\r\nAASI=1\r\n");
  const nlohmann::json j = Show();
  EXPECT_EQ(j["currentUser"], "Bob");
  EXPECT_EQ(j["users"], (nlohmann::json{"Ann", "Bob"}));
  EXPECT_EQ(j["language"], "Chinese");
  EXPECT_EQ(j["settings"]["Patient File Path"], "/cases/bob");
  EXPECT_EQ(j["settings"]["Low CR"], 7);
  EXPECT_EQ(j["settings"]["SpO2CriterialLevel"], 0);
  EXPECT_EQ(j["settings"].size(), 56u);
  EXPECT_EQ(j["reportSets"]["current"], "Night");
  EXPECT_EQ(j["reportSets"]["names"], (nlohmann::json{"Day", "Night"}));
  EXPECT_EQ(j["reportSets"]["currentSet"]["title"], "Night study");
  EXPECT_EQ(j["reportSets"]["currentSet"]["spo2Page"], 1);
  EXPECT_EQ(j["reportSets"]["currentSet"]["aasi"], 1);
  EXPECT_EQ(j["reportSets"]["currentSet"]["pages"]["Demographics Page"], 1);
  EXPECT_EQ(j["system"]["OTHEREXE"], "/opt/info");
}

TEST_F(CliHomeTest, LangCheckPassesTheShippedFilesAndFlagsGaps) {
  const CliRun good = Cli(home, "lang check");
  EXPECT_EQ(good.exitCode, 0) << good.out;
  EXPECT_NE(good.out.find("English.lng: ok"), std::string::npos) << good.out;
  EXPECT_NE(good.out.find("Chinese.lng: ok"), std::string::npos) << good.out;

  // A missing key and an emptied one fail the check; an extra one harms nothing.
  std::string text = ReadBytes(home + "/Language/English.lng") + "\r\n[Unused]\r\nX=x\r\n";
  const size_t at = text.find("IDS_TITLE_RPT=");
  ASSERT_NE(at, std::string::npos);
  text.replace(at, text.find('\n', at) - at, "IDS_TITLE_RPT=\r");
  const size_t hold = text.find("IDS_HOLD_FAULT=");
  ASSERT_NE(hold, std::string::npos);
  text.erase(hold, text.find('\n', hold) - hold + 1);
  WriteBytes(home + "/Language/English.lng", text);
  const CliRun bad = Cli(home, "lang check");
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_NE(bad.out.find("missing [Global Setting] IDS_HOLD_FAULT"), std::string::npos) << bad.out;
  EXPECT_NE(bad.out.find("empty   [Title] IDS_TITLE_RPT"), std::string::npos) << bad.out;
  EXPECT_NE(bad.out.find("extra   [Unused]"), std::string::npos) << bad.out;

  std::filesystem::remove_all(home + "/Language");
  EXPECT_EQ(Cli(home, "lang check").exitCode, 1);
}

}  // namespace
}  // namespace vesk::test
