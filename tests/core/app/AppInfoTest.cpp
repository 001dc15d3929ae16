#include "app/AppInfo.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "app/Shutdown.h"
#include "platform/ProgramDir.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::WriteBytes;

TEST(AppInfoTest, TitleVersionAndEdition) {
  EXPECT_EQ(g_AppTitle, "VESK");
  EXPECT_EQ(g_Version, "V5.3.0-0000-S");
  EXPECT_EQ(g_VersionNumber, "V5.3.0");
  EXPECT_EQ(g_EditionCode, 2);
  EXPECT_EQ(SerialNumberText(), "SN:V5.3.0-0000-S(F)");

  EXPECT_EQ(EditionMark(1), "(C)");
  EXPECT_EQ(EditionMark(2), "(F)");
  EXPECT_EQ(EditionMark(0), "(A)");
  EXPECT_EQ(EditionMark(3), "(A)");
  EXPECT_EQ(DefaultLanguageForEdition(1), "Chinese");
  EXPECT_EQ(DefaultLanguageForEdition(2), "English");
  EXPECT_EQ(DefaultLanguageForEdition(-1), "English");
  EXPECT_EQ(DefaultLanguageForEdition(), "English");
}

class ShutdownTest : public ::testing::Test {
 protected:
  void SetUp() override { SetProgramDir(home_ / "home"); }
  void TearDown() override { SetProgramDir(""); }
  TempDir home_;
};

TEST_F(ShutdownTest, RemovesNestedStartFolderCompletely) {
  WriteBytes(home_ / "home/ZavStart/Rpt.dat", "x");
  WriteBytes(home_ / "home/ZavStart/a/b/c/deep.txt", "y");
  WriteBytes(home_ / "home/ZavStart/.hidden/file", "z");
  fs::create_directories(home_ / "home/ZavStart/empty");
  WriteBytes(home_ / "home/MreConfig.ini", "[Previous Config]\n");
  // A link inside the folder goes with it; what it points at stays.
  WriteBytes(home_ / "outside/keep.txt", "keep");
  fs::create_directory_symlink(home_ / "outside", home_ / "home/ZavStart/link");

  EXPECT_TRUE(RemoveReportStartFolder());
  EXPECT_FALSE(fs::exists(home_ / "home/ZavStart"));
  EXPECT_TRUE(fs::exists(home_ / "home/MreConfig.ini"));
  EXPECT_TRUE(fs::exists(home_ / "outside/keep.txt"));

  // A second run, with the folder gone, is no error.
  EXPECT_TRUE(RemoveReportStartFolder());
}

TEST_F(ShutdownTest, NoProgramFolderRemovesNothing) {
  SetProgramDir("");
  EXPECT_TRUE(RemoveReportStartFolder());
}

}  // namespace
}  // namespace vesk
