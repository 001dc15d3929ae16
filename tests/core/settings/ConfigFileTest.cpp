#include <gtest/gtest.h>

#include <filesystem>

#include "ConfigTestSupport.h"
#include "platform/CodePage.h"
#include "settings/ConfigKeys.h"
#include "settings/SystemSettings.h"

namespace vesk::test {
namespace {

const std::string kThreeUsers =
    "[Previous Config]\r\nCurrent Config=Ann\r\n[Config Name List]\r\nCount=3\r\n1=Ann\r\n"
    "2=Bob\r\n3=Cy\r\n[Config Ann]\r\nLow CR=1\r\nMaxPressValue=250\r\nSpO2MinTime=7\r\n"
    "[Config Bob]\r\nLow CR=2\r\n[Config Cy]\r\nLow CR=3\r\n";

TEST_F(ConfigTest, MissingFileOrUserListGivesDefaultsAndTheDefaultUser) {
  ASSERT_EQ(config->Load(), 1);
  EXPECT_TRUE(std::filesystem::exists(ConfigPath()));
  UserSettings expected = DefaultUserSettings();
  expected.patientFilePath = HomePath("data");
  EXPECT_EQ(config->settings, expected);
  EXPECT_EQ(config->languageName, "English");

  WriteConfig(
      "[Previous Config]\r\nLanguage=English\r\n[Config family]\r\nAwake Sys Thresh=140\r\n");
  ASSERT_EQ(config->Load(), 1);
  EXPECT_TRUE(config->configNames.empty());
  EXPECT_EQ(config->currentConfigName, "family");
  EXPECT_EQ(config->settings.awakeSysThresh, 140);
  EXPECT_EQ(config->caseState.awakeSysThresh, 140);
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ConfigTest, ADamagedUserCountCannotStallLoading) {
  WriteConfig("[Config Name List]\r\nCount=2147483647\r\n1=Ann\r\n2=Bob\r\n");
  config->Load();
  ASSERT_LE(config->configNames.size(), 3u);
  EXPECT_EQ(config->configNames[1], "Bob");
}

TEST_F(ConfigTest, CriterionLevelIsZeroWhenMissingButEightyEightForANewUser) {
  WriteConfig(kThreeUsers);
  config->Load();
  EXPECT_EQ(config->settings.spo2CriterialLevel, 0);
  EXPECT_EQ(config->SelectConfig("Zoe"), 0);
  EXPECT_EQ(config->settings.spo2CriterialLevel, 88);
  EXPECT_EQ(config->settings.spo2MinTime, 2);
  EXPECT_EQ(config->settings.maxPressValue, 250) << "kept from the previous user";
}

TEST_F(ConfigTest, StoredCaseFolderIsUsedOnlyWithoutTheDefaultPath) {
  WriteConfig("[Config family]\r\nUse Default Path=1\r\nPatient File Path=/elsewhere\r\n");
  config->Load();
  EXPECT_EQ(config->settings.patientFilePath, HomePath("data"));
  WriteConfig("[Config family]\r\nUse Default Path=0\r\nPatient File Path=/elsewhere\r\n");
  config->Load();
  EXPECT_EQ(config->settings.patientFilePath, "/elsewhere");
}

TEST_F(ConfigTest, SaveAndLoadRoundTripEveryKeyAndKeepOtherUsers) {
  const std::string other = "[Config Ann]\r\n; notes\r\nAwake Sys Thresh = 150\r\nOdd=\"q\"\r\n";
  WriteConfig(other + "[SYSTEM]\r\nOTHEREXE=/opt/x\r\n");
  config->Load();
  config->currentConfigName = "Dr Lee";
  config->configNames = {"Ann", "Dr Lee", "Bob"};
  config->settings.useDefaultPath = 0;
  config->settings.patientFilePath = "/cases/lee";
  int32_t value = 1000;
  for (const ConfigKey& k : UserConfigKeys()) {
    if (k.intField)
      config->settings.*k.intField = value++;
    else
      config->settings.*k.textField = "text " + std::to_string(value++) + "\r\nsecond line";
  }
  ASSERT_EQ(config->Save(), 1);

  CConfigFile& again = Reloaded();
  EXPECT_EQ(again.currentConfigName, "Dr Lee");
  EXPECT_EQ(again.configNames, config->configNames);
  EXPECT_EQ(again.settings, config->settings);
  EXPECT_NE(ReadBytes(ConfigPath()).find(other), std::string::npos);
  EXPECT_EQ(LoadSystemSettings(ConfigPath()).otherExe, "/opt/x");
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ConfigTest, SaveTakesTheLanguageFromTheReportHandOverFile) {
  config->Load();
  ASSERT_EQ(config->Save(), 1);
  EXPECT_EQ(Read("Previous Config", "Language"), "English");
  ASSERT_TRUE(WriteCnfStartLanguage("Chinese"));
  ASSERT_EQ(config->Save(), 1);
  EXPECT_EQ(Read("Previous Config", "Language"), "Chinese");
}

TEST_F(ConfigTest, CodePageSettingDefaultsToGbkAndSurvivesTheConfigurationSave) {
  EXPECT_EQ(LoadSystemSettings(ConfigPath()).codePage, "GBK");
  WriteConfig("[SYSTEM]\r\nCODEPAGE=\r\n");
  EXPECT_EQ(LoadSystemSettings(ConfigPath()).codePage, "GBK");  // empty means the default
  SystemSettings s;
  s.codePage = "CP1250";
  ASSERT_TRUE(SaveSystemSettings(ConfigPath(), s));
  config->Load();
  ASSERT_EQ(config->Save(), 1);
  EXPECT_EQ(LoadSystemSettings(ConfigPath()), s);

  EXPECT_TRUE(ApplyCodePage(s));
  EXPECT_EQ(codepage::AnsiCodePage(), "CP1250");
  s.codePage = "NO-SUCH-CODEPAGE";
  EXPECT_FALSE(ApplyCodePage(s));
  EXPECT_EQ(codepage::AnsiCodePage(), "CP1250");  // an unknown name changes nothing
  ASSERT_TRUE(codepage::SetAnsiCodePage("GBK"));
}

TEST_F(ConfigTest, PrintSetupDefaultsAndRoundTripBesideTheReportJob) {
  EXPECT_EQ(ReadPrintSetup(), PrintSetup{});
  EXPECT_EQ(ReadPrintSetup().paperSize, 10);
  ASSERT_TRUE(WriteCnfStartLanguage("Chinese"));
  const PrintSetup p{9, 2, "Ward 3 \xE6\x89\x93\xE5\x8D\xB0\xE6\x9C\xBA"};
  ASSERT_TRUE(WritePrintSetup(p));
  EXPECT_EQ(ReadPrintSetup(), p);
  EXPECT_EQ(ReadCnfStartLanguage(), "Chinese");  // the other keys of the file stay
  std::filesystem::remove(CnfStartPath());
  std::filesystem::create_directory(CnfStartPath());
  EXPECT_FALSE(WritePrintSetup(p));
}

TEST_F(ConfigTest, SaveThatCannotWriteTellsAndLeavesTheFile) {
  WriteBytes(HomePath("Language/Test.lng"), "[Global Setting]\r\nIDS_SAVE_FAULT=Not saved\r\n");
  language.ScanLanguageFolder(HomePath("Language"));
  language.SetLanguage("Test");
  ASSERT_TRUE(language.Load());
  config->Load();
  // A folder in the file's place makes the replacement fail.
  std::filesystem::remove(ConfigPath());
  std::filesystem::create_directory(ConfigPath());
  EXPECT_EQ(config->Save(), 0);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, "Not saved");
}

TEST_F(ConfigTest, SelectConfigKeepsReloadsOrCreates) {
  WriteConfig(kThreeUsers);
  config->Load();
  config->settings.highCR = 55;  // unsaved
  EXPECT_EQ(config->SelectConfig("Ann"), 1);
  EXPECT_EQ(config->settings.highCR, 55);

  EXPECT_EQ(config->SelectConfig("  Bob\t"), 1);
  EXPECT_EQ(config->settings.lowCR, 2);
  EXPECT_EQ(Read("Previous Config", "Current Config"), "Bob");
  EXPECT_EQ(config->SelectConfig("Ann"), 1);
  EXPECT_EQ(config->settings.highCR, 20) << "unsaved changes are dropped on a switch";

  config->currentReportName = "Ann's set";
  EXPECT_EQ(config->SelectConfig("Dee"), 0);
  EXPECT_EQ(config->configNames, (std::vector<std::string>{"Ann", "Bob", "Cy", "Dee"}));
  EXPECT_EQ(config->settings.lowCR, 10);
  EXPECT_EQ(config->reportFile, HomePath("Report_Dee.ini"));
  EXPECT_EQ(config->currentReportName, "");
  EXPECT_EQ(Read("Config Dee", "Low CR"), "<missing>") << "written by the next Save";
  EXPECT_EQ(config->SelectConfig("   "), -1);
}

TEST_F(ConfigTest, ChoosingTheUnlistedDefaultUserListsIt) {
  config->Load();
  EXPECT_EQ(config->SelectConfig("family"), 1);
  EXPECT_EQ(config->configNames, std::vector<std::string>{"family"});
}

TEST_F(ConfigTest, DeleteConfigSectionKeepsTheListConsecutive) {
  WriteConfig(kThreeUsers);
  config->Load();
  EXPECT_EQ(config->DeleteConfigSection("Nobody"), 0);
  EXPECT_EQ(config->DeleteConfigSection("Bob"), 1);
  EXPECT_EQ(config->configNames, (std::vector<std::string>{"Ann", "Cy"}));
  EXPECT_EQ(Read("Config Name List", "Count"), "2");
  EXPECT_EQ(Read("Config Name List", "2"), "Cy");
  EXPECT_EQ(Read("Config Name List", "3"), "<missing>");
  EXPECT_EQ(Read("Config Bob", "Low CR"), "<missing>");
  EXPECT_EQ(Read("Config Cy", "Low CR"), "3");
  EXPECT_EQ(Read("Previous Config", "Current Config"), "<missing>");
}

TEST_F(ConfigTest, DeletingTheLastUserEmptiesTheList) {
  WriteConfig(
      "[Previous Config]\r\nLanguage=English\r\nCurrent Config=Ann\r\n"
      "[Config Name List]\r\nCount=1\r\n1=Ann\r\n[Config Ann]\r\nLow CR=1\r\n");
  config->Load();
  config->LoadReportSettings();
  EXPECT_EQ(config->DeleteConfigSection("Ann"), 1);
  EXPECT_TRUE(config->configNames.empty());
  EXPECT_EQ(config->currentConfigName, "");
  EXPECT_EQ(config->reportFile, "");
  CIniFile ini(ConfigPath(), false);
  EXPECT_EQ(ini.SectionNames(), std::vector<std::string>{"Previous Config"});
}

}  // namespace
}  // namespace vesk::test
