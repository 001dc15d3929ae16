#include "app/RunOtherExe.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "app/AppInfo.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

class RecordingWindow : public IMainWindowVisibility {
 public:
  void Hide() override {
    visible = false;
    ++hides;
  }
  void Show() override {
    visible = true;
    ++shows;
  }
  bool visible = true;
  int hides = 0;
  int shows = 0;
};

class RunOtherExeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(dir_ / "English.lng",
               "[SystemSet]\nIDS_PATH_NULL=No program has been set.\n"
               "IDS_PATH_NOEXIST=\"The program does not exist: \"\n");
    ASSERT_TRUE(language_.LoadFile(dir_ / "English.lng"));
  }
  // A script that writes its arguments, one per line, into out.txt beside it.
  std::string WriteArgumentScript(const std::string& name) {
    std::string path = dir_ / name;
    WriteBytes(path,
               "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$1\" \"$2\" > \"$(dirname \"$0\")/out.txt\"\n");
    ::chmod(path.c_str(), 0755);
    return path;
  }
  int Run(const std::string& program, const std::string& a = "", const std::string& b = "") {
    int result = RunOtherExe(program, a, b, language_, sink_, &window_);
    EXPECT_TRUE(window_.visible);
    EXPECT_EQ(window_.hides, window_.shows);
    return result;
  }

  TempDir dir_;
  CLanguage language_;
  RecordingMessageSink sink_;
  RecordingWindow window_;
};

TEST_F(RunOtherExeTest, RunsProgramAndWaitsForItsEnd) {
  EXPECT_EQ(Run("/bin/true"), 1);
  EXPECT_EQ(window_.hides, 1);
  EXPECT_EQ(Run("/bin/false"), 1);  // ran to its end, whatever it returned
  EXPECT_EQ(RunOtherExe("/bin/true", "", "", language_, sink_, nullptr), 1);  // no window
  EXPECT_TRUE(sink_.messages.empty());
}

TEST_F(RunOtherExeTest, ArgumentsArriveIntactAsTwoWords) {
  std::string script = WriteArgumentScript("report prog.sh");  // a blank in the path too
  const std::string first = "C:\\data\\x y\\\"quoted\" $HOME `id`";
  const std::string second = "病例 ; rm -rf /tmp/nothing";
  ASSERT_EQ(Run(script, first, second), 1);
  EXPECT_EQ(ReadBytes(dir_ / "out.txt"), "2\n" + first + "\n" + second + "\n");

  ASSERT_EQ(Run(script, "", ""), 1);  // empty arguments are still two arguments
  EXPECT_EQ(ReadBytes(dir_ / "out.txt"), "2\n\n\n");
}

TEST_F(RunOtherExeTest, RelativeProgramIsTheFileInTheCurrentFolder) {
  WriteArgumentScript("true");  // would lose against /bin/true on a search of PATH
  auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir_.path());
  int result = Run("true", "a", "b");
  std::filesystem::current_path(previous);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(ReadBytes(dir_ / "out.txt"), "2\na\nb\n");
}

TEST_F(RunOtherExeTest, EmptyOrMissingProgramIsReportedAndNothingStarts) {
  EXPECT_EQ(Run(""), 0);
  ASSERT_EQ(sink_.messages.size(), 1u);
  EXPECT_EQ(sink_.messages[0].text, "No program has been set.");
  EXPECT_EQ(sink_.messages[0].icon, MessageIcon::Error);
  EXPECT_EQ(sink_.messages[0].title, g_AppTitle);

  std::string missing = dir_ / "Rpt.exe";
  EXPECT_EQ(Run(missing), 0);
  ASSERT_EQ(sink_.messages.size(), 2u);
  EXPECT_EQ(sink_.messages[1].text, "The program does not exist: " + missing + "\r\n");
  EXPECT_EQ(window_.hides, 2);

  // A folder is not a program file either.
  EXPECT_EQ(Run(dir_.path()), 0);
  EXPECT_EQ(sink_.messages.size(), 3u);
}

TEST_F(RunOtherExeTest, ProgramThatCannotStartReturnsZeroWithoutMessage) {
  std::string notExecutable = dir_ / "data.txt";
  WriteBytes(notExecutable, "just text\n");
  ::chmod(notExecutable.c_str(), 0644);  // without an execute bit even root cannot run it
  EXPECT_EQ(Run(notExecutable), 0);
  EXPECT_TRUE(sink_.messages.empty());
}

}  // namespace
}  // namespace vesk
