#include "platform/ProgramDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace vesk {
namespace {

// Runs ResolveProgramDir over a command line and returns the arguments it left.
std::vector<std::string> Resolve(std::vector<std::string> args, std::string& dir) {
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  int argc = static_cast<int>(args.size());
  dir = ResolveProgramDir(argc, argv.data());
  EXPECT_EQ(argv[argc], nullptr);
  return std::vector<std::string>(argv.begin(), argv.begin() + argc);
}

class ProgramDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = GetProgramDir();
    const char* env = std::getenv("VESK_HOME");
    hadEnv_ = env != nullptr;
    if (env) savedEnv_ = env;
  }
  void TearDown() override {
    SetProgramDir(saved_);
    if (hadEnv_)
      ::setenv("VESK_HOME", savedEnv_.c_str(), 1);
    else
      ::unsetenv("VESK_HOME");
  }
  std::string saved_, savedEnv_;
  bool hadEnv_ = false;
};

TEST_F(ProgramDirTest, HomeOptionThenEnvironmentThenExecutableFolder) {
  ::setenv("VESK_HOME", "/env/home", 1);
  std::string dir;
  EXPECT_EQ(Resolve({"prog", "config", "--home", "/opt/vesk/", "show"}, dir),
            (std::vector<std::string>{"prog", "config", "show"}));
  EXPECT_EQ(dir, "/opt/vesk");
  EXPECT_EQ(Resolve({"prog", "--home=/a/./b"}, dir), (std::vector<std::string>{"prog"}));
  EXPECT_EQ(dir, "/a/b");
  EXPECT_EQ(Resolve({"prog", "x"}, dir), (std::vector<std::string>{"prog", "x"}));
  EXPECT_EQ(dir, "/env/home");
  ::setenv("VESK_HOME", "", 1);
  Resolve({"prog", "--home"}, dir);  // a dangling option names no folder
  EXPECT_FALSE(dir.empty());
  EXPECT_NE(dir, "/env/home");
}

TEST_F(ProgramDirTest, BackslashNamesBecomePaths) {
  SetProgramDir("/srv/vesk//");
  EXPECT_EQ(GetProgramDir(), "/srv/vesk");
  EXPECT_EQ(ProgramPath("\\MreConfig.ini"), "/srv/vesk/MreConfig.ini");
  EXPECT_EQ(ProgramPath("\\Language\\English.lng"), "/srv/vesk/Language/English.lng");
  EXPECT_EQ(ProgramPath("Cnf.start"), "/srv/vesk/Cnf.start");
  EXPECT_EQ(JoinPath("/a/", "\\b"), "/a/b");
  EXPECT_EQ(JoinPath("/a", "b/c"), "/a/b/c");
}

}  // namespace
}  // namespace vesk
