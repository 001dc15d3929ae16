#include "app/DemoHome.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/TempDir.h"

namespace vesk::test {
namespace {

namespace fs = std::filesystem;

class DemoHomeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(temp / "src/Language/English.lng", "[Title]\r\nIDS_TITLE_RPT=Report\r\n");
    WriteBytes(temp / "src/Language/Chinese.lng", "[Title]\r\nIDS_TITLE_RPT=x\r\n");
    WriteBytes(temp / "src/Language/README.txt", "not a language");
    WriteBytes(temp / "src/res/Logo.ico", std::string("\0\0\1\0", 4));
    WriteBytes(temp / "src/res/icons/small.png", "png");
    WriteBytes(temp / "src/Help/English.html", "<html>guide</html>");
  }
  std::string Data() const { return temp / "src"; }
  std::string Home() const { return temp / "home"; }
  TempDir temp;
};

TEST_F(DemoHomeTest, FreshHomeGetsLanguagesResourcesAndAnEmptyCaseFolder) {
  const DemoHomeResult r = PrepareDemoHome(Home(), Data());
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(ReadBytes(Home() + "/Language/English.lng"), "[Title]\r\nIDS_TITLE_RPT=Report\r\n");
  EXPECT_TRUE(fs::exists(Home() + "/Language/Chinese.lng"));
  EXPECT_FALSE(fs::exists(Home() + "/Language/README.txt"));
  EXPECT_EQ(ReadBytes(Home() + "/res/Logo.ico"), std::string("\0\0\1\0", 4));
  EXPECT_EQ(ReadBytes(Home() + "/res/icons/small.png"), "png");
  EXPECT_EQ(ReadBytes(Home() + "/Help/English.html"), "<html>guide</html>");
  EXPECT_TRUE(fs::is_directory(Home() + "/data"));
  EXPECT_TRUE(fs::is_empty(Home() + "/data"));
}

TEST_F(DemoHomeTest, PreparingAgainKeepsEverythingTheUserHas) {
  ASSERT_TRUE(PrepareDemoHome(Home(), Data()).ok);
  WriteBytes(Home() + "/Language/English.lng", "[Title]\r\nIDS_TITLE_RPT=My own wording\r\n");
  WriteBytes(Home() + "/data/Ann/case1.awp", "case");
  WriteBytes(Home() + "/MreConfig.ini", "[Previous Config]\r\nCurrent Config=Ann\r\n");
  fs::remove(Home() + "/Language/Chinese.lng");
  fs::remove(Home() + "/res/Logo.ico");

  const DemoHomeResult r = PrepareDemoHome(Home(), Data());
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(ReadBytes(Home() + "/Language/English.lng"),
            "[Title]\r\nIDS_TITLE_RPT=My own wording\r\n");
  EXPECT_EQ(ReadBytes(Home() + "/data/Ann/case1.awp"), "case");
  EXPECT_EQ(ReadBytes(Home() + "/MreConfig.ini"), "[Previous Config]\r\nCurrent Config=Ann\r\n");
  EXPECT_TRUE(fs::exists(Home() + "/Language/Chinese.lng"));
  EXPECT_TRUE(fs::exists(Home() + "/res/Logo.ico"));
  EXPECT_EQ(r.created, (std::vector<std::string>{"Language/Chinese.lng", "res/Logo.ico"}));
}

TEST_F(DemoHomeTest, DataWithoutAGuideStillMakesAHome) {
  fs::remove_all(temp / "src/Help");
  const DemoHomeResult r = PrepareDemoHome(Home(), Data());
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_FALSE(fs::exists(Home() + "/Help"));
}

TEST_F(DemoHomeTest, BadFoldersAreReportedWithoutTouchingAnything) {
  EXPECT_FALSE(PrepareDemoHome(Home(), temp / "nowhere").ok);
  EXPECT_FALSE(fs::exists(Home()));
  WriteBytes(Home() + "/data", "a file named data");
  const DemoHomeResult r = PrepareDemoHome(Home(), Data());
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("not a folder"), std::string::npos) << r.error;
  EXPECT_EQ(ReadBytes(Home() + "/data"), "a file named data");
}

}  // namespace
}  // namespace vesk::test
